// The option dialog: window and controls as laid out, the message list file, the bottom buttons and the choosers.
#include <gtest/gtest.h>

#include "option_fixture.h"

#include <commdlg.h>

#include "dialogs/Uabout.h"
#include "dialogs/Upos.h"
#include "dialogs/UstupFrm.h"

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

}  // namespace

TEST(OptionLayout, WindowFrameSizeAndPlacement) {
  OptionRun run;
  TOption& o = run.option();
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

  run.withDialogOpen([](TOption& d) {
    EXPECT_EQ(d.left(), (GetSystemMetrics(SM_CXSCREEN) - d.width()) / 2);
    EXPECT_EQ(d.top(), (GetSystemMetrics(SM_CYSCREEN) - d.height()) / 2);
    d.setLeft(3);
  });
  run.withDialogOpen([](TOption& d) { EXPECT_EQ(d.left(), 3) << "centred at the first showing only"; });
}

TEST(OptionLayout, DesignStateOfTheControls) {
  OptionRun run;
  TOption& o = run.option();
  EXPECT_TRUE(o.okBtn.visible() && o.clsBtn.visible() && o.defBtn.visible());
  EXPECT_FALSE(o.iniBtn.visible());
  EXPECT_EQ(o.iniBtn.bounds().x, o.okBtn.bounds().x);
  EXPECT_FALSE(o.osLbl.visible());
  EXPECT_FALSE(o.lblTrans.checked());
  EXPECT_FALSE(o.L2.enabled()) << "the background swatch follows the unchecked switch from creation on";
  EXPECT_FALSE(o.mesCol.enabled());
  EXPECT_EQ(o.winposGrp.itemIndex(), 0);
  EXPECT_EQ(o.splSpn.value(), 5);
  EXPECT_EQ(o.bordSpn.value(), 3);
  EXPECT_EQ(o.fsizEdt.value(), 12);
  EXPECT_EQ(o.ScrollBar1.position(), 100);
  EXPECT_EQ(o.smpTxt.colour(), ui::kButtonFace);
  EXPECT_EQ(o.mesCol2.colour(), 0);
  EXPECT_EQ(o.fEdit.colour(), 0xFF8080);
  EXPECT_TRUE(GetWindowLongW(o.fEdit.hwnd(), GWL_STYLE) & ES_READONLY);
  EXPECT_EQ(o.mesCmb.text(), L"");
  EXPECT_TRUE(o.picturePath.empty());
  EXPECT_EQ(SendMessageW(o.mesCmb.hwnd(), CB_GETMINVISIBLE, 0, 0), 16);
  EXPECT_EQ(SendMessageW(o.nameEdt.hwnd(), EM_GETLIMITTEXT, 0, 0), 30);
  EXPECT_TRUE(o.ScrollBar1.hint().empty() && o.mesCmb.hint().empty());

  // Typed lengths of the spin edits; 10 is reached in the border box only by stepping.
  SetWindowTextW(o.splSpn.hwnd(), L"");
  typeText(o.splSpn.hwnd(), L"1234");
  EXPECT_EQ(o.splSpn.text(), L"123");
  SetWindowTextW(o.bordSpn.hwnd(), L"");
  typeText(o.bordSpn.hwnd(), L"10");
  EXPECT_EQ(o.bordSpn.text(), L"1");
  o.bordSpn.setValue(9);
  o.bordSpn.step(1);
  o.bordSpn.step(1);
  EXPECT_EQ(o.bordSpn.value(), 10);

  // The hand pointer over the switch and the swatches.
  for (ui::Control* c : std::initializer_list<ui::Control*>{&o.lblTrans, &o.smpTxt, &o.mesCol2, &o.BitBtn1}) {
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
    SendMessageW(c->hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(c->hwnd()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_HAND));
  }
}

