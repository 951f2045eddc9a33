// Program entry: restricts where libraries are loaded from, then hands the show command to the application.
#include <windows.h>

#include "app/application.h"
#include "ui/system_libraries.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
  lumivex::ui::syslib::restrictLibrarySearchToSystemFolder();
  return lumivex::app::run(showCommand);
}
