// The settings value and the real settings file: what a save writes, what a load reads from the file's own
// syntax, refused writes, the option dialog made from loaded values, and the setup-complete flow of a first run.
#include <gtest/gtest.h>

#include "option_fixture.h"

using namespace lumivex;
using namespace lumivex::testing;

namespace {

// Every control edited as a user would leave it; each change reaches the settings at once.
void setEdited(ProgramRun& run) {
  auto& ctl = run.controls();
  ctl.displaySecondsEdit.setValue(7);
  ctl.borderWidthEdit.setValue(10);
  ctl.translucencySlider.setPosition(40);
  run.services.colourChoice = [](const ui::ColourDialog&) { return std::optional<ui::Colour>(0x00332211); };
  ctl.windowColourSwatch.onClick();
  run.services.colourChoice = [](const ui::ColourDialog&) { return std::optional<ui::Colour>(0x00FFFFFF); };
  ctl.messageTextColourSwatch.onClick();
  run.services.colourChoice = nullptr;
  ctl.placementGroup.setItemIndex(1);
  ctl.fontSizeEdit.setValue(20);
  ctl.messageBackgroundCheck.setChecked(true);
  ctl.messageCombo.setText(L"起動中・・・");
  run.settings().picturePath = L"C:\\写真\\logo.jpg";
  SetWindowTextW(ctl.userNameEdit.hwnd(), L"山田 太郎");
  run.settings().fadeInMs = 500;  // as the effects dialog leaves them
  run.settings().fadeOutMs = 1200;
}

}  // namespace

TEST(SettingsFile, FirstSaveWritesSectionsAndKeysInSavingOrderWithTheirEncodings) {
  OptionRun run({OptionRun::Mode::FirstRun, "", true, L""});
  ASSERT_FALSE(fileExists(run.iniPath));
  setEdited(run);
  run.splash().setLeft(-5);
  run.splash().setTop(130);
  run.app().saveSettings();

  const std::vector<std::string> expected = {
      "[Window]", "Top=130", "Left=-5",
      "[option]", "splashtime=7", "b_size=10", "trans=40", "colo=3351057", "bcol=-2147483633", "fcol=16777215",
      "winpos=1", "fsiz=20", "lbltrans=1", "name=" + cp932(L"山田 太郎"), "fadein=500", "fadeout=1200",
      "[message]", "message=" + cp932(L"起動中・・・"),
      "[pic]", "picture=" + cp932(L"C:\\写真\\logo.jpg")};
  EXPECT_EQ(iniLines(readFileBytes(run.iniPath)), expected);
}

TEST(SettingsFile, SpinEditsSaveTheirMinimumForNonNumbersAndNoPlacementSavesMinusOne) {
  OptionRun run;
  auto& ctl = controlsOf(run.option());
  SetWindowTextW(ctl.displaySecondsEdit.hwnd(), L"");
  SetWindowTextW(ctl.borderWidthEdit.hwnd(), L"-");
  SetWindowTextW(ctl.fontSizeEdit.hwnd(), L"1.5");
  ctl.placementGroup.setItemIndex(-1);
  run.app().saveSettings();
  const std::string text = readFileBytes(run.iniPath);
  for (const char* line : {"splashtime=1\r\n", "b_size=0\r\n", "fsiz=1\r\n", "winpos=-1\r\n"})
    EXPECT_NE(text.find(line), std::string::npos) << line << text;
}

TEST(SettingsFile, LeavesKeysItNeverWritesAsTheUserWroteThem) {
  OptionRun run({OptionRun::Mode::Normal, "[Window]\r\nMaxmize=1\r\nTop=3\r\n[option]\r\nmine=x\r\n", true, L""});
  run.app().saveSettings();
  const std::vector<std::string> lines = iniLines(readFileBytes(run.iniPath));
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Maxmize=1"), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "mine=x"), lines.end());
}

