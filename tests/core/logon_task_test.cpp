// Tests of the logon task's name and XML definition: trigger, principal, settings and action.
#include "core/logon_task.h"

#include <gtest/gtest.h>

namespace lumivex::core {
namespace {

// The text between <tag> and </tag> at its first occurrence, or "<missing>".
std::wstring element(const std::wstring& xml, const std::wstring& tag) {
  const std::wstring open = L"<" + tag + L">", close = L"</" + tag + L">";
  const auto start = xml.find(open);
  if (start == std::wstring::npos) return L"<missing>";
  const auto end = xml.find(close, start);
  return xml.substr(start + open.size(), end - start - open.size());
}

const LogonTaskPrincipal kUser{L"S-1-5-21-1004336348-1177238915-682003330-1001"};
const LogonTaskPrincipal kEveryUser{};

TEST(LogonTaskName, FollowsTheExecutableAndKeepsUsersApart) {
  EXPECT_EQ(logonTaskNameFor(L"lumivex.exe", kUser), L"lumivex-S-1-5-21-1004336348-1177238915-682003330-1001");
  EXPECT_EQ(logonTaskNameFor(L"C:\\Tools\\a.b.EXE", kUser), L"a.b-" + kUser.userSid);
  EXPECT_EQ(logonTaskNameFor(L"nodots", kUser), L"nodots-" + kUser.userSid);
  EXPECT_EQ(logonTaskNameFor(L"lumivex.exe", kEveryUser), L"lumivex-AllUsers");
  EXPECT_NE(logonTaskNameFor(L"lumivex.exe", kUser), logonTaskNameFor(L"renamed.exe", kUser));
  EXPECT_NE(logonTaskNameFor(L"lumivex.exe", kUser), logonTaskNameFor(L"lumivex.exe", {L"S-1-5-21-9-9-9-1002"}));
}

TEST(LogonTaskXml, ForTheUserALogonTriggerWithoutDelayAndTheInteractiveTokenWithLeastPrivilege) {
  const std::wstring xml = logonTaskXml(L"C:\\Tools\\lumivex.exe", kUser);
  EXPECT_EQ(xml.rfind(L"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<Task version=\"1.2\"", 0), 0u);
  const std::wstring trigger = element(xml, L"LogonTrigger");
  EXPECT_EQ(element(trigger, L"UserId"), kUser.userSid);
  EXPECT_EQ(element(trigger, L"Enabled"), L"true");
  EXPECT_EQ(trigger.find(L"Delay"), std::wstring::npos);
  EXPECT_EQ(xml.find(L"<BootTrigger>"), std::wstring::npos);
  const std::wstring principal = element(xml, L"Principals");
  EXPECT_EQ(element(principal, L"UserId"), kUser.userSid);
  EXPECT_EQ(element(principal, L"LogonType"), L"InteractiveToken");
  EXPECT_EQ(element(principal, L"RunLevel"), L"LeastPrivilege");
  EXPECT_EQ(principal.find(L"GroupId"), std::wstring::npos);
}

TEST(LogonTaskXml, ForEveryUserAnyLogonStartsItInTheUsersGroup) {
  const std::wstring xml = logonTaskXml(L"C:\\Program Files\\Lumivex\\lumivex.exe", kEveryUser);
  EXPECT_EQ(element(element(xml, L"LogonTrigger"), L"UserId"), L"<missing>") << "no user: any user's logon";
  const std::wstring principal = element(xml, L"Principals");
  EXPECT_EQ(element(principal, L"GroupId"), L"S-1-5-32-545");
  EXPECT_EQ(element(principal, L"UserId"), L"<missing>");
  EXPECT_EQ(element(principal, L"RunLevel"), L"LeastPrivilege");
}

TEST(LogonTaskXml, SettingsAndAction) {
  for (const LogonTaskPrincipal& who : {kUser, kEveryUser}) {
    const std::wstring xml = logonTaskXml(L"D:\\Logo & Co\\<x>'s\\lumivex.exe", who);
    const std::wstring settings = element(xml, L"Settings");
    EXPECT_EQ(element(settings, L"Priority"), L"4");
    EXPECT_EQ(element(settings, L"DisallowStartIfOnBatteries"), L"false");
    EXPECT_EQ(element(settings, L"StopIfGoingOnBatteries"), L"false");
    EXPECT_EQ(element(settings, L"MultipleInstancesPolicy"), L"IgnoreNew");
    EXPECT_EQ(element(settings, L"ExecutionTimeLimit"), L"PT1H");
    EXPECT_EQ(element(settings, L"Enabled"), L"true");
    const std::wstring exec = element(xml, L"Exec");
    EXPECT_EQ(element(exec, L"Command"), L"D:\\Logo &amp; Co\\&lt;x&gt;&apos;s\\lumivex.exe");
    EXPECT_EQ(element(exec, L"WorkingDirectory"), L"D:\\Logo &amp; Co\\&lt;x&gt;&apos;s");
    EXPECT_EQ(element(exec, L"Arguments"), L"<missing>");
  }
  EXPECT_EQ(element(element(logonTaskXml(L"C:\\lumivex.exe", kUser), L"Exec"), L"WorkingDirectory"), L"C:\\");
}

}  // namespace
}  // namespace lumivex::core
