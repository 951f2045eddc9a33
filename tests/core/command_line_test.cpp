// Tests of the command line: the operations it names, and what falls to the usage text.
#include "core/command_line.h"

#include <gtest/gtest.h>

namespace lumivex::core {
namespace {

using Kind = Command::Kind;

TEST(ParseCommandLine, NoArgumentsIsTheNormalRun) {
  EXPECT_EQ(parseCommandLine({}).kind, Kind::Run);
  EXPECT_EQ(parseCommandLine({L"", L"  "}).kind, Kind::Run) << "blank arguments are ignored";
}

TEST(ParseCommandLine, RegisterUnregisterAndAllUsersInAnyCaseWithSlashOrDash) {
  struct Case {
    std::vector<std::wstring> arguments;
    Kind kind;
    StartupWay way;
    bool allUsers;
  };
  const Case cases[] = {
      {{L"/register", L"startup"}, Kind::Register, StartupWay::ShortcutInStartupFolder, false},
      {{L"/register", L"task"}, Kind::Register, StartupWay::LogonTask, false},
      {{L"-REGISTER", L"Task"}, Kind::Register, StartupWay::LogonTask, false},
      {{L"/Register", L"STARTUP", L"-AllUsers"}, Kind::Register, StartupWay::ShortcutInStartupFolder, true},
      {{L"/register", L"task", L"/allusers"}, Kind::Register, StartupWay::LogonTask, true},
      {{L"/unregister"}, Kind::Unregister, StartupWay::ShortcutInStartupFolder, false},
      {{L"-UNREGISTER", L"", L"/allusers"}, Kind::Unregister, StartupWay::ShortcutInStartupFolder, true},
  };
  for (const Case& c : cases) {
    const Command command = parseCommandLine(c.arguments);
    EXPECT_EQ(command.kind, c.kind) << c.arguments[0];
    if (c.kind == Kind::Register) {
      EXPECT_EQ(command.way, c.way) << c.arguments[1];
    }
    EXPECT_EQ(command.allUsers, c.allUsers) << c.arguments.back();
  }
}

TEST(ParseCommandLine, AnythingElseIsUsage) {
  const std::vector<std::wstring> cases[] = {
      {L"/register"},                              // no way
      {L"/register", L"shortcut"},                 // unknown way
      {L"/register", L"/task"},                    // the way is a word, not a switch
      {L"register", L"task"},                      // no switch character
      {L"/unregister", L"task"},                   // unregister removes both, names none
      {L"/register", L"task", L"/allusers", L"/allusers"},
      {L"/allusers"},                              // a modifier alone
      {L"/allusers", L"/unregister"},              // the modifier comes last
      {L"/"}, {L"-"}, {L"/?"}, {L"/h"},
      {L"/ｒｅｇｉｓｔｅｒ", L"task"},             // full-width letters are no switch
      {L"C:\\pictures\\logo.bmp"},                 // a dropped file
  };
  for (const auto& arguments : cases)
    EXPECT_EQ(parseCommandLine(arguments).kind, Kind::Usage) << arguments[0] << L" " << arguments.size();
}

TEST(UsageText, NamesTheProgramAndEveryOperation) {
  const std::wstring text = usageText(L"logo.exe");
  for (const wchar_t* part : {L"logo.exe /register startup", L"logo.exe /register task", L"logo.exe /unregister",
                              L"/allusers"})
    EXPECT_NE(text.find(part), std::wstring::npos) << part;
}

}  // namespace
}  // namespace lumivex::core
