// The logon task that starts the program right at logon: its name and its Task Scheduler definition.
#include "core/logon_task.h"

#include "core/paths.h"

namespace lumivex::core {

std::wstring xmlEscaped(const std::wstring& text) {
  std::wstring out;
  out.reserve(text.size());
  for (wchar_t c : text) {
    switch (c) {
      case L'&': out += L"&amp;"; break;
      case L'<': out += L"&lt;"; break;
      case L'>': out += L"&gt;"; break;
      case L'"': out += L"&quot;"; break;
      case L'\'': out += L"&apos;"; break;
      default: out += c; break;
    }
  }
  return out;
}

std::wstring logonTaskNameFor(const std::wstring& exeFileName, const LogonTaskPrincipal& principal) {
  std::wstring stem = fileNamePart(exeFileName);
  if (const auto dot = stem.rfind(L'.'); dot != std::wstring::npos) stem.erase(dot);
  return stem + L"-" + (principal.allUsers() ? std::wstring(L"AllUsers") : principal.userSid);
}

std::wstring logonTaskXml(const std::wstring& exePath, const LogonTaskPrincipal& principal) {
  const std::wstring trigger =
      principal.allUsers() ? L"" : L"      <UserId>" + xmlEscaped(principal.userSid) + L"</UserId>\n";
  const std::wstring who = principal.allUsers()
                               ? std::wstring(L"      <GroupId>") + kUsersGroupSid + L"</GroupId>\n"
                               : L"      <UserId>" + xmlEscaped(principal.userSid) + L"</UserId>\n"
                                 L"      <LogonType>InteractiveToken</LogonType>\n";
  return L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n"
         L"<Task version=\"1.2\" xmlns=\"http://schemas.microsoft.com/windows/2004/02/mit/task\">\n"
         L"  <RegistrationInfo>\n"
         L"    <Description>" + xmlEscaped(fileNamePart(exePath)) + L" をログオン時に起動してロゴを表示します</Description>\n"
         L"  </RegistrationInfo>\n"
         L"  <Triggers>\n"
         L"    <LogonTrigger>\n"
         L"      <Enabled>true</Enabled>\n" +
         trigger +
         L"    </LogonTrigger>\n"
         L"  </Triggers>\n"
         L"  <Principals>\n"
         L"    <Principal id=\"Author\">\n" +
         who +
         L"      <RunLevel>LeastPrivilege</RunLevel>\n"
         L"    </Principal>\n"
         L"  </Principals>\n"
         L"  <Settings>\n"
         L"    <MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy>\n"
         L"    <DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>\n"
         L"    <StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>\n"
         L"    <AllowHardTerminate>true</AllowHardTerminate>\n"
         L"    <StartWhenAvailable>false</StartWhenAvailable>\n"
         L"    <AllowStartOnDemand>true</AllowStartOnDemand>\n"
         L"    <Enabled>true</Enabled>\n"
         L"    <Hidden>false</Hidden>\n"
         L"    <ExecutionTimeLimit>" + kLogonTaskTimeLimit + L"</ExecutionTimeLimit>\n"
         L"    <Priority>" + std::to_wstring(kLogonTaskPriority) + L"</Priority>\n"
         L"  </Settings>\n"
         L"  <Actions Context=\"Author\">\n"
         L"    <Exec>\n"
         L"      <Command>" + xmlEscaped(exePath) + L"</Command>\n"
         L"      <WorkingDirectory>" + xmlEscaped(programFolderOf(exePath)) + L"</WorkingDirectory>\n"
         L"    </Exec>\n"
         L"  </Actions>\n"
         L"</Task>\n";
}

}  // namespace lumivex::core
