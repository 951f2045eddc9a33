// The option dialog: window and controls as laid out, the message list file, the bottom buttons and the choosers.
#include <gtest/gtest.h>

#include "option_fixture.h"

#include "ui/handles.h"

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

TEST(OptionLayout, DesignStateOfTheControls) {
  OptionRun run;
  OptionDialog& o = run.option();
  auto& ctl = controlsOf(o);
  const LONG style = GetWindowLongW(o.hwnd(), GWL_STYLE);
  EXPECT_TRUE((style & WS_CAPTION) == WS_CAPTION && (style & WS_SYSMENU));
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  EXPECT_FALSE(o.visible()) << "in normal mode the dialog waits until it is asked for";
  EXPECT_EQ(ctl.setupCompleteButton.bounds().x, ctl.okButton.bounds().x);
  EXPECT_FALSE(ctl.translucencyUnsupportedLabel.visible());
  EXPECT_TRUE(GetWindowLongW(ctl.pictureNameEdit.hwnd(), GWL_STYLE) & ES_READONLY);
  EXPECT_EQ(SendMessageW(ctl.messageCombo.hwnd(), CB_GETMINVISIBLE, 0, 0), 16);
  EXPECT_EQ(SendMessageW(ctl.userNameEdit.hwnd(), EM_GETLIMITTEXT, 0, 0), 30);
  EXPECT_TRUE(ctl.messageCombo.hint().empty());
  ctl.messageCombo.setText(L"こんにちは");
  EXPECT_EQ(ctl.messageCombo.hint(), L"こんにちは") << "the message is its own hint";
  run.withDialogOpen([](OptionDialogControls& ctl) {
    UpdateWindow(ctl.pictureNameEdit.hwnd());
    ui::WindowDc dc(ctl.pictureNameEdit.hwnd());
    EXPECT_EQ(GetPixel(dc.get(), 3, 3), RGB(0x80, 0x80, 0xFF)) << "the picture's name on light blue";
  });

  // Typed lengths of the spin edits; 10 is reached in the border box only by stepping.
  SetWindowTextW(ctl.displaySecondsEdit.hwnd(), L"");
  typeText(ctl.displaySecondsEdit.hwnd(), L"1234");
  EXPECT_EQ(ctl.displaySecondsEdit.text(), L"123");
  SetWindowTextW(ctl.borderWidthEdit.hwnd(), L"");
  typeText(ctl.borderWidthEdit.hwnd(), L"10");
  EXPECT_EQ(ctl.borderWidthEdit.text(), L"1");
  ctl.borderWidthEdit.setValue(9);
  ctl.borderWidthEdit.step(1);
  ctl.borderWidthEdit.step(1);
  EXPECT_EQ(ctl.borderWidthEdit.value(), 10);

  // The hand pointer over the switch and the swatches.
  for (ui::Control* c : std::initializer_list<ui::Control*>{&ctl.messageBackgroundCheck, &ctl.windowColourSwatch, &ctl.messageTextColourSwatch, &ctl.choosePictureButton}) {
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    SendMessageW(c->hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(c->hwnd()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
  }
}

TEST(SpinEdits, ButtonsAndArrowKeysStepByOneAndStopAtTheBoundsOfTheRange) {
  OptionRun run;
  run.withDialogOpen([](OptionDialog& o) {
    auto& ctl = controlsOf(o);
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
        if (buttons) ctl.okButton.focus();
        SetWindowTextW(ctl.displaySecondsEdit.hwnd(), c.typed);
        if (buttons) {
          clickSpinButton(ctl.displaySecondsEdit, c.direction);
        } else {
          ctl.displaySecondsEdit.focus();
          pressKey(o, c.direction > 0 ? VK_UP : VK_DOWN);
        }
        EXPECT_EQ(ctl.displaySecondsEdit.text(), c.expected);
      }
    }
  });
}

