// Program entry: hands the show command to the application.
#include <windows.h>

#include "app/application.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) { return lumivex::app::run(showCommand); }
