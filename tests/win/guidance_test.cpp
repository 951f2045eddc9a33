// The guidance line of the option dialog: focus colouring and texts, mouse-move texts, tooltips, the sliding pointer.
#include <gtest/gtest.h>

#include "option_fixture.h"

#include <commctrl.h>

using namespace lumivex;
using namespace lumivex::testing;

namespace {

void moveOver(HWND h, int x = 2, int y = 2) { SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }

// Real pointer movement to the centre of a window, the way the user's mouse gets there.
void pointAt(HWND h) {
  RECT r{};
  GetWindowRect(h, &r);
  SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  pumpFor(60);
  SetCursorPos((r.left + r.right) / 2 + 1, (r.top + r.bottom) / 2 + 1);
  pumpFor(60);
}

// The tooltip text registered for a control, or nullopt when it has none.
std::optional<std::wstring> tooltipText(const ui::Form& form, HWND control) {
  const HWND tip = tooltipOwnedBy(form.hwnd());
  if (!tip) return std::nullopt;
  std::wstring buffer(1024, L'\0');
  TOOLINFOW ti{};
  ti.cbSize = sizeof(ti);
  ti.hwnd = form.hwnd();
  ti.uId = reinterpret_cast<UINT_PTR>(control);
  ti.uFlags = TTF_IDISHWND;
  ti.lpszText = buffer.data();
  if (!SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti))) return std::nullopt;
  buffer.resize(wcslen(buffer.c_str()));
  return buffer;
}

}  // namespace

TEST(Guidance, FocusColoursTheEditControlsAndExplainsThem) {
  OptionRun run;
  run.withDialogOpen([](TOption& o) {
    EXPECT_EQ(o.manuTxt.text(), L"");
    o.splSpn.focus();
    EXPECT_EQ(o.splSpn.colour(), ui::kWindowBackground);
    EXPECT_EQ(o.manuTxt.text(), L"スプラッシュ表示時間を設定します。1～180");
    // The range mark is the full-width wave of the Japanese code page.
    EXPECT_EQ(cp932(o.manuTxt.text()).substr(cp932(o.manuTxt.text()).size() - 6), "1\x81\x60" "180");
    o.BitBtn1.focus();
    EXPECT_EQ(o.splSpn.colour(), ui::kButtonFace);
    EXPECT_EQ(o.manuTxt.text(), L"");

    o.bordSpn.focus();
    EXPECT_EQ(o.bordSpn.colour(), ui::kWindowBackground);
    EXPECT_EQ(o.manuTxt.text(), L"ウィンドウのボーダー幅を設定します0～10");
    o.fsizEdt.focus();
    EXPECT_EQ(o.bordSpn.colour(), ui::kButtonFace);
    EXPECT_EQ(o.fsizEdt.colour(), ui::kWindowBackground);
    EXPECT_EQ(o.manuTxt.text(), L"フォントサイズを設定します");
    o.mesCmb.focus();
    EXPECT_EQ(o.fsizEdt.colour(), ui::kButtonFace);
    EXPECT_EQ(o.mesCmb.colour(), ui::kWindowBackground);
    EXPECT_EQ(o.manuTxt.text(), L"表示するメッセージを選択します。入力も可能です。");
    o.ScrollBar1.focus();
    EXPECT_EQ(o.mesCmb.colour(), ui::kButtonFace);
    EXPECT_EQ(o.manuTxt.text(), L"半透明ウィンドウの透過度設定です");
    o.BitBtn1.focus();
    EXPECT_EQ(o.manuTxt.text(), L"");

    // Leaving the name box or the placement group keeps their text.
    o.nameEdt.focus();
    EXPECT_EQ(o.nameEdt.colour(), ui::kWindowBackground);
    o.BitBtn1.focus();
    EXPECT_EQ(o.nameEdt.colour(), ui::kButtonFace);
    EXPECT_EQ(o.manuTxt.text(), L"名前を登録します。必須ではありません");
    SetFocus(o.winposGrp.itemHwnd(0));
    EXPECT_EQ(o.manuTxt.text(), L"スプラッシュロゴの表示位置を設定します");
    o.BitBtn1.focus();
    EXPECT_EQ(o.manuTxt.text(), L"スプラッシュロゴの表示位置を設定します");
  });
}

TEST(Guidance, TheRangeIsReadFromTheSpinEditEachTime) {
  OptionRun run;
  run.withDialogOpen([](TOption& o) {
    o.bordSpn.setValue(10);
    o.bordSpn.focus();
    EXPECT_EQ(o.manuTxt.text(), L"ウィンドウのボーダー幅を設定します0～10");
    EXPECT_EQ(o.bordSpn.value(), 10) << "the text is not the value";
  });
}

