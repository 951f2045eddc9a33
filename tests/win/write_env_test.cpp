// Saving the live settings: file layout and encodings, refused writes, and the setup-complete flow of a first run.
#include <gtest/gtest.h>

#include "option_fixture.h"

#include <commctrl.h>

using namespace lumivex;
using namespace lumivex::testing;

namespace {

void setEdited(OptionDialog& o) {
  o.displaySecondsEdit.setValue(7);
  o.borderWidthEdit.setValue(10);
  o.translucencySlider.setPosition(40);
  o.windowColourSwatch.setColour(0x00332211);
  o.messageTextColourSwatch.setColour(0x00FFFFFF);
  o.placementGroup.setItemIndex(1);
  o.fontSizeEdit.setValue(20);
  o.messageBackgroundCheck.setChecked(true);
  o.messageCombo.setText(L"起動中・・・");
  o.picturePath = L"C:\\写真\\logo.jpg";
  o.userNameEdit.setText(L"山田 太郎");
}

// Holds the settings file open without sharing while `control` is asked for its text, so that every later
// write is refused.
class LockWhenAsked {
 public:
  LockWhenAsked(HWND control, std::wstring path) : control_(control), path_(std::move(path)) {
    SetWindowSubclass(control_, proc, 77, reinterpret_cast<DWORD_PTR>(this));
  }
  ~LockWhenAsked() {
    RemoveWindowSubclass(control_, proc, 77);
    if (lock_ != INVALID_HANDLE_VALUE) CloseHandle(lock_);
  }

