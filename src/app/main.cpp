// Program entry: restricts where libraries are loaded from, then hands the show command and the arguments to the
// application.
#include <cstdlib>
#include <string>
#include <vector>

#include <windows.h>

#include "app/application.h"
#include "ui/system_libraries.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
  lumivex::ui::syslib::restrictLibrarySearchToSystemFolder();
  // The runtime splits the command line by the system's rules; the program's own name comes first.
  const std::vector<std::wstring> arguments(__wargv + (__argc > 0 ? 1 : 0), __wargv + __argc);
  return lumivex::app::run(showCommand, arguments);
}