TEST(Guidance, MouseMovesOverTheControlsExplainThem) {
  OptionRun run;
  run.withDialogOpen([](TOption& o) {
    o.lblTrans.setChecked(true);
    o.winposGrp.setItemIndex(1);
    const std::vector<std::pair<HWND, std::wstring>> cases = {
        {o.smpTxt.hwnd(), L"ウィンドウカラーを設定します"},
        {o.BitBtn1.hwnd(), L"画像を選択して下さい(BMP,JPEG)"},
        {o.lblTrans.hwnd(), L"ロゴに表示される背景色の有無を設定します"},
        {o.defBtn.hwnd(), L"設定を初期値に戻します"},
        {o.okBtn.hwnd(), L"設定を確定しOptionを終了します"},
        {o.clsBtn.hwnd(), L"設定を反映せずにOptionを終了します"},
        {o.BitBtn2.hwnd(), L"About"},
        {o.mesCol.hwnd(), L"背景色を設定します。「背景色無し」の場合は無効です"},
        {o.mesCol2.hwnd(), L"文字色を設定します"},
        {o.stUp.hwnd(), L"スタートアップに登録します"},
        {o.posBtn.hwnd(), L"スプラッシュの位置設定を行います"},
    };
    for (const auto& [hwnd, text] : cases) {
      o.manuTxt.setText(L"");
      moveOver(hwnd);
      EXPECT_EQ(o.manuTxt.text(), text);
    }

    // The translucency group explains itself only over its free area.
    const std::wstring group = L"ロゴの透明度を設定します。Windows2000、XPのみ有効です";
    const ui::Bounds label = o.posLbl.bounds(), bar = o.ScrollBar1.bounds();
    o.manuTxt.setText(L"");
    moveOver(o.GroupBox5.hwnd(), label.x + 1, label.y + 1);
    EXPECT_EQ(o.manuTxt.text(), L"") << "over the percentage label";
    moveOver(o.GroupBox5.hwnd(), bar.x + 5, bar.y + 5);
    EXPECT_EQ(o.manuTxt.text(), L"") << "over the slider";
    moveOver(o.GroupBox5.hwnd(), 170, 48);
    EXPECT_EQ(o.manuTxt.text(), group);

    // Moving away changes nothing; the fields and the name box have no text of their own.
    moveOver(o.fEdit.hwnd());
    moveOver(o.nameEdt.hwnd());
    moveOver(o.hwnd(), 300, 5);
    EXPECT_EQ(o.manuTxt.text(), group);
  });
}

TEST(Guidance, DisabledControlsGiveNoGuidanceUnderTheRealPointer) {
  OptionRun run;
  run.withDialogOpen([](TOption& o) {
    ASSERT_FALSE(o.posBtn.enabled());
    ASSERT_FALSE(o.mesCol.enabled());
    pointAt(o.stUp.hwnd());
    ASSERT_EQ(o.manuTxt.text(), L"スタートアップに登録します") << "the pointer does not reach the dialog";
    pointAt(o.posBtn.hwnd());
    pointAt(o.mesCol.hwnd());
    EXPECT_EQ(o.manuTxt.text(), L"スタートアップに登録します");
    o.winposGrp.setItemIndex(1);
    pointAt(o.stUp.hwnd());
    pointAt(o.posBtn.hwnd());
    EXPECT_EQ(o.manuTxt.text(), L"スプラッシュの位置設定を行います");
  });
}

TEST(Guidance, TooltipsOfTheControlsAndOfTheGuidanceLine) {
  OptionRun run;
  run.withDialogOpen([](TOption& o) {
    const std::vector<std::pair<HWND, std::wstring>> tips = {
        {o.okBtn.hwnd(), L"設定を反映します"},        {o.clsBtn.hwnd(), L"閉じます"},
        {o.defBtn.hwnd(), L"初期設定にします"},
        {o.splSpn.hwnd(), L"スプラッシュの表示時間（秒）を設定します"},
        {o.BitBtn1.hwnd(), L"画像を選択したます"},    {o.bordSpn.hwnd(), L"ボーダー幅"},
        {o.lblTrans.hwnd(), L"背景色"},               {o.mesCol.hwnd(), L"背景色設定"},
        {o.mesCol2.hwnd(), L"文字色設定"},            {o.BitBtn2.hwnd(), L"About"},
        {o.stUp.hwnd(), L"スタートアップに登録"},     {o.posBtn.hwnd(), L"位置設定"},
        {o.nameEdt.hwnd(), L"名前を登録します"},
    };
    for (const auto& [hwnd, text] : tips) EXPECT_EQ(tooltipText(o, hwnd), text);
    for (HWND none : {o.smpTxt.hwnd(), o.fsizEdt.hwnd(), o.fEdit.hwnd(), o.iniBtn.hwnd(), o.winposGrp.hwnd(),
                      o.ScrollBar1.hwnd(), o.mesCmb.hwnd(), o.manuTxt.hwnd()})
      EXPECT_EQ(tooltipText(o, none), std::nullopt);

    o.ScrollBar1.setPosition(55);
    EXPECT_EQ(tooltipText(o, o.ScrollBar1.hwnd()), L"55%");

    // The guidance line shows its whole text as a tooltip, and none while it is empty.
    moveOver(o.okBtn.hwnd());
    moveOver(o.manuTxt.hwnd());
    EXPECT_EQ(tooltipText(o, o.manuTxt.hwnd()), L"設定を確定しOptionを終了します");
    o.splSpn.focus();
    o.BitBtn1.focus();
    moveOver(o.manuTxt.hwnd());
    EXPECT_EQ(tooltipText(o, o.manuTxt.hwnd()), std::nullopt);
  });
}