TEST(OptionLayout, TabGoesThroughTheControlsInTheirOrderAndEnterEscPressOkAndClose) {
  OptionRun run;
  run.withDialogOpen([](TOption& o) {
    o.okBtn.focus();
    const std::vector<HWND> expected = {o.clsBtn.hwnd(),     o.defBtn.hwnd(),  o.splSpn.hwnd(),
                                        o.BitBtn1.hwnd(),    o.fEdit.hwnd(),   o.mesCmb.editHwnd(),
                                        o.lblTrans.hwnd(),   o.fsizEdt.hwnd(), o.bordSpn.hwnd(),
                                        o.ScrollBar1.hwnd(), o.winposGrp.itemHwnd(0), o.BitBtn2.hwnd(),
                                        o.stUp.hwnd(),       o.nameEdt.hwnd(), o.okBtn.hwnd()};
    std::vector<HWND> seen;
    for (size_t i = 0; i < expected.size(); ++i) {
      pressKey(o, VK_TAB);
      seen.push_back(GetFocus());
    }
    EXPECT_EQ(seen, expected);
  });

  int result = 0;
  ui::Form::queueModalHook([](ui::Form& f) {
    static_cast<TOption&>(f).nameEdt.focus();
    pressKey(f, VK_ESCAPE);
  });
  result = run.option().showModal();
  EXPECT_EQ(result, ui::kResultCancel);
  EXPECT_TRUE(splash->Timer1.enabled()) << "Esc is the Close button";
  splash->Timer1.setEnabled(false);

  ui::Form::queueModalHook([](ui::Form& f) {
    static_cast<TOption&>(f).nameEdt.focus();
    pressKey(f, VK_RETURN);
  });
  result = run.option().showModal();
  EXPECT_EQ(result, ui::kResultOk);
  EXPECT_TRUE(fileExists(run.iniPath));
  EXPECT_NE(readFileBytes(run.iniPath).find("splashtime=5"), std::string::npos) << "Enter is the OK button";
}

TEST(MessageFile, AMissingFileIsAnnouncedCreatedWithTheDefaultLinesAndListed) {
  OptionRun run({OptionRun::Mode::Normal, "", false, L""});
  run.option().mesCmb.setText(L"ようこそ");
  run.withDialogOpen([](TOption&) {});
  ASSERT_EQ(run.boxes.boxes.size(), 1u);
  EXPECT_EQ(run.boxes.boxes[0].kind, ui::BoxKind::Notice);
  EXPECT_EQ(run.boxes.boxes[0].text, L"メッセージファイルが見つかりません\n\rメッセージファイルを生成します。");
  EXPECT_EQ(readFileBytes(run.messagePath), defaultMessageFileBytes());
  const std::vector<std::wstring> lines = {L"しばらくお待ち下さい", L"Now Loading...", L"起動中・・・", L"起動ing"};
  EXPECT_EQ(run.option().mesCmb.items(), lines);
  EXPECT_EQ(run.option().mesCmb.text(), L"ようこそ");

  run.withDialogOpen([](TOption&) {});
  EXPECT_EQ(run.boxes.boxes.size(), 1u) << "the next show finds the file";
}

TEST(MessageFile, EachShowRereadsTheLinesAndKeepsTheMessageText) {
  OptionRun run;
  TOption& o = run.option();
  o.mesCmb.setText(L"自分の文");
  writeFileBytes(run.messagePath, "");
  run.withDialogOpen([](TOption&) {});
  EXPECT_TRUE(o.mesCmb.items().empty());
  EXPECT_EQ(o.mesCmb.text(), L"自分の文");

  writeFileBytes(run.messagePath, cp932(L"一行目\r\n\r\n三行目\n四行目"));
  run.withDialogOpen([](TOption&) {});
  const std::vector<std::wstring> lines = {L"一行目", L"", L"三行目", L"四行目"};
  EXPECT_EQ(o.mesCmb.items(), lines);
  EXPECT_EQ(o.mesCmb.text(), L"自分の文");
  EXPECT_TRUE(run.boxes.boxes.empty());
}

