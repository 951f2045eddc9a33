// The run mode chosen while the splash window is created, and what closing the splash window does.
#include <gtest/gtest.h>

#include "splash_fixture.h"

using namespace lumivex;
using namespace lumivex::testing;
namespace lt = lumivex::testing;
using lumivex::testing::SplashRun;

namespace {

bool quitPosted() {
  MSG m;
  return PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
}

}  // namespace

TEST(RunMode, ZeroByteSettingsFileIsNormalModeAndItsLoadWritesNothing) {
  SplashRun run(std::string{});
  EXPECT_EQ(run.app().session().mainForm(), &run.splash());
  ASSERT_NE(run.app().settingsFile(), nullptr);
  EXPECT_EQ(run.app().settingsFile()->path(), run.settingsPath());
  EXPECT_FALSE(run.controls().setupCompleteButton.visible());
  EXPECT_TRUE(run.controls().okButton.visible() && run.controls().closeButton.visible() &&
              run.controls().defaultButton.visible());
  EXPECT_FALSE(run.splash().visible());

  run.expectModal();  // no picture path: the notice, then the option dialog
  run.show();
  EXPECT_EQ(lt::readFileBytes(run.settingsPath()), "") << "loading writes nothing";
}

TEST(RunMode, FolderAtTheSettingsPathMeansFirstRun) {
  lt::ProgramRun run;
  ASSERT_TRUE(CreateDirectoryW(run.dir.file(L"lumivex.ini").c_str(), nullptr));
  run.start(run.dir.file(L"lumivex.exe"));

  EXPECT_EQ(run.app().session().mainForm(), &run.option()) << "the option dialog is created first and becomes the main window";
  EXPECT_FALSE(run.splash().countdown.enabled());
  ASSERT_NE(run.app().settingsFile(), nullptr);
  EXPECT_EQ(run.app().settingsFile()->path(), run.dir.file(L"lumivex.ini"));
  lt::pumpFor(1200);
  EXPECT_FALSE(quitPosted()) << "the stopped countdown never closes the hidden splash";
}

// Renamed, the program looks for a settings file of its new name; the one beside it belongs to another copy.
TEST(RunMode, MissingSettingsFileMeansFirstRunAndCreatesNothing) {
  lt::ProgramRun run;
  lt::writeFileBytes(run.dir.file(L"lumivex.ini"), "");
  run.start(run.dir.file(L"splash.exe"));
  EXPECT_EQ(run.app().session().mainForm(), &run.option());
  EXPECT_EQ(run.app().settingsFile()->path(), run.dir.file(L"splash.ini"));
  EXPECT_FALSE(lt::fileExists(run.dir.file(L"splash.ini")));
}

TEST(RunMode, ClosingTheSplashReleasesTheSettingsFileAndEndsTheProgram) {
  SplashRun run(std::string{});
  ASSERT_FALSE(quitPosted());
  run.splash().close();
  EXPECT_EQ(run.app().settingsFile(), nullptr);
  EXPECT_TRUE(quitPosted());
  EXPECT_TRUE(lt::fileExists(run.settingsPath()));
}
