// Tests of the path rules.
#include "core/paths.h"

#include <gtest/gtest.h>

namespace lumivex::core {
namespace {

struct PathCase {
  const wchar_t* input;
  const wchar_t* expected;
};

TEST(SettingsPathFor, ReplacesOrAppendsTheExtension) {
  const PathCase cases[] = {
      {L"C:\\Tools\\splash.exe", L"C:\\Tools\\splash.ini"},
      {L"C:\\splash.exe", L"C:\\splash.ini"},
      {L"C:\\Tools\\a.b.exe", L"C:\\Tools\\a.b.ini"},
      {L"C:\\a.b\\prog", L"C:\\a.b\\prog.ini"},
      {L"C:\\a.b\\prog.", L"C:\\a.b\\prog.ini"},
      {L"C:prog", L"C:prog.ini"},
      {L"C:prog.exe", L"C:prog.ini"},
      {L"D:.\\prog", L"D:.\\prog.ini"},
      {L"\\\\server\\share.x\\prog.EXE", L"\\\\server\\share.x\\prog.ini"},
      {L"prog.exe", L"prog.ini"},
  };
  for (const auto& c : cases) EXPECT_EQ(settingsPathFor(c.input), c.expected) << c.input;
}

TEST(ProgramFolderOf, DropsTheSeparatorExceptAtADriveRoot) {
  const PathCase cases[] = {
      {L"C:\\Tools\\splash.exe", L"C:\\Tools"},
      {L"D:\\Apps\\Logo\\lumivex.exe", L"D:\\Apps\\Logo"},
      {L"C:\\splash.exe", L"C:\\"},
      {L"\\\\server\\share\\prog.exe", L"\\\\server\\share"},
      {L"\\\\?\\C:\\prog.exe", L"\\\\?\\C:\\"},
      {L"\\prog.exe", L"\\"},
      {L"C:prog.exe", L"C:"},
      {L"prog.exe", L""},
  };
  for (const auto& c : cases) EXPECT_EQ(programFolderOf(c.input), c.expected) << c.input;
}

TEST(FileNamePart, TakesWhatFollowsTheLastSeparatorOrColon) {
  const PathCase cases[] = {
      {L"C:\\pic\\logo.bmp", L"logo.bmp"},
      {L"C:logo.bmp", L"logo.bmp"},
      {L"logo.bmp", L"logo.bmp"},
      {L"C:\\pic\\", L""},
      {L"", L""},
  };
  for (const auto& c : cases) EXPECT_EQ(fileNamePart(c.input), c.expected) << c.input;
}

TEST(ShortcutNameFor, ReplacesFromTheLastDot) {
  const PathCase cases[] = {
      {L"lumivex.exe", L"lumivex.lnk"},
      {L"a.b.exe", L"a.b.lnk"},
      {L"prog", L"prog.lnk"},
      {L"prog.", L"prog.lnk"},
  };
  for (const auto& c : cases) EXPECT_EQ(shortcutNameFor(c.input), c.expected) << c.input;
}

TEST(ExtensionOf, KeepsTheCaseAsWritten) {
  const PathCase cases[] = {
      {L"C:\\pic\\Photo.JPG", L"JPG"},
      {L"C:\\pic\\logo.gif", L"gif"},
      {L"C:\\pic\\a.tar.jpeg", L"jpeg"},
      {L"C:\\pic.d\\noext", L""},
      {L"C:\\pic\\trailing.", L""},
      {L"", L""},
  };
  for (const auto& c : cases) EXPECT_EQ(extensionOf(c.input), c.expected) << c.input;
}

TEST(JoinFolder, OneSeparatorBetweenFolderAndName) {
  EXPECT_EQ(joinFolder(L"D:\\Apps\\Logo", L"mes.txt"), L"D:\\Apps\\Logo\\mes.txt");
  EXPECT_EQ(joinFolder(L"D:\\Apps\\Logo", L"pic\\*.bmp"), L"D:\\Apps\\Logo\\pic\\*.bmp");
  EXPECT_EQ(joinFolder(programFolderOf(L"C:\\prog.exe"), L"mes.txt"), L"C:\\mes.txt");
  EXPECT_EQ(joinFolder(L"", L"mes.txt"), L"mes.txt");
}

TEST(InstanceNameFor, OneNamePerExecutableWhateverTheCaseOfItsPath) {
  const std::wstring name = instanceNameFor(L"C:\\Tools\\lumivex.exe");
  EXPECT_EQ(name.rfind(L"Local\\Lumivex-", 0), 0u);
  EXPECT_EQ(name.size(), std::wstring(L"Local\\Lumivex-").size() + 16);
  EXPECT_EQ(name.find(L'\\', 6), std::wstring::npos) << "only the namespace ends in a backslash";
  EXPECT_EQ(instanceNameFor(L"c:\\TOOLS\\Lumivex.EXE"), name);
  EXPECT_EQ(instanceNameFor(L"C:/Tools/lumivex.exe"), name);
  EXPECT_NE(instanceNameFor(L"C:\\Tools\\renamed.exe"), name);
  EXPECT_NE(instanceNameFor(L"D:\\Tools\\lumivex.exe"), name);
  EXPECT_EQ(instanceNameFor(std::wstring(40000, L'x')).size(), name.size());
}

TEST(PicturePaths, ARelativePathLiesInTheProgramFolderAndAChosenFileThereIsKeptRelative) {
  const std::wstring folder = L"C:\\Program Files\\Lumivex";
  EXPECT_EQ(resolveInFolder(folder, L"pic\\logo.jpg"), L"C:\\Program Files\\Lumivex\\pic\\logo.jpg");
  EXPECT_EQ(resolveInFolder(folder, L"logo.jpg"), L"C:\\Program Files\\Lumivex\\logo.jpg");
  EXPECT_EQ(resolveInFolder(L"C:\\", L"pic\\logo.jpg"), L"C:\\pic\\logo.jpg");
  for (const wchar_t* absolute : {L"D:\\x\\y.bmp", L"\\\\server\\share\\y.bmp", L"\\y.bmp", L"d:y.bmp", L"/y.bmp", L""})
    EXPECT_EQ(resolveInFolder(folder, absolute), absolute) << "as it stands";

  EXPECT_EQ(relativeToFolder(folder, L"C:\\Program Files\\Lumivex\\pic\\logo.jpg"), L"pic\\logo.jpg");
  EXPECT_EQ(relativeToFolder(folder, L"c:\\PROGRAM FILES\\lumivex\\logo.jpg"), L"logo.jpg");
  EXPECT_EQ(relativeToFolder(L"C:\\", L"C:\\pic\\logo.jpg"), L"pic\\logo.jpg");
  for (const wchar_t* outside : {L"C:\\Program Files\\Lumivex2\\logo.jpg", L"C:\\Program Files\\Lumivex",
                                 L"C:\\Program Files\\Lumivex\\", L"D:\\logo.jpg"})
    EXPECT_EQ(relativeToFolder(folder, outside), outside);
  EXPECT_EQ(relativeToFolder(L"", L"C:\\logo.jpg"), L"C:\\logo.jpg");
}

}  // namespace
}  // namespace lumivex::core
