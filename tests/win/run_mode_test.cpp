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

void expectNormalMode(const SplashRun& run) {
  EXPECT_EQ(application().session().mainForm(), &splash());
  EXPECT_TRUE(splash().countdown.enabled());
  EXPECT_EQ(splash().countdown.interval(), 1000u);
  ASSERT_NE(application().settingsFile(), nullptr);
  EXPECT_EQ(application().settingsFile()->path(), run.settingsPath());
  EXPECT_FALSE(option().setupCompleteButton.visible());
  EXPECT_TRUE(option().okButton.visible());
  EXPECT_TRUE(option().closeButton.visible());
  EXPECT_TRUE(option().defaultButton.visible());
  EXPECT_FALSE(splash().visible());
}

}  // namespace

TEST(RunMode, ZeroByteSettingsFileIsNormalModeWithEveryDefault) {
  SplashRun run(std::string{});
  expectNormalMode(run);

  run.expectModal();  // no picture path: the notice, then the option dialog
  run.show();
  EXPECT_EQ(run.modalShowings, 1);
  EXPECT_EQ(splash().colour(), ui::kButtonFace) << "the loaded default, not the layout's blue";
  EXPECT_EQ(option().displaySecondsEdit.value(), 5);
  EXPECT_EQ(option().borderWidthEdit.value(), 3);
  EXPECT_EQ(option().fontSizeEdit.value(), 12);
  EXPECT_EQ(option().placementGroup.itemIndex(), 0);
  EXPECT_EQ(splash().countdown.interval(), 5000u);
  EXPECT_FALSE(splash().countdown.enabled()) << "stopped for the missing picture";
  EXPECT_EQ(lt::readFileBytes(run.settingsPath()), "") << "loading writes nothing";
}

TEST(RunMode, FolderAtTheSettingsPathMeansFirstRun) {
  lt::TempFolder dir;
  ASSERT_TRUE(CreateDirectoryW(dir.file(L"lumivex.ini").c_str(), nullptr));
  lt::FakeServices services(dir.file(L"lumivex.exe"));
  TestApplication program(services);

  EXPECT_EQ(application().session().mainForm(), &option()) << "the option dialog is created first and becomes the main window";
  EXPECT_FALSE(splash().countdown.enabled());
  ASSERT_NE(application().settingsFile(), nullptr);
  EXPECT_EQ(application().settingsFile()->path(), dir.file(L"lumivex.ini"));
  EXPECT_TRUE(option().setupCompleteButton.visible());
  EXPECT_FALSE(option().okButton.visible());
  EXPECT_FALSE(option().closeButton.visible());
  EXPECT_FALSE(option().defaultButton.visible());
  lt::pumpFor(1200);
  EXPECT_FALSE(quitPosted()) << "the stopped countdown never closes the hidden splash";
}

TEST(RunMode, MissingSettingsFileMeansFirstRunAndCreatesNothing) {
  SplashRun run(nullptr);
  EXPECT_EQ(application().session().mainForm(), &option());
  EXPECT_FALSE(splash().countdown.enabled());
  EXPECT_FALSE(lt::fileExists(run.settingsPath()));
}

TEST(RunMode, ExecutableWithoutExtensionGetsIniAppended) {
  const std::string empty;
  SplashRun run(&empty, L"lumivex");
  EXPECT_EQ(run.settingsPath(), run.dir.file(L"lumivex.ini"));
  expectNormalMode(run);

  // Renamed, the program looks for a settings file of the new name and starts a first run.
  const std::wstring renamed = run.dir.file(L"splash.exe");
  run.application.reset();
  run.services.exe = renamed;
  TestApplication again(run.services);
  EXPECT_EQ(application().settingsFile()->path(), run.dir.file(L"splash.ini"));
  EXPECT_EQ(application().session().mainForm(), &option());
}

TEST(RunMode, ClosingTheSplashReleasesTheSettingsFileAndEndsTheProgram) {
  SplashRun run(std::string{});
  ASSERT_FALSE(quitPosted());
  splash().close();
  EXPECT_EQ(application().settingsFile(), nullptr);
  EXPECT_TRUE(quitPosted());
  EXPECT_TRUE(lt::fileExists(run.settingsPath()));
}

TEST(RunMode, FirstRunSetupCompletionClosesTheHiddenSplash) {
  SplashRun run(nullptr);
  splash().close();  // what the setup-complete button does after saving
  EXPECT_EQ(application().settingsFile(), nullptr);
  EXPECT_TRUE(quitPosted()) << "the splash is not the main window, yet closing it ends the program";
}