TEST(OptionLayout, TabGoesThroughTheControlsInTheirOrderAndEnterPressesOk) {
  OptionRun run;
  run.withDialogOpen([](OptionDialog& o) {
    auto& ctl = controlsOf(o);
    ctl.okButton.focus();
    const std::vector<HWND> expected = {ctl.closeButton.hwnd(),     ctl.defaultButton.hwnd(),  ctl.displaySecondsEdit.hwnd(),
                                        ctl.choosePictureButton.hwnd(),    ctl.pictureNameEdit.hwnd(),   ctl.messageCombo.editHwnd(),
                                        ctl.messageBackgroundCheck.hwnd(),   ctl.fontSizeEdit.hwnd(), ctl.borderWidthEdit.hwnd(),
                                        ctl.translucencySlider.hwnd(), ctl.placementGroup.itemHwnd(0), ctl.aboutButton.hwnd(),
                                        ctl.startupRegistrationButton.hwnd(),       ctl.userNameEdit.hwnd(), ctl.effectsButton.hwnd(),
                                        ctl.okButton.hwnd()};
    std::vector<HWND> seen;
    for (size_t i = 0; i < expected.size(); ++i) {
      pressKey(o, VK_TAB);
      seen.push_back(GetFocus());
    }
    EXPECT_EQ(seen, expected);
  });

  EXPECT_EQ(run.withDialogOpen([](OptionDialog& o) {
    controlsOf(o).userNameEdit.focus();
    pressKey(o, VK_RETURN);
  }), ui::kResultOk);
  EXPECT_NE(readFileBytes(run.iniPath).find("splashtime=5"), std::string::npos) << "Enter is the OK button";
}

TEST(MessageFile, AMissingFileIsAnnouncedCreatedWithTheDefaultLinesAndListed) {
  OptionRun run({OptionRun::Mode::Normal, "", false, L""});
  run.controls().messageCombo.setText(L"ようこそ");
  run.withDialogOpen([](OptionDialog&) {});
  ASSERT_EQ(run.services.boxes.size(), 1u);
  EXPECT_EQ(run.services.boxes[0].kind, ui::BoxKind::Notice);
  EXPECT_EQ(run.services.boxes[0].text, L"メッセージファイルが見つかりません\n\rメッセージファイルを生成します。");
  const std::vector<std::wstring> lines = {L"しばらくお待ち下さい", L"Now Loading...", L"起動中・・・", L"起動ing"};
  EXPECT_EQ(run.controls().messageCombo.items(), lines);
  EXPECT_EQ(run.controls().messageCombo.text(), L"ようこそ");

  run.withDialogOpen([](OptionDialog&) {});
  EXPECT_EQ(run.services.boxes.size(), 1u) << "the next show finds the file";
}

TEST(MessageFile, EachShowRereadsTheLinesAndKeepsTheMessageText) {
  OptionRun run;
  auto& ctl = controlsOf(run.option());
  ctl.messageCombo.setText(L"自分の文");
  writeFileBytes(run.messagePath, "");
  run.withDialogOpen([](OptionDialog&) {});
  EXPECT_TRUE(ctl.messageCombo.items().empty());
  EXPECT_EQ(ctl.messageCombo.text(), L"自分の文");

  writeFileBytes(run.messagePath, cp932(L"一行目\r\n\r\n三行目\n四行目"));
  run.withDialogOpen([](OptionDialog&) {});
  const std::vector<std::wstring> lines = {L"一行目", L"", L"三行目", L"四行目"};
  EXPECT_EQ(ctl.messageCombo.items(), lines);
  EXPECT_EQ(ctl.messageCombo.text(), L"自分の文");
  EXPECT_TRUE(run.services.boxes.empty());
}