TEST(MessageFile, AFileThatCannotBeCreatedOrOpenedIsReportedAndTheDialogStillShows) {
  TempFolder dir;
  const std::wstring missing = dir.file(L"gone");
  OptionRun run({OptionRun::Mode::FirstRun, "", false, missing});
  TOption& o = run.option();
  ASSERT_TRUE(o.posBtn.enabled());
  o.show();
  ASSERT_EQ(run.boxes.boxes.size(), 2u);
  EXPECT_EQ(run.boxes.boxes[0].kind, ui::BoxKind::Notice);
  EXPECT_EQ(run.boxes.boxes[1].kind, ui::BoxKind::Error);
  EXPECT_EQ(run.boxes.boxes[1].text, L"ファイル " + missing + L"\\mes.txt を作成できません.");
  EXPECT_TRUE(o.visible());
  EXPECT_TRUE(o.posBtn.enabled()) << "the steps after the failure are skipped";
  EXPECT_EQ(o.posLbl.text(), L"100%") << "the steps before it ran";
  o.hide();

  OptionRun locked;
  HANDLE lock = CreateFileW(locked.messagePath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  locked.withDialogOpen([](TOption&) {});
  CloseHandle(lock);
  ASSERT_EQ(locked.boxes.boxes.size(), 1u);
  EXPECT_EQ(locked.boxes.boxes[0].text, L"ファイル " + locked.messagePath + L" は開けません.");
}

TEST(BottomButtons, OkSavesEverythingRestartsTheCountdownAndEnds) {
  OptionRun run;
  int result = 0;
  ui::Form::queueModalHook([](ui::Form& f) {
    auto& o = static_cast<TOption&>(f);
    o.splSpn.setValue(8);
    PostMessageW(o.okBtn.hwnd(), BM_CLICK, 0, 0);
  });
  result = run.option().showModal();
  EXPECT_EQ(result, ui::kResultOk);
  EXPECT_TRUE(splash->Timer1.enabled());
  EXPECT_EQ(run.option().defaultMessages, nullptr);
  EXPECT_NE(readFileBytes(run.iniPath).find("splashtime=8\r\n"), std::string::npos);
}

TEST(BottomButtons, CloseAfterEditingSavesNothingAndKeepsTheEditedValues) {
  const std::string saved = "[option]\r\nsplashtime=9\r\n";
  OptionRun run({OptionRun::Mode::Normal, saved, true, L""});
  int result = 0;
  ui::Form::queueModalHook([](ui::Form& f) {
    auto& o = static_cast<TOption&>(f);
    o.splSpn.setValue(8);
    o.ScrollBar1.setPosition(40);
    PostMessageW(o.clsBtn.hwnd(), BM_CLICK, 0, 0);
  });
  result = run.option().showModal();
  EXPECT_EQ(result, ui::kResultCancel);
  EXPECT_TRUE(splash->Timer1.enabled());
  EXPECT_EQ(readFileBytes(run.iniPath), saved);
  splash->Timer1.setEnabled(false);

  run.withDialogOpen([](TOption& o) {
    EXPECT_EQ(o.splSpn.value(), 8);
    EXPECT_EQ(o.posLbl.text(), L"40%");
  });
  // The close box leaves without either handler: the countdown stays stopped.
  EXPECT_FALSE(splash->Timer1.enabled());
  EXPECT_EQ(readFileBytes(run.iniPath), saved);
}

TEST(BottomButtons, DefaultResetsTheEditedValuesWithTheirReactionsButNotTheSplash) {
  OptionRun run;
  TOption& o = run.option();
  splash->setColour(0x00445566);
  o.splSpn.setValue(100);
  o.bordSpn.setValue(0);
  o.mesCmb.setText(L"abc");
  o.ScrollBar1.setPosition(40);
  o.smpTxt.setColour(0x00445566);
  o.lblTrans.setChecked(true);
  o.mesCol.setColour(0x00010203);
  o.mesCol2.setColour(0x00FFFFFF);
  o.winposGrp.setItemIndex(1);
  o.fsizEdt.setValue(30);
  o.nameEdt.setText(L"名前");
  o.picturePath = L"C:\\a.bmp";
  ASSERT_TRUE(o.mesCol.enabled() && o.posBtn.enabled());

  o.defBtnClick();
  EXPECT_EQ(o.splSpn.value(), 5);
  EXPECT_EQ(o.bordSpn.value(), 3);
  EXPECT_EQ(o.mesCmb.text(), L"");
  EXPECT_EQ(o.ScrollBar1.position(), 100);
  EXPECT_EQ(o.posLbl.text(), L"100%");
  EXPECT_EQ(o.ScrollBar1.hint(), L"100%");
  EXPECT_EQ(o.smpTxt.colour(), ui::kButtonFace);
  EXPECT_FALSE(o.lblTrans.checked());
  EXPECT_FALSE(o.L2.enabled());
  EXPECT_FALSE(o.mesCol.enabled());
  EXPECT_EQ(o.mesCol.colour(), ui::kButtonFace);
  EXPECT_EQ(o.mesCol2.colour(), 0);
  EXPECT_EQ(o.winposGrp.itemIndex(), 0);
  EXPECT_FALSE(o.posBtn.enabled());
  EXPECT_EQ(o.fsizEdt.value(), 12);
  EXPECT_EQ(o.nameEdt.text(), L"名前");
  EXPECT_EQ(o.picturePath, L"C:\\a.bmp");
  EXPECT_EQ(splash->colour(), 0x00445566) << "the splash keeps its colours until the next start";
  EXPECT_FALSE(fileExists(run.iniPath) && readFileBytes(run.iniPath).size() > 0) << "nothing is saved";
}

TEST(Choosers, TheImageChooserStartsInThePictureFolderThenFromTheLastConfirmedFile) {
  OptionRun run;
  std::vector<ui::OpenFileDialog> opened;
  std::vector<std::optional<std::wstring>> answers = {run.dir.file(L"pic\\logo.jpg"), std::nullopt,
                                                      std::nullopt};
  ui::OpenFileDialog::setHook([&](const ui::OpenFileDialog& d) {
    opened.push_back(d);
    auto a = answers.front();
    answers.erase(answers.begin());
    return a;
  });
  run.withDialogOpen([](TOption& o) {
    o.BitBtn1Click();
    o.BitBtn1Click();
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
  EXPECT_EQ(run.option().picturePath, run.dir.file(L"pic\\logo.jpg")) << "cancelling keeps the path";
  EXPECT_EQ(run.option().fEdit.text(), L"logo.jpg");

  // The next show starts in the picture folder again and shows the file name of the path it holds.
  run.option().picturePath = L"D:\\x\\y.bmp";
  run.withDialogOpen([](TOption& o) {
    EXPECT_EQ(o.fEdit.text(), L"y.bmp");
    o.BitBtn1Click();
  });
  ASSERT_EQ(opened.size(), 3u);
  EXPECT_EQ(opened[2].fileName, run.dir.file(L"pic\\*.bmp"));
}

TEST(Choosers, OneColourChooserForTheThreeSwatchesPreviewsOnTheSplash) {
  OptionRun run;
  TOption& o = run.option();
  std::vector<ui::Colour> openedWith;
  std::vector<std::optional<ui::Colour>> answers = {0x00112233, std::nullopt, 0x00445566};
  ui::ColourDialog::setHook([&](const ui::ColourDialog& d) {
    openedWith.push_back(d.colour);
    auto a = answers.front();
    answers.erase(answers.begin());
    return a;
  });
  EXPECT_FALSE(o.mesCol.enabled()) << "no background swatch to click without the background switch";
  SendMessageW(o.lblTrans.hwnd(), BM_CLICK, 0, 0);
  EXPECT_TRUE(o.lblTrans.checked());
  EXPECT_TRUE(o.mesCol.enabled() && o.L2.enabled());

  o.smpTxtClick();
  EXPECT_EQ(o.smpTxt.colour(), 0x00112233);
  EXPECT_EQ(splash->colour(), 0x00112233);
  o.mesCol2Click();  // cancelled
  EXPECT_EQ(o.mesCol2.colour(), 0);
  o.mesColClick();
  EXPECT_EQ(o.mesCol.colour(), 0x00445566);
  EXPECT_EQ(splash->colour(), 0x00112233);
  const std::vector<ui::Colour> expected = {0, 0x00112233, 0x00112233};
  EXPECT_EQ(openedWith, expected) << "the chooser opens with the colour confirmed last, black at first";
}

TEST(Reactions, SliderMessagePlacementAndTheSmallDialogs) {
  OptionRun run;
  TOption& o = run.option();
  o.ScrollBar1.setPosition(40);
  EXPECT_EQ(o.ScrollBar1.hint(), L"40%");
  EXPECT_EQ(o.posLbl.text(), L"40%");
  o.mesCmb.setText(L"こんにちは");
  EXPECT_EQ(o.mesCmb.hint(), L"こんにちは");

  std::vector<ui::Form*> modal;
  ui::Form::queueModalHook([&](ui::Form& f) {
    auto& d = static_cast<TOption&>(f);
    SendMessageW(d.winposGrp.itemHwnd(1), BM_CLICK, 0, 0);
    EXPECT_EQ(d.winposGrp.itemIndex(), 1);
    EXPECT_TRUE(d.posBtn.enabled());
    for (ui::Button* b : {&d.posBtn, &d.stUp, &d.BitBtn2}) {
      ui::Form::queueModalHook([&](ui::Form& inner) {
        modal.push_back(&inner);
        inner.setModalResult(ui::kResultCancel);
      });
      b->click();
    }
    d.setModalResult(ui::kResultCancel);
  });
  o.showModal();
  const std::vector<ui::Form*> expected = {posFrm, stupFrm, About};
  EXPECT_EQ(modal, expected);
}

TEST(Reactions, OpenedOverTheTopmostSplashTheDialogAndItsAboutBoxStayReachable) {
  OptionRun run;
  ShowWindow(splash->hwnd(), SW_SHOWNA);
  auto topmost = [](const ui::Form& f) { return (GetWindowLongW(f.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
  ASSERT_TRUE(topmost(*splash));
  bool aboutTopmost = false;
  run.withDialogOpen([&](TOption& o) {
    EXPECT_TRUE(topmost(o));
    ui::Form::queueModalHook([&](ui::Form& about) {
      aboutTopmost = topmost(about);
      about.setModalResult(ui::kResultCancel);
    });
    o.BitBtn2.click();
  });
  EXPECT_TRUE(aboutTopmost);
  EXPECT_FALSE(topmost(run.option())) << "only while the splash is on screen";
  ShowWindow(splash->hwnd(), SW_HIDE);
  run.withDialogOpen([&](TOption& o) { EXPECT_FALSE(topmost(o)); });
}