 private:
  static LRESULT CALLBACK proc(HWND h, UINT m, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<LockWhenAsked*>(data);
    if ((m == WM_GETTEXTLENGTH || m == WM_GETTEXT) && self->lock_ == INVALID_HANDLE_VALUE)
      self->lock_ = CreateFileW(self->path_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    return DefSubclassProc(h, m, w, l);
  }
  HWND control_;
  std::wstring path_;
  HANDLE lock_ = INVALID_HANDLE_VALUE;
};

}  // namespace

TEST(saveSettings, FirstSaveWritesSectionsAndKeysInSavingOrderWithTheirEncodings) {
  OptionRun run({OptionRun::Mode::FirstRun, "", true, L""});
  ASSERT_FALSE(fileExists(run.iniPath));
  OptionDialog& o = run.option();
  setEdited(o);
  splash->setLeft(-5);
  splash->setTop(130);
  o.saveSettings();

  const std::vector<std::string> expected = {
      "[Window]", "Top=130", "Left=-5",
      "[option]", "splashtime=7", "b_size=10", "trans=40", "colo=3351057", "bcol=-2147483633", "fcol=16777215",
      "winpos=1", "fsiz=20", "lbltrans=1", "name=" + cp932(L"山田 太郎"),
      "[message]", "message=" + cp932(L"起動中・・・"),
      "[pic]", "picture=" + cp932(L"C:\\写真\\logo.jpg")};
  EXPECT_EQ(iniLines(readFileBytes(run.iniPath)), expected);
}

TEST(saveSettings, SpinEditsSaveTheirMinimumForNonNumbersAndSwitchesSaveZero) {
  OptionRun run;
  OptionDialog& o = run.option();
  SetWindowTextW(o.displaySecondsEdit.hwnd(), L"");
  SetWindowTextW(o.borderWidthEdit.hwnd(), L"-");
  SetWindowTextW(o.fontSizeEdit.hwnd(), L"1.5");
  o.placementGroup.setItemIndex(-1);
  o.saveSettings();
  const std::string text = readFileBytes(run.iniPath);
  EXPECT_NE(text.find("splashtime=1\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("b_size=0\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("fsiz=1\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("winpos=-1\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("lbltrans=0\r\n"), std::string::npos) << text;
}

TEST(saveSettings, LeavesKeysItNeverWritesAsTheUserWroteThem) {
  OptionRun run({OptionRun::Mode::Normal, "[Window]\r\nMaxmize=1\r\nTop=3\r\n[option]\r\nmine=x\r\n", true, L""});
  run.option().saveSettings();
  const std::vector<std::string> lines = iniLines(readFileBytes(run.iniPath));
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Maxmize=1"), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "mine=x"), lines.end());
  EXPECT_NE(std::find(lines.begin(), lines.end(), "Top=" + std::to_string(splash->top())), lines.end());
}

TEST(saveSettings, ARefusedWriteStopsTheSaveThereWithThePathInItsMessage) {
  OptionRun run;
  OptionDialog& o = run.option();
  setEdited(o);
  {
    // The message text is read at step 12: the first eleven values reach the file, the rest do not.
    LockWhenAsked lock(o.messageCombo.hwnd(), run.iniPath);
    try {
      o.saveSettings();
      ADD_FAILURE() << "the refused write was not reported";
    } catch (const ui::AppError& e) {
      EXPECT_EQ(e.text(), run.iniPath + L" に書き込めません");
    }
  }
  const std::string text = readFileBytes(run.iniPath);
  EXPECT_NE(text.find("lbltrans=1"), std::string::npos) << text;
  EXPECT_NE(text.find("splashtime=7"), std::string::npos) << text;
  EXPECT_EQ(text.find("[message]"), std::string::npos) << text;
  EXPECT_EQ(text.find("[pic]"), std::string::npos) << text;
  EXPECT_EQ(text.find("name="), std::string::npos) << text;
}

TEST(saveSettings, OkWithARefusedWriteShowsTheErrorEndsTheDialogAndTheCountdownWaitsForTheBox) {
  OptionRun run;
  run.boxes.onBox = [&](const BoxRecorder::Box&) {
    EXPECT_FALSE(splash->countdown.enabled()) << "the splash countdown must not run while the error is on screen";
  };
  int result = 0;
  {
    std::unique_ptr<LockWhenAsked> lock;
    ui::Form::queueModalHook([&](ui::Form& f) {
      auto& o = static_cast<OptionDialog&>(f);
      lock = std::make_unique<LockWhenAsked>(o.messageCombo.hwnd(), run.iniPath);
      PostMessageW(o.okButton.hwnd(), BM_CLICK, 0, 0);
    });
    result = run.option().showModal();
  }
  EXPECT_EQ(result, ui::kResultOk) << "OK ends the dialog even when saving fails";
  ASSERT_EQ(run.boxes.boxes.size(), 1u);
  EXPECT_EQ(run.boxes.boxes[0].kind, ui::BoxKind::Error);
  EXPECT_EQ(run.boxes.boxes[0].text, run.iniPath + L" に書き込めません.");
  EXPECT_TRUE(splash->countdown.enabled()) << "the countdown runs again after the box";
  const std::string text = readFileBytes(run.iniPath);
  EXPECT_NE(text.find("lbltrans=0"), std::string::npos) << text;
  EXPECT_EQ(text.find("[message]"), std::string::npos) << text;
}

TEST(FirstRun, SetupCompleteNeedsAPictureThenSavesAnnouncesAndEndsTheProgram) {
  OptionRun run({OptionRun::Mode::FirstRun, "", true, L""});
  OptionDialog& o = run.option();
  ASSERT_TRUE(o.setupCompleteButton.visible());
  ASSERT_FALSE(o.okButton.visible());
  bool splashClosed = false;
  auto splashClose = splash->onClose;
  splash->onClose = [&] {
    splashClosed = true;
    if (splashClose) splashClose();
  };

  o.onSetupCompleteClicked();
  ASSERT_EQ(run.boxes.boxes.size(), 1u);
  EXPECT_EQ(run.boxes.boxes[0].kind, ui::BoxKind::Notice);
  EXPECT_EQ(run.boxes.boxes[0].text, L"画像が選択されていません");
  EXPECT_FALSE(fileExists(run.iniPath));
  EXPECT_FALSE(splashClosed);

  ui::OpenFileDialog::setHook([](const ui::OpenFileDialog&) { return std::optional<std::wstring>(L"C:\\p\\a.bmp"); });
  o.onChoosePictureClicked();
  bool savedBeforeNotice = false;
  run.boxes.onBox = [&](const BoxRecorder::Box&) { savedBeforeNotice = fileExists(run.iniPath); };
  o.onSetupCompleteClicked();
  ASSERT_EQ(run.boxes.boxes.size(), 2u);
  EXPECT_EQ(run.boxes.boxes[1].text,
            L"初回の設定が完了しました。\n\r\n\r次回からはスプラッシュロゴをダブルクリックで\n\rオプション設定を呼び出せます。");
  EXPECT_TRUE(savedBeforeNotice) << "the completion is announced only once the settings are saved";
  EXPECT_NE(readFileBytes(run.iniPath).find("picture=C:\\p\\a.bmp"), std::string::npos);
  EXPECT_TRUE(splashClosed) << "closing the hidden splash window ends the program";
  EXPECT_FALSE(o.visible());
}

TEST(FirstRun, ARefusedFirstSaveKeepsTheDialogOpenWithoutTheCompletionNotice) {
  TempFolder dir;
  // A folder at the settings path: first-run mode, and the save cannot create the file.
  CreateDirectoryW(dir.file(L"lumivex.ini").c_str(), nullptr);
  OptionRun run({OptionRun::Mode::FirstRun, "", true, dir.path()});
  OptionDialog& o = run.option();
  bool splashClosed = false;
  splash->onClose = [&] { splashClosed = true; };
  o.show();
  o.picturePath = L"C:\\p\\a.bmp";
  o.pictureNameEdit.setText(L"a.bmp");
  SendMessageW(o.setupCompleteButton.hwnd(), BM_CLICK, 0, 0);
  ASSERT_EQ(run.boxes.boxes.size(), 1u);
  EXPECT_EQ(run.boxes.boxes[0].kind, ui::BoxKind::Error);
  EXPECT_EQ(run.boxes.boxes[0].text, dir.file(L"lumivex.ini") + L" に書き込めません.");
  EXPECT_TRUE(o.visible());
  EXPECT_FALSE(splashClosed);
  o.hide();
}

TEST(FirstRun, TheCloseBoxEndsTheProgramWithoutWritingSettings) {
  OptionRun run({OptionRun::Mode::FirstRun, "", true, L""});
  OptionDialog& o = run.option();
  o.show();
  o.displaySecondsEdit.setValue(9);
  PostMessageW(o.hwnd(), WM_CLOSE, 0, 0);
  MSG msg;
  EXPECT_TRUE(pumpUntil([&] { return PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE; }, 2000));
  EXPECT_FALSE(o.visible());
  EXPECT_FALSE(fileExists(run.iniPath));
}