TEST(MessageFile, AFileThatCannotBeCreatedOrOpenedIsReportedAndTheDialogStillShows) {
  TempFolder dir;
  const std::wstring missing = dir.file(L"gone");
  OptionRun run({OptionRun::Mode::FirstRun, "", false, missing});
  OptionDialog& o = run.option();
  auto& ctl = controlsOf(o);
  ASSERT_TRUE(ctl.positionButton.enabled());
  o.show();
  ASSERT_EQ(run.services.boxes.size(), 2u);
  EXPECT_EQ(run.services.boxes[1].kind, ui::BoxKind::Error);
  EXPECT_TRUE(o.visible());
  EXPECT_FALSE(ctl.positionButton.enabled()) << "the dialog is set up whole: centred placement, no position button";
  const std::vector<std::wstring> defaults = {L"しばらくお待ち下さい", L"Now Loading...", L"起動中・・・", L"起動ing"};
  EXPECT_EQ(ctl.messageCombo.items(), defaults) << "the lines the file would have held";
  EXPECT_EQ(ctl.translucencyPercentLabel.text(), L"100%");
  o.hide();

  OptionRun locked;
  HANDLE lock = CreateFileW(locked.messagePath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  locked.withDialogOpen([](OptionDialog&) {});
  CloseHandle(lock);
  ASSERT_EQ(locked.services.boxes.size(), 1u);
  EXPECT_EQ(locked.services.boxes[0].text, L"ファイル " + locked.messagePath + L" は開けません.");
}

TEST(BottomButtons, CloseAfterEditingSavesNothingAndKeepsTheEditedValues) {
  const std::string saved = "[option]\r\nsplashtime=9\r\n";
  OptionRun run({OptionRun::Mode::Normal, saved, true, L""});
  run.services.queueModalHook([](ui::Form& f) {
    auto& ctl = controlsOf(static_cast<OptionDialog&>(f));
    ctl.displaySecondsEdit.setValue(8);
    ctl.translucencySlider.setPosition(40);
    press(ctl.closeButton);
  });
  EXPECT_EQ(run.option().showModal(), ui::kResultCancel);
  EXPECT_EQ(readFileBytes(run.iniPath), saved);
  run.splash().countdown.setEnabled(false);

  run.withDialogOpen([](OptionDialogControls& ctl) {
    EXPECT_EQ(ctl.displaySecondsEdit.value(), 8);
    EXPECT_EQ(ctl.translucencyPercentLabel.text(), L"40%");
  });
  EXPECT_EQ(readFileBytes(run.iniPath), saved);
}

TEST(BottomButtons, DefaultResetsTheEditedValuesWithTheirReactionsButNotTheSplash) {
  OptionRun run;
  auto& ctl = controlsOf(run.option());
  run.splash().setColour(0x00445566);
  ctl.displaySecondsEdit.setValue(100);
  ctl.borderWidthEdit.setValue(0);
  ctl.messageCombo.setText(L"abc");
  ctl.translucencySlider.setPosition(40);
  ctl.windowColourSwatch.setColour(0x00445566);
  ctl.messageBackgroundCheck.setChecked(true);
  ctl.messageBackgroundSwatch.setColour(0x00010203);
  ctl.messageTextColourSwatch.setColour(0x00FFFFFF);
  ctl.placementGroup.setItemIndex(1);
  ctl.fontSizeEdit.setValue(30);
  ctl.userNameEdit.setText(L"名前");
  run.settings().picturePath = L"C:\\a.bmp";
  ASSERT_TRUE(ctl.messageBackgroundSwatch.enabled() && ctl.positionButton.enabled());

  ctl.defaultButton.click();
  EXPECT_EQ(ctl.displaySecondsEdit.value(), 5);
  EXPECT_EQ(ctl.borderWidthEdit.value(), 3);
  EXPECT_EQ(ctl.messageCombo.text(), L"");
  EXPECT_EQ(ctl.translucencySlider.position(), 100);
  EXPECT_EQ(ctl.translucencyPercentLabel.text(), L"100%");
  EXPECT_EQ(ctl.translucencySlider.hint(), L"100%");
  EXPECT_EQ(ctl.windowColourSwatch.colour(), ui::kButtonFace);
  EXPECT_FALSE(ctl.messageBackgroundCheck.checked());
  EXPECT_FALSE(ctl.messageBackgroundLabel.enabled());
  EXPECT_FALSE(ctl.messageBackgroundSwatch.enabled());
  EXPECT_EQ(ctl.messageBackgroundSwatch.colour(), ui::kButtonFace);
  EXPECT_EQ(ctl.messageTextColourSwatch.colour(), 0);
  EXPECT_EQ(ctl.placementGroup.itemIndex(), 0);
  EXPECT_FALSE(ctl.positionButton.enabled());
  EXPECT_EQ(ctl.fontSizeEdit.value(), 12);
  EXPECT_EQ(ctl.userNameEdit.text(), L"名前");
  EXPECT_EQ(run.settings().picturePath, L"C:\\a.bmp");
  EXPECT_EQ(run.splash().colour(), 0x00445566) << "the splash keeps its colours until the next start";
  core::Settings reset;
  reset.userName = L"名前";
  reset.picturePath = L"C:\\a.bmp";
  EXPECT_EQ(run.settings(), reset) << "the live settings follow the dialog";
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
  run.withDialogOpen([](OptionDialogControls& ctl) {
    ctl.choosePictureButton.click();
    ctl.choosePictureButton.click();
  });
  ASSERT_EQ(opened.size(), 2u);
  const ui::OpenFileDialog& first = opened[0];
  EXPECT_EQ(first.filter, L"BITMAP|*.bmp|JPEG|*.jpg|PNG|*.png") << "PNG beside BMP and JPEG, the bitmap first";
  EXPECT_EQ(first.initialDir, run.dir.file(L"pic\\*.bmp"));
  EXPECT_EQ(first.fileName, run.dir.file(L"pic\\*.bmp"));
  EXPECT_EQ(opened[1].fileName, run.dir.file(L"pic\\logo.jpg")) << "a second run starts from the confirmed file";
  EXPECT_EQ(run.settings().picturePath, L"pic\\logo.jpg") << "cancelling keeps the path, relative to the program folder";
  EXPECT_EQ(run.controls().pictureNameEdit.text(), L"logo.jpg");

  // The next show starts in the picture folder again and shows the file name of the path it holds.
  run.settings().picturePath = L"D:\\x\\y.bmp";
  run.withDialogOpen([](OptionDialogControls& ctl) {
    EXPECT_EQ(ctl.pictureNameEdit.text(), L"y.bmp");
    ctl.choosePictureButton.click();
  });
  ASSERT_EQ(opened.size(), 3u);
  EXPECT_EQ(opened[2].fileName, run.dir.file(L"pic\\*.bmp"));
}

TEST(Choosers, OneColourChooserForTheThreeSwatchesPreviewsOnTheSplash) {
  OptionRun run;
  auto& ctl = controlsOf(run.option());
  std::vector<ui::Colour> openedWith;
  std::vector<std::optional<ui::Colour>> answers = {0x00112233, std::nullopt, 0x00445566};
  run.services.colourChoice = [&](const ui::ColourDialog& d) {
    openedWith.push_back(d.colour);
    auto a = answers.front();
    answers.erase(answers.begin());
    return a;
  };
  EXPECT_FALSE(ctl.messageBackgroundSwatch.enabled()) << "no background swatch to click without the background switch";
  SendMessageW(ctl.messageBackgroundCheck.hwnd(), BM_CLICK, 0, 0);
  EXPECT_TRUE(ctl.messageBackgroundCheck.checked());
  EXPECT_TRUE(ctl.messageBackgroundSwatch.enabled() && ctl.messageBackgroundLabel.enabled());

  ctl.windowColourSwatch.onClick();
  EXPECT_EQ(ctl.windowColourSwatch.colour(), 0x00112233);
  EXPECT_EQ(run.splash().colour(), 0x00112233);
  ctl.messageTextColourSwatch.onClick();  // cancelled
  EXPECT_EQ(ctl.messageTextColourSwatch.colour(), 0);
  ctl.messageBackgroundSwatch.onClick();
  EXPECT_EQ(ctl.messageBackgroundSwatch.colour(), 0x00445566);
  EXPECT_EQ(run.splash().colour(), 0x00112233);
  const std::vector<ui::Colour> expected = {0, 0x00112233, 0x00112233};
  EXPECT_EQ(openedWith, expected) << "the chooser opens with the colour confirmed last, black at first";
}

TEST(Reactions, OpenedOverTheTopmostSplashTheDialogAndItsAboutBoxStayReachable) {
  OptionRun run;
  ShowWindow(run.splash().hwnd(), SW_SHOWNA);
  auto topmost = [](const ui::Form& f) { return (GetWindowLongW(f.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
  ASSERT_TRUE(topmost(run.splash()));
  bool aboutTopmost = false;
  run.withDialogOpen([&](OptionDialog& o) {
    auto& ctl = controlsOf(o);
    EXPECT_TRUE(topmost(o));
    run.services.queueModalHook([&](ui::Form& about) {
      aboutTopmost = topmost(about);
      about.setModalResult(ui::kResultCancel);
    });
    ctl.aboutButton.click();
  });
  EXPECT_TRUE(aboutTopmost);
  EXPECT_FALSE(topmost(run.option())) << "only while the splash is on screen";
  ShowWindow(run.splash().hwnd(), SW_HIDE);
  run.withDialogOpen([&](OptionDialog& o) { EXPECT_FALSE(topmost(o)); });
}

TEST(OptionScreen, EveryButtonReachesTheScreenAndThePositionButtonFollowsThePlacement) {
  OptionRun run;
  SetCursorPos(0, 0);  // no tooltip over the buttons
  run.withDialogOpen([](OptionDialogControls& ctl) {
    for (const ui::Button* b : {&ctl.okButton, &ctl.closeButton, &ctl.defaultButton, &ctl.choosePictureButton, &ctl.aboutButton, &ctl.startupRegistrationButton, &ctl.positionButton})
      EXPECT_TRUE(pushButtonOnScreen(b->hwnd()));
    // The position button lies inside the placement group, which is above it in the stacking order.
    EXPECT_FALSE(ctl.positionButton.enabled());
    SendMessageW(ctl.placementGroup.itemHwnd(1), BM_CLICK, 0, 0);
    EXPECT_EQ(ctl.placementGroup.itemIndex(), 1);
    EXPECT_TRUE(ctl.positionButton.enabled()) << "a click on the free placement enables the position button";
    EXPECT_TRUE(pushButtonOnScreen(ctl.positionButton.hwnd()));
    // It takes the clicks at its place, too.
    RECT r{};
    GetWindowRect(ctl.positionButton.hwnd(), &r);
    EXPECT_EQ(WindowFromPoint({(r.left + r.right) / 2, (r.top + r.bottom) / 2}), ctl.positionButton.hwnd());
  });
}
