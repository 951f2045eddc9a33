// The logon task that starts the program right at logon: its name and its Task Scheduler definition.
#pragma once

#include <string>

namespace lumivex::core {

// Who the task starts the program for.
struct LogonTaskPrincipal {
  // The user's security identifier ("S-1-5-21-…"), or "" for every user of the PC (the Users group).
  std::wstring userSid;
  bool allUsers() const { return userSid.empty(); }
};

// The security identifier of the Users group, under which the task for every user runs.
inline constexpr wchar_t kUsersGroupSid[] = L"S-1-5-32-545";

// The task's name in the Task Scheduler's root folder: the executable's file name without its extension, then
// "-" and the user's identifier ("lumivex-S-1-5-21-…"), or "-AllUsers" for the task of every user. The root folder
// is shared by all users of the PC, so the identifier keeps each user's task apart; it never changes when the
// account is renamed, and it holds no character a task name refuses.
std::wstring logonTaskNameFor(const std::wstring& exeFileName, const LogonTaskPrincipal& principal);

// The upper bound of a run the Task Scheduler enforces: well above the longest display time, and long enough for
// the option dialog that a double-click on the logo opens.
inline constexpr wchar_t kLogonTaskTimeLimit[] = L"PT1H";
inline constexpr int kLogonTaskPriority = 4;  // the highest of the levels meant for interactive programs

// The task's XML definition (Task Scheduler schema 1.2): a logon trigger without delay for the user (or any user),
// the interactive token with least privilege, priority 4, running on battery, a second instance ignored, the time
// limit above, and the executable started in its program folder.
std::wstring logonTaskXml(const std::wstring& exePath, const LogonTaskPrincipal& principal);

// Text with "&", "<", ">", '"' and "'" written as XML character references.
std::wstring xmlEscaped(const std::wstring& text);

}  // namespace lumivex::core
