// The program's command line: what the arguments after the program's name ask for.
#pragma once

#include <string>
#include <vector>

namespace lumivex::core {

// How the program is started at logon.
enum class StartupWay { ShortcutInStartupFolder, LogonTask };

struct Command {
  enum class Kind {
    Run,         // no arguments: the splash, or the option dialog on a first run
    Register,    // register `way` and remove the other way
    Unregister,  // remove both ways
    Usage,       // anything else: show how to use the command line
  };
  Kind kind = Kind::Run;
  StartupWay way = StartupWay::ShortcutInStartupFolder;
  bool allUsers = false;  // every user of the PC instead of the current one
};

// `/register startup`, `/register task`, `/unregister`, each optionally followed by `/allusers`. Switches and
// words are case-insensitive and "-" stands for "/". Blank arguments (as a script's empty variable gives) are
// ignored. Anything else, including a repeated switch, is Usage.
Command parseCommandLine(const std::vector<std::wstring>& arguments);

// The usage text the message box shows for `programName` (the executable's file name).
std::wstring usageText(const std::wstring& programName);

// Process exit codes of the command-line operations.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

}  // namespace lumivex::core
