// The option dialog: window and controls as laid out, the message list file, the bottom buttons and the choosers.
#include <gtest/gtest.h>

#include "option_fixture.h"

#include <commdlg.h>

#include "dialogs/about_dialog.h"
#include "dialogs/position_dialog.h"
#include "dialogs/startup_registration_dialog.h"

using namespace lumivex;
using namespace lumivex::testing;

namespace {

// What the modal loop does with a key: dialog navigation first.
void pressKey(ui::Form& form, WORD vk) {
  const HWND target = GetFocus();
  MSG down{target, WM_KEYDOWN, vk, 0, GetTickCount(), {}};
  if (!IsDialogMessageW(form.hwnd(), &down)) {
    TranslateMessage(&down);
    DispatchMessageW(&down);
  }
  pumpFor(0);
}

void typeText(HWND edit, const std::wstring& text) {
  for (wchar_t c : text) SendMessageW(edit, WM_CHAR, c, 0);
}

// Clicks the upper (up) or lower (down) arrow of a spin edit's buttons.
void clickSpinButton(const ui::SpinEdit& spin, int direction) {
  struct Search {
    RECT edit;
    HWND found;
  } search{{}, nullptr};
  GetWindowRect(spin.hwnd(), &search.edit);
  EnumChildWindows(
      GetParent(spin.hwnd()),
      [](HWND h, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        wchar_t cls[32]{};
        GetClassNameW(h, cls, 32);
        RECT r{}, overlap{};
        GetWindowRect(h, &r);
        if (wcscmp(cls, UPDOWN_CLASSW) == 0 && IntersectRect(&overlap, &r, &s->edit)) s->found = h;
        return s->found == nullptr;
      },
      reinterpret_cast<LPARAM>(&search));
  ASSERT_NE(search.found, nullptr);
  RECT r{};
  GetClientRect(search.found, &r);
  const LPARAM at = MAKELPARAM(r.right / 2, direction > 0 ? r.bottom / 4 : r.bottom * 3 / 4);
  SendMessageW(search.found, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(search.found, WM_LBUTTONUP, 0, at);
}

}  // namespace

TEST(OptionLayout, WindowFrameSizeAndPlacement) {
  OptionRun run;
  OptionDialog& o = run.option();
  wchar_t caption[32]{};
  GetWindowTextW(o.hwnd(), caption, 32);
  EXPECT_STREQ(caption, L"Option");
  RECT client{};
  GetClientRect(o.hwnd(), &client);
  EXPECT_EQ(client.right, 532);
  EXPECT_EQ(client.bottom, 357);
  const LONG style = GetWindowLongW(o.hwnd(), GWL_STYLE);
  EXPECT_TRUE((style & WS_CAPTION) == WS_CAPTION && (style & WS_SYSMENU));
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  EXPECT_FALSE(o.visible()) << "in normal mode the dialog waits until it is asked for";

  run.withDialogOpen([](OptionDialog& d) {
    EXPECT_EQ(d.left(), (GetSystemMetrics(SM_CXSCREEN) - d.width()) / 2);
    EXPECT_EQ(d.top(), (GetSystemMetrics(SM_CYSCREEN) - d.height()) / 2);
    d.setLeft(3);
  });
  run.withDialogOpen([](OptionDialog& d) { EXPECT_EQ(d.left(), 3) << "centred at the first showing only"; });
}

TEST(OptionLayout, DesignStateOfTheControls) {
  OptionRun run;
  OptionDialog& o = run.option();
  EXPECT_TRUE(o.okButton.visible() && o.closeButton.visible() && o.defaultButton.visible());
  EXPECT_FALSE(o.setupCompleteButton.visible());
  EXPECT_EQ(o.setupCompleteButton.bounds().x, o.okButton.bounds().x);
  EXPECT_FALSE(o.translucencyUnsupportedLabel.visible());
  EXPECT_FALSE(o.messageBackgroundCheck.checked());
  EXPECT_FALSE(o.messageBackgroundLabel.enabled()) << "the background swatch follows the unchecked switch from creation on";
  EXPECT_FALSE(o.messageBackgroundSwatch.enabled());
  EXPECT_EQ(o.placementGroup.itemIndex(), 0);
  EXPECT_EQ(o.displaySecondsEdit.value(), 5);
  EXPECT_EQ(o.borderWidthEdit.value(), 3);
  EXPECT_EQ(o.fontSizeEdit.value(), 12);
  EXPECT_EQ(o.translucencySlider.position(), 100);
  EXPECT_EQ(o.windowColourSwatch.colour(), ui::kButtonFace);
  EXPECT_EQ(o.messageTextColourSwatch.colour(), 0);
  EXPECT_EQ(o.pictureNameEdit.colour(), 0xFF8080);
  EXPECT_TRUE(GetWindowLongW(o.pictureNameEdit.hwnd(), GWL_STYLE) & ES_READONLY);
  EXPECT_EQ(o.messageCombo.text(), L"");
  EXPECT_TRUE(settings().picturePath.empty());
  EXPECT_EQ(SendMessageW(o.messageCombo.hwnd(), CB_GETMINVISIBLE, 0, 0), 16);
  EXPECT_EQ(SendMessageW(o.userNameEdit.hwnd(), EM_GETLIMITTEXT, 0, 0), 30);
  EXPECT_TRUE(o.translucencySlider.hint().empty() && o.messageCombo.hint().empty());

  // Typed lengths of the spin edits; 10 is reached in the border box only by stepping.
  SetWindowTextW(o.displaySecondsEdit.hwnd(), L"");
  typeText(o.displaySecondsEdit.hwnd(), L"1234");
  EXPECT_EQ(o.displaySecondsEdit.text(), L"123");
  SetWindowTextW(o.borderWidthEdit.hwnd(), L"");
  typeText(o.borderWidthEdit.hwnd(), L"10");
  EXPECT_EQ(o.borderWidthEdit.text(), L"1");
  o.borderWidthEdit.setValue(9);
  o.borderWidthEdit.step(1);
  o.borderWidthEdit.step(1);
  EXPECT_EQ(o.borderWidthEdit.value(), 10);

  // The hand pointer over the switch and the swatches.
  for (ui::Control* c : std::initializer_list<ui::Control*>{&o.messageBackgroundCheck, &o.windowColourSwatch, &o.messageTextColourSwatch, &o.choosePictureButton}) {
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    SendMessageW(c->hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(c->hwnd()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
  }
}

TEST(SpinEdits, ButtonsAndArrowKeysStepByOneAndStopAtTheBoundsOfTheRange) {
  OptionRun run;
  run.withDialogOpen([](OptionDialog& o) {
    struct Case {
      const wchar_t* typed;
      int direction;
      const wchar_t* expected;
    };
    // The display time takes 1 to 180; a value typed outside the range steps to the nearer bound, and text that
    // is not a number counts as the minimum.
    const Case cases[] = {{L"90", +1, L"91"}, {L"90", -1, L"89"},   {L"180", +1, L"180"}, {L"1", -1, L"1"},
                          {L"999", -1, L"180"}, {L"999", +1, L"180"}, {L"0", +1, L"1"},     {L"0", -1, L"1"},
                          {L"-7", +1, L"1"},    {L"abc", +1, L"2"},   {L"", -1, L"1"}};
    for (bool buttons : {false, true}) {
      for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << (buttons ? "buttons " : "keys ") << ui::narrow(c.typed) << " "
                                        << c.direction);
        // The buttons are clicked with the focus elsewhere, so leaving the edit does not bring the value in range.
        if (buttons) o.okButton.focus();
        SetWindowTextW(o.displaySecondsEdit.hwnd(), c.typed);
        if (buttons) {
          clickSpinButton(o.displaySecondsEdit, c.direction);
        } else {
          o.displaySecondsEdit.focus();
          pressKey(o, c.direction > 0 ? VK_UP : VK_DOWN);
        }
        EXPECT_EQ(o.displaySecondsEdit.text(), c.expected);
      }
    }
  });
}

TEST(OptionLayout, TabGoesThroughTheControlsInTheirOrderAndEnterEscPressOkAndClose) {
  OptionRun run;
  run.withDialogOpen([](OptionDialog& o) {
    o.okButton.focus();
    const std::vector<HWND> expected = {o.closeButton.hwnd(),     o.defaultButton.hwnd(),  o.displaySecondsEdit.hwnd(),
                                        o.choosePictureButton.hwnd(),    o.pictureNameEdit.hwnd(),   o.messageCombo.editHwnd(),
                                        o.messageBackgroundCheck.hwnd(),   o.fontSizeEdit.hwnd(), o.borderWidthEdit.hwnd(),
                                        o.translucencySlider.hwnd(), o.placementGroup.itemHwnd(0), o.aboutButton.hwnd(),
                                        o.startupRegistrationButton.hwnd(),       o.userNameEdit.hwnd(), o.effectsButton.hwnd(),
                                        o.okButton.hwnd()};
    std::vector<HWND> seen;
    for (size_t i = 0; i < expected.size(); ++i) {
      pressKey(o, VK_TAB);
      seen.push_back(GetFocus());
    }
    EXPECT_EQ(seen, expected);
  });

  int result = 0;
  fakeServices().queueModalHook([](ui::Form& f) {
    static_cast<OptionDialog&>(f).userNameEdit.focus();
    pressKey(f, VK_ESCAPE);
  });
  result = run.option().showModal();
  EXPECT_EQ(result, ui::kResultCancel);
  EXPECT_TRUE(splash().countdown.enabled()) << "Esc is the Close button";
  splash().countdown.setEnabled(false);

  fakeServices().queueModalHook([](ui::Form& f) {
    static_cast<OptionDialog&>(f).userNameEdit.focus();
    pressKey(f, VK_RETURN);
  });
  result = run.option().showModal();
  EXPECT_EQ(result, ui::kResultOk);
  EXPECT_TRUE(fileExists(run.iniPath));
  EXPECT_NE(readFileBytes(run.iniPath).find("splashtime=5"), std::string::npos) << "Enter is the OK button";
}

TEST(MessageFile, AMissingFileIsAnnouncedCreatedWithTheDefaultLinesAndListed) {
  OptionRun run({OptionRun::Mode::Normal, "", false, L""});
  run.option().messageCombo.setText(L"ようこそ");
  run.withDialogOpen([](OptionDialog&) {});
  ASSERT_EQ(run.services.boxes.size(), 1u);
  EXPECT_EQ(run.services.boxes[0].kind, ui::BoxKind::Notice);
  EXPECT_EQ(run.services.boxes[0].text, L"メッセージファイルが見つかりません\n\rメッセージファイルを生成します。");
  EXPECT_EQ(readFileBytes(run.messagePath), defaultMessageFileBytes());
  const std::vector<std::wstring> lines = {L"しばらくお待ち下さい", L"Now Loading...", L"起動中・・・", L"起動ing"};
  EXPECT_EQ(run.option().messageCombo.items(), lines);
  EXPECT_EQ(run.option().messageCombo.text(), L"ようこそ");

  run.withDialogOpen([](OptionDialog&) {});
  EXPECT_EQ(run.services.boxes.size(), 1u) << "the next show finds the file";
}

TEST(MessageFile, EachShowRereadsTheLinesAndKeepsTheMessageText) {
  OptionRun run;
  OptionDialog& o = run.option();
  o.messageCombo.setText(L"自分の文");
  writeFileBytes(run.messagePath, "");
  run.withDialogOpen([](OptionDialog&) {});
  EXPECT_TRUE(o.messageCombo.items().empty());
  EXPECT_EQ(o.messageCombo.text(), L"自分の文");

  writeFileBytes(run.messagePath, cp932(L"一行目\r\n\r\n三行目\n四行目"));
  run.withDialogOpen([](OptionDialog&) {});
  const std::vector<std::wstring> lines = {L"一行目", L"", L"三行目", L"四行目"};
  EXPECT_EQ(o.messageCombo.items(), lines);
  EXPECT_EQ(o.messageCombo.text(), L"自分の文");
  EXPECT_TRUE(run.services.boxes.empty());
}

TEST(MessageFile, AByteOrderMarkNamesUtf8OrUtf16AndAFileWithoutOneIsCodePage932) {
  OptionRun run;
  const std::vector<std::wstring> lines = {L"しばらくお待ち下さい", L"caf\xE9 \x2615", L""};
  const std::wstring text = L"しばらくお待ち下さい\r\ncaf\xE9 \x2615\r\n\r\n";
  const std::string utf16(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
  for (const std::string& file : {"\xEF\xBB\xBF" + ui::narrow(text, CP_UTF8), "\xFF\xFE" + utf16}) {
    writeFileBytes(run.messagePath, file);
    run.withDialogOpen([](OptionDialog&) {});
    EXPECT_EQ(run.option().messageCombo.items(), lines) << "as Notepad saves it";
  }
  writeFileBytes(run.messagePath, cp932(L"起動中\r\n"));
  run.withDialogOpen([](OptionDialog&) {});
  EXPECT_EQ(run.option().messageCombo.items(), std::vector<std::wstring>{L"起動中"});
  EXPECT_TRUE(run.services.boxes.empty());
}

TEST(MessageFile, AFileThatCannotBeCreatedOrOpenedIsReportedAndTheDialogStillShows) {
  TempFolder dir;
  const std::wstring missing = dir.file(L"gone");
  OptionRun run({OptionRun::Mode::FirstRun, "", false, missing});
  OptionDialog& o = run.option();
  ASSERT_TRUE(o.positionButton.enabled());
  o.show();
  ASSERT_EQ(run.services.boxes.size(), 2u);
  EXPECT_EQ(run.services.boxes[0].kind, ui::BoxKind::Notice);
  EXPECT_EQ(run.services.boxes[1].kind, ui::BoxKind::Error);
  EXPECT_EQ(run.services.boxes[1].text, L"ファイル " + missing + L"\\mes.txt を作成できません.");
  EXPECT_TRUE(o.visible());
  EXPECT_FALSE(o.positionButton.enabled()) << "the dialog is set up whole: centred placement, no position button";
  const std::vector<std::wstring> defaults = {L"しばらくお待ち下さい", L"Now Loading...", L"起動中・・・", L"起動ing"};
  EXPECT_EQ(o.messageCombo.items(), defaults) << "the lines the file would have held";
  EXPECT_EQ(o.translucencyPercentLabel.text(), L"100%");
  o.hide();

  OptionRun locked;
  HANDLE lock = CreateFileW(locked.messagePath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  locked.withDialogOpen([](OptionDialog&) {});
  CloseHandle(lock);
  ASSERT_EQ(locked.services.boxes.size(), 1u);
  EXPECT_EQ(locked.services.boxes[0].text, L"ファイル " + locked.messagePath + L" は開けません.");
}

TEST(BottomButtons, OkSavesEverythingRestartsTheCountdownAndEnds) {
  OptionRun run;
  int result = 0;
  fakeServices().queueModalHook([](ui::Form& f) {
    auto& o = static_cast<OptionDialog&>(f);
    o.displaySecondsEdit.setValue(8);
    PostMessageW(o.okButton.hwnd(), BM_CLICK, 0, 0);
  });
  result = run.option().showModal();
  EXPECT_EQ(result, ui::kResultOk);
  EXPECT_TRUE(splash().countdown.enabled());
  EXPECT_EQ(run.option().defaultMessages, nullptr);
  EXPECT_NE(readFileBytes(run.iniPath).find("splashtime=8\r\n"), std::string::npos);
}

TEST(BottomButtons, CloseAfterEditingSavesNothingAndKeepsTheEditedValues) {
  const std::string saved = "[option]\r\nsplashtime=9\r\n";
  OptionRun run({OptionRun::Mode::Normal, saved, true, L""});
  int result = 0;
  fakeServices().queueModalHook([](ui::Form& f) {
    auto& o = static_cast<OptionDialog&>(f);
    o.displaySecondsEdit.setValue(8);
    o.translucencySlider.setPosition(40);
    PostMessageW(o.closeButton.hwnd(), BM_CLICK, 0, 0);
  });
  result = run.option().showModal();
  EXPECT_EQ(result, ui::kResultCancel);
  EXPECT_TRUE(splash().countdown.enabled());
  EXPECT_EQ(readFileBytes(run.iniPath), saved);
  splash().countdown.setEnabled(false);

  run.withDialogOpen([](OptionDialog& o) {
    EXPECT_EQ(o.displaySecondsEdit.value(), 8);
    EXPECT_EQ(o.translucencyPercentLabel.text(), L"40%");
  });
  // The close box leaves without either handler: the countdown stays stopped.
  EXPECT_FALSE(splash().countdown.enabled());
  EXPECT_EQ(readFileBytes(run.iniPath), saved);
}

TEST(BottomButtons, DefaultResetsTheEditedValuesWithTheirReactionsButNotTheSplash) {
  OptionRun run;
  OptionDialog& o = run.option();
  splash().setColour(0x00445566);
  o.displaySecondsEdit.setValue(100);
  o.borderWidthEdit.setValue(0);
  o.messageCombo.setText(L"abc");
  o.translucencySlider.setPosition(40);
  o.windowColourSwatch.setColour(0x00445566);
  o.messageBackgroundCheck.setChecked(true);
  o.messageBackgroundSwatch.setColour(0x00010203);
  o.messageTextColourSwatch.setColour(0x00FFFFFF);
  o.placementGroup.setItemIndex(1);
  o.fontSizeEdit.setValue(30);
  o.userNameEdit.setText(L"名前");
  settings().picturePath = L"C:\\a.bmp";
  ASSERT_TRUE(o.messageBackgroundSwatch.enabled() && o.positionButton.enabled());

  o.onDefaultClicked();
  EXPECT_EQ(o.displaySecondsEdit.value(), 5);
  EXPECT_EQ(o.borderWidthEdit.value(), 3);
  EXPECT_EQ(o.messageCombo.text(), L"");
  EXPECT_EQ(o.translucencySlider.position(), 100);
  EXPECT_EQ(o.translucencyPercentLabel.text(), L"100%");
  EXPECT_EQ(o.translucencySlider.hint(), L"100%");
  EXPECT_EQ(o.windowColourSwatch.colour(), ui::kButtonFace);
  EXPECT_FALSE(o.messageBackgroundCheck.checked());
  EXPECT_FALSE(o.messageBackgroundLabel.enabled());
  EXPECT_FALSE(o.messageBackgroundSwatch.enabled());
  EXPECT_EQ(o.messageBackgroundSwatch.colour(), ui::kButtonFace);
  EXPECT_EQ(o.messageTextColourSwatch.colour(), 0);
  EXPECT_EQ(o.placementGroup.itemIndex(), 0);
  EXPECT_FALSE(o.positionButton.enabled());
  EXPECT_EQ(o.fontSizeEdit.value(), 12);
  EXPECT_EQ(o.userNameEdit.text(), L"名前");
  EXPECT_EQ(settings().picturePath, L"C:\\a.bmp");
  EXPECT_EQ(splash().colour(), 0x00445566) << "the splash keeps its colours until the next start";
  core::Settings reset;
  reset.userName = L"名前";
  reset.picturePath = L"C:\\a.bmp";
  EXPECT_EQ(settings(), reset) << "the live settings follow the dialog";
  EXPECT_FALSE(fileExists(run.iniPath) && readFileBytes(run.iniPath).size() > 0) << "nothing is saved";
}

TEST(Choosers, TheImageChooserStartsInThePictureFolderThenFromTheLastConfirmedFile) {
  OptionRun run;
  std::vector<ui::OpenFileDialog> opened;
  std::vector<std::optional<std::wstring>> answers = {run.dir.file(L"pic\\logo.jpg"), std::nullopt,
                                                      std::nullopt};
  run.services.fileChoice = [&](const ui::OpenFileDialog& d) {
    opened.push_back(d);
    auto a = answers.front();
    answers.erase(answers.begin());
    return a;
  };
  run.withDialogOpen([](OptionDialog& o) {
    o.onChoosePictureClicked();
    o.onChoosePictureClicked();
  });
  ASSERT_EQ(opened.size(), 2u);
  const ui::OpenFileDialog& first = opened[0];
  EXPECT_EQ(first.title, L"画像を選択して下さい");
  EXPECT_EQ(first.filter, L"BITMAP|*.bmp|JPEG|*.jpg|PNG|*.png") << "PNG beside BMP and JPEG, the bitmap first";
  EXPECT_EQ(first.defaultExtension, L"bmp");
  EXPECT_EQ(first.flags,
            static_cast<DWORD>(OFN_READONLY | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_CREATEPROMPT));
  EXPECT_EQ(first.flagsEx, static_cast<DWORD>(OFN_EX_NOPLACESBAR));
  EXPECT_EQ(first.initialDir, run.dir.file(L"pic\\*.bmp"));
  EXPECT_EQ(first.fileName, run.dir.file(L"pic\\*.bmp"));
  EXPECT_EQ(opened[1].fileName, run.dir.file(L"pic\\logo.jpg")) << "a second run starts from the confirmed file";
  EXPECT_EQ(settings().picturePath, L"pic\\logo.jpg") << "cancelling keeps the path, relative to the program folder";
  EXPECT_EQ(run.option().pictureNameEdit.text(), L"logo.jpg");

  // The next show starts in the picture folder again and shows the file name of the path it holds.
  settings().picturePath = L"D:\\x\\y.bmp";
  run.withDialogOpen([](OptionDialog& o) {
    EXPECT_EQ(o.pictureNameEdit.text(), L"y.bmp");
    o.onChoosePictureClicked();
  });
  ASSERT_EQ(opened.size(), 3u);
  EXPECT_EQ(opened[2].fileName, run.dir.file(L"pic\\*.bmp"));
}

TEST(Choosers, OneColourChooserForTheThreeSwatchesPreviewsOnTheSplash) {
  OptionRun run;
  OptionDialog& o = run.option();
  std::vector<ui::Colour> openedWith;
  std::vector<std::optional<ui::Colour>> answers = {0x00112233, std::nullopt, 0x00445566};
  run.services.colourChoice = [&](const ui::ColourDialog& d) {
    openedWith.push_back(d.colour);
    auto a = answers.front();
    answers.erase(answers.begin());
    return a;
  };
  EXPECT_FALSE(o.messageBackgroundSwatch.enabled()) << "no background swatch to click without the background switch";
  SendMessageW(o.messageBackgroundCheck.hwnd(), BM_CLICK, 0, 0);
  EXPECT_TRUE(o.messageBackgroundCheck.checked());
  EXPECT_TRUE(o.messageBackgroundSwatch.enabled() && o.messageBackgroundLabel.enabled());

  o.windowColourSwatch.onClick();
  EXPECT_EQ(o.windowColourSwatch.colour(), 0x00112233);
  EXPECT_EQ(splash().colour(), 0x00112233);
  o.messageTextColourSwatch.onClick();  // cancelled
  EXPECT_EQ(o.messageTextColourSwatch.colour(), 0);
  o.messageBackgroundSwatch.onClick();
  EXPECT_EQ(o.messageBackgroundSwatch.colour(), 0x00445566);
  EXPECT_EQ(splash().colour(), 0x00112233);
  const std::vector<ui::Colour> expected = {0, 0x00112233, 0x00112233};
  EXPECT_EQ(openedWith, expected) << "the chooser opens with the colour confirmed last, black at first";
}

TEST(Reactions, SliderMessagePlacementAndTheSmallDialogs) {
  OptionRun run;
  OptionDialog& o = run.option();
  o.translucencySlider.setPosition(40);
  EXPECT_EQ(o.translucencySlider.hint(), L"40%");
  EXPECT_EQ(o.translucencyPercentLabel.text(), L"40%");
  o.messageCombo.setText(L"こんにちは");
  EXPECT_EQ(o.messageCombo.hint(), L"こんにちは");

  std::vector<ui::Form*> modal;
  fakeServices().queueModalHook([&](ui::Form& f) {
    auto& d = static_cast<OptionDialog&>(f);
    SendMessageW(d.placementGroup.itemHwnd(1), BM_CLICK, 0, 0);
    EXPECT_EQ(d.placementGroup.itemIndex(), 1);
    EXPECT_TRUE(d.positionButton.enabled());
    for (ui::Button* b : {&d.positionButton, &d.startupRegistrationButton, &d.aboutButton}) {
      fakeServices().queueModalHook([&](ui::Form& inner) {
        modal.push_back(&inner);
        inner.setModalResult(ui::kResultCancel);
      });
      b->click();
    }
    d.setModalResult(ui::kResultCancel);
  });
  o.showModal();
  const std::vector<ui::Form*> expected = {&positionDialog(), &registration(), &about()};
  EXPECT_EQ(modal, expected);
}

TEST(Reactions, OpenedOverTheTopmostSplashTheDialogAndItsAboutBoxStayReachable) {
  OptionRun run;
  ShowWindow(splash().hwnd(), SW_SHOWNA);
  auto topmost = [](const ui::Form& f) { return (GetWindowLongW(f.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
  ASSERT_TRUE(topmost(splash()));
  bool aboutTopmost = false;
  run.withDialogOpen([&](OptionDialog& o) {
    EXPECT_TRUE(topmost(o));
    fakeServices().queueModalHook([&](ui::Form& about) {
      aboutTopmost = topmost(about);
      about.setModalResult(ui::kResultCancel);
    });
    o.aboutButton.click();
  });
  EXPECT_TRUE(aboutTopmost);
  EXPECT_FALSE(topmost(run.option())) << "only while the splash is on screen";
  ShowWindow(splash().hwnd(), SW_HIDE);
  run.withDialogOpen([&](OptionDialog& o) { EXPECT_FALSE(topmost(o)); });
}

TEST(OptionScreen, EveryButtonReachesTheScreenAndThePositionButtonFollowsThePlacement) {
  OptionRun run;
  SetCursorPos(0, 0);  // no tooltip over the buttons
  run.withDialogOpen([](OptionDialog& o) {
    for (const ui::Button* b : {&o.okButton, &o.closeButton, &o.defaultButton, &o.choosePictureButton, &o.aboutButton, &o.startupRegistrationButton, &o.positionButton})
      EXPECT_TRUE(pushButtonOnScreen(b->hwnd()));
    // The position button lies inside the placement group, which is above it in the stacking order.
    EXPECT_FALSE(o.positionButton.enabled());
    o.placementGroup.setItemIndex(1);
    EXPECT_TRUE(o.positionButton.enabled());
    EXPECT_TRUE(pushButtonOnScreen(o.positionButton.hwnd()));
    // It takes the clicks at its place, too.
    RECT r{};
    GetWindowRect(o.positionButton.hwnd(), &r);
    EXPECT_EQ(WindowFromPoint({(r.left + r.right) / 2, (r.top + r.bottom) / 2}), o.positionButton.hwnd());
  });
}