// In a folder named like a format string: the error names the path literally.
TEST(SettingsFile, OkWithARefusedWriteShowsTheErrorAndKeepsTheDialogOpenWithTheEdits) {
  const TempFolder folder(L"%s%n%x %d%%");
  const std::string before = "[option]\r\nsplashtime=5\r\n";
  OptionRun run({OptionRun::Mode::Normal, before, true, folder.path()});
  run.services.onBox = [&](const FakeServices::Box&) {
    EXPECT_FALSE(run.splash().countdown.enabled()) << "the splash countdown must not run while the error is on screen";
  };
  bool stayedOpen = false;
  run.services.queueModalHook([&](ui::Form& f) {
    auto& o = static_cast<OptionDialog&>(f);
    auto& ctl = controlsOf(o);
    ctl.displaySecondsEdit.setValue(9);
    // Held open without sharing, the file refuses every write.
    const HANDLE lock = CreateFileW(run.iniPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(lock, INVALID_HANDLE_VALUE);
    SendMessageW(ctl.okButton.hwnd(), BM_CLICK, 0, 0);
    stayedOpen = o.modalResult() == ui::kNoResult && o.visible();
    EXPECT_EQ(ctl.displaySecondsEdit.value(), 9) << "nothing typed is lost";
    EXPECT_FALSE(run.splash().countdown.enabled()) << "the splash waits while the dialog is open";
    CloseHandle(lock);
    EXPECT_EQ(readFileBytes(run.iniPath), before) << "nothing was written";
    SendMessageW(ctl.okButton.hwnd(), BM_CLICK, 0, 0);  // the second try succeeds
  });
  const int result = run.option().showModal();
  EXPECT_TRUE(stayedOpen) << "a failed save keeps the dialog open";
  EXPECT_EQ(result, ui::kResultOk);
  ASSERT_EQ(run.services.boxes.size(), 1u);
  EXPECT_EQ(run.services.boxes[0].kind, ui::BoxKind::Error);
  EXPECT_EQ(run.services.boxes[0].text, run.iniPath + L" に書き込めません.") << "a file in use: no advice on the folder";
  EXPECT_TRUE(run.splash().countdown.enabled()) << "the countdown runs again after the save";
  EXPECT_NE(readFileBytes(run.iniPath).find("splashtime=9\r\n"), std::string::npos);
}

TEST(SettingsFile, APresentEmptyMessageDiffersFromAMissingOne) {
  OptionRun run({OptionRun::Mode::Normal, "[message]\r\nmessage=\r\n", true, L""});
  run.settings().message = L"keep";
  EXPECT_EQ(run.app().loadSettings().message, L"");
  EXPECT_EQ(run.settings().message, L"");
  writeFileBytes(run.iniPath, "[message]\r\n");
  run.settings().message = L"keep";
  EXPECT_EQ(run.app().loadSettings().message, L"keep");
  EXPECT_EQ(run.settings().message, L"keep");
}

// The dialog is made after the load: its controls take the loaded values, and a control's change reaction runs
// only where the value differs from the layout's.
TEST(SettingsFile, TheOptionDialogMadeAfterTheLoadShowsTheLoadedValues) {
  {
    OptionRun run({OptionRun::Mode::Normal, "[option]\r\ntrans=40\r\nlbltrans=1\r\nwinpos=1\r\n", true, L""});
    run.app().loadSettings();
    ASSERT_FALSE(run.app().optionDialogMade());
    auto& ctl = controlsOf(run.option());
    EXPECT_EQ(ctl.translucencySlider.hint(), L"40%");
    EXPECT_TRUE(ctl.messageBackgroundSwatch.enabled()) << "the check box's reaction enables the background swatch";
    EXPECT_TRUE(ctl.positionButton.enabled()) << "the placement group's reaction enables the position button";
  }
  OptionRun run({OptionRun::Mode::Normal, "[option]\r\n", true, L""});
  run.app().loadSettings();
  auto& ctl = controlsOf(run.option());
  EXPECT_EQ(ctl.translucencySlider.hint(), L"") << "an unchanged position runs no change reaction";
  EXPECT_FALSE(ctl.messageBackgroundSwatch.enabled());
}

TEST(FirstRun, SetupCompleteNeedsAPictureThenSavesAnnouncesAndEndsTheProgram) {
  OptionRun run({OptionRun::Mode::FirstRun, "", true, L""});
  OptionDialog& o = run.option();
  auto& ctl = controlsOf(o);
  ASSERT_TRUE(ctl.setupCompleteButton.visible());
  ASSERT_FALSE(ctl.okButton.visible());
  bool splashClosed = false;
  auto splashClose = run.splash().onClose;
  run.splash().onClose = [&] {
    splashClosed = true;
    if (splashClose) splashClose();
  };

  ctl.setupCompleteButton.click();
  ASSERT_EQ(run.services.boxes.size(), 1u);
  EXPECT_EQ(run.services.boxes[0].kind, ui::BoxKind::Notice);
  EXPECT_EQ(run.services.boxes[0].text, L"画像が選択されていません");
  EXPECT_FALSE(fileExists(run.iniPath));
  EXPECT_FALSE(splashClosed);

  run.services.fileChoice = [](const ui::OpenFileDialog&) { return std::optional<std::wstring>(L"C:\\p\\a.bmp"); };
  ctl.choosePictureButton.click();
  bool savedBeforeNotice = false;
  run.services.onBox = [&](const FakeServices::Box&) { savedBeforeNotice = fileExists(run.iniPath); };
  ctl.setupCompleteButton.click();
  ASSERT_EQ(run.services.boxes.size(), 2u);
  EXPECT_EQ(run.services.boxes[1].text,
            L"初回の設定が完了しました。\n\r\n\r次回からはスプラッシュロゴをダブルクリックで\n\rオプション設定を呼び出せます。");
  EXPECT_TRUE(savedBeforeNotice) << "the completion is announced only once the settings are saved";
  EXPECT_NE(readFileBytes(run.iniPath).find("picture=C:\\p\\a.bmp"), std::string::npos);
  EXPECT_TRUE(splashClosed) << "closing the hidden splash window ends the program";
  EXPECT_FALSE(o.visible());
}
