// Registering the program to start at logon, one way at a time: the shortcut in the Startup folder or the logon
// task; and removing both. Used by the start-up registration dialog and by the command line.
#pragma once
#include <string>

#include <windows.h>

#include "core/command_line.h"

namespace lumivex::startup {

struct Target {
  std::wstring exePath;   // the program to start
  bool allUsers = false;  // every user of the PC (needs administrator rights) instead of the current user
  HWND owner = nullptr;   // the window the shell may show its own messages over
};

// Registers `way` and removes the other way. On failure raises ui::AppError with the system's text and leaves
// what was registered before as it was. COM must be initialised on the calling thread.
void registerWay(core::StartupWay way, const Target& target);

// Removes the shortcut and the task, whichever exist; raises ui::AppError when one of them stays.
void unregisterAll(const Target& target);

// Whether the process runs with administrator rights (elevated, where the system has user account control).
bool hasAdministratorRights();

}  // namespace lumivex::startup