TEST(Guidance, ThePointerSlidesInOnceAndTheLineKeepsItsTextAcrossShows) {
  OptionRun run;
  run.withDialogOpen([](TOption& o) {
    EXPECT_EQ(o.guiLbl.bounds().x, 498);
    EXPECT_EQ(o.guiLbl.text(), L"▲この位置にガイダンスが表示されます");
    ASSERT_TRUE(o.Timer1.enabled());
    for (int i = 0; i < 240; ++i) o.Timer1Timer();
    EXPECT_EQ(o.guiLbl.bounds().x, 18);
    // The real timer does the last five steps and stops itself at x 8.
    EXPECT_TRUE(pumpUntil([&] { return !o.Timer1.enabled(); }, 3000));
    EXPECT_EQ(o.guiLbl.bounds().x, 8);
    moveOver(o.okBtn.hwnd());
  });
  EXPECT_FALSE(run.option().Timer1.enabled());
  run.withDialogOpen([](TOption& o) {
    EXPECT_EQ(o.manuTxt.text(), L"設定を確定しOptionを終了します") << "the line is not cleared between shows";
    EXPECT_EQ(o.guiLbl.bounds().x, 8);
    EXPECT_TRUE(pumpUntil([&] { return !o.Timer1.enabled(); }, 1000)) << "the first tick stops the timer";
    EXPECT_EQ(o.guiLbl.bounds().x, 8);
  });
}

TEST(Guidance, FocusEventsRunOnlyWhenTheFocusMovesBetweenTheDialogsControls) {
  const std::wstring timeText = L"スプラッシュ表示時間を設定します。1～180";
  OptionRun run;
  run.withDialogOpen([&](TOption& o) {
    o.splSpn.focus();
    ASSERT_EQ(o.manuTxt.text(), timeText);
    ASSERT_EQ(o.splSpn.colour(), ui::kWindowBackground);

    // Another window takes the activation and gives it back: neither Exit nor Enter runs.
    o.manuTxt.setText(L"");
    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    SetActiveWindow(other);
    pumpFor(50);
    EXPECT_EQ(o.splSpn.colour(), ui::kWindowBackground) << "deactivation is no Exit";
    SetActiveWindow(o.hwnd());
    pumpFor(50);
    DestroyWindow(other);
    EXPECT_TRUE(o.splSpn.focused());
    EXPECT_EQ(o.manuTxt.text(), L"") << "activation is no Enter";
    o.manuTxt.setText(timeText);
  });
  // Closed with the focus in the display time: the line and the focus colour stay as they were.
  TOption& o = run.option();
  EXPECT_EQ(o.manuTxt.text(), timeText) << "hiding is no Exit";
  EXPECT_EQ(o.splSpn.colour(), ui::kWindowBackground);

  o.manuTxt.setText(L"");
  run.withDialogOpen([&](TOption& d) {
    EXPECT_TRUE(d.splSpn.focused()) << "the focus comes back where it was";
    EXPECT_EQ(d.manuTxt.text(), L"") << "showing is no Enter";
    // A move between the dialog's own controls runs both.
    d.bordSpn.focus();
    EXPECT_EQ(d.splSpn.colour(), ui::kButtonFace);
    EXPECT_EQ(d.bordSpn.colour(), ui::kWindowBackground);
    EXPECT_EQ(d.manuTxt.text(), L"ウィンドウのボーダー幅を設定します0～10");
    d.mesCmb.focus();
    EXPECT_EQ(d.bordSpn.colour(), ui::kButtonFace);
    EXPECT_EQ(d.manuTxt.text(), L"表示するメッセージを選択します。入力も可能です。");
  });
  EXPECT_EQ(o.manuTxt.text(), L"表示するメッセージを選択します。入力も可能です。") << "nor for the combo box";
}
