// The program's shortcut in the Startup folder of the user, or of every user.
#pragma once
#include <string>

#include <windows.h>

namespace lumivex::startup {

class StartupShortcut {
 public:
  // The shortcut named after `exePath` ("lumivex.exe" → "lumivex.lnk") in the user's Startup folder, or in the
  // Startup folder of every user.
  StartupShortcut(std::wstring exePath, bool allUsers, HWND owner);

  // Writes (or replaces) the shortcut: the executable, no arguments, its folder as the working folder.
  void write() const;
  bool exists() const;
  // Deletes the shortcut; one that is not there, or a Startup folder that is not there, is no failure.
  void remove() const;

 private:
  std::string folder(bool mustExist) const;  // the Startup folder in the ANSI code page, "" when there is none
  std::string path(const std::string& folder) const;
  std::wstring exePath_;
  bool allUsers_;
  HWND owner_;
};

}  // namespace lumivex::startup
