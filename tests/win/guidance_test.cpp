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
  run.withDialogOpen([](OptionDialog& o) {
    EXPECT_EQ(o.guidanceLine.text(), L"");
    o.displaySecondsEdit.focus();
    EXPECT_EQ(o.displaySecondsEdit.colour(), ui::kWindowBackground);
    EXPECT_EQ(o.guidanceLine.text(), L"スプラッシュ表示時間を設定します。1～180");
    // The range mark is the full-width wave of the Japanese code page.
    EXPECT_EQ(cp932(o.guidanceLine.text()).substr(cp932(o.guidanceLine.text()).size() - 6), "1\x81\x60" "180");
    o.choosePictureButton.focus();
    EXPECT_EQ(o.displaySecondsEdit.colour(), ui::kButtonFace);
    EXPECT_EQ(o.guidanceLine.text(), L"");

    o.borderWidthEdit.focus();
    EXPECT_EQ(o.borderWidthEdit.colour(), ui::kWindowBackground);
    EXPECT_EQ(o.guidanceLine.text(), L"ウィンドウのボーダー幅を設定します0～10");
    o.fontSizeEdit.focus();
    EXPECT_EQ(o.borderWidthEdit.colour(), ui::kButtonFace);
    EXPECT_EQ(o.fontSizeEdit.colour(), ui::kWindowBackground);
    EXPECT_EQ(o.guidanceLine.text(), L"フォントサイズを設定します");
    o.messageCombo.focus();
    EXPECT_EQ(o.fontSizeEdit.colour(), ui::kButtonFace);
    EXPECT_EQ(o.messageCombo.colour(), ui::kWindowBackground);
    EXPECT_EQ(o.guidanceLine.text(), L"表示するメッセージを選択します。入力も可能です。");
    o.translucencySlider.focus();
    EXPECT_EQ(o.messageCombo.colour(), ui::kButtonFace);
    EXPECT_EQ(o.guidanceLine.text(), L"半透明ウィンドウの透過度設定です");
    o.choosePictureButton.focus();
    EXPECT_EQ(o.guidanceLine.text(), L"");

    // Leaving the name box or the placement group keeps their text.
    o.userNameEdit.focus();
    EXPECT_EQ(o.userNameEdit.colour(), ui::kWindowBackground);
    o.choosePictureButton.focus();
    EXPECT_EQ(o.userNameEdit.colour(), ui::kButtonFace);
    EXPECT_EQ(o.guidanceLine.text(), L"名前を登録します。必須ではありません");
    SetFocus(o.placementGroup.itemHwnd(0));
    EXPECT_EQ(o.guidanceLine.text(), L"スプラッシュロゴの表示位置を設定します");
    o.choosePictureButton.focus();
    EXPECT_EQ(o.guidanceLine.text(), L"スプラッシュロゴの表示位置を設定します");
  });
}

TEST(Guidance, ASpinEditsTextNamesItsRangeWhateverItHolds) {
  OptionRun run;
  run.withDialogOpen([](OptionDialog& o) {
    for (const int value : {7, 0, 10}) {
      o.borderWidthEdit.setValue(value);
      o.displaySecondsEdit.focus();
      o.borderWidthEdit.focus();
      EXPECT_EQ(o.guidanceLine.text(), L"ウィンドウのボーダー幅を設定します0～10") << value;
    }
  });
}

TEST(Guidance, MouseMovesOverTheControlsExplainThem) {
  OptionRun run;
  run.withDialogOpen([](OptionDialog& o) {
    o.messageBackgroundCheck.setChecked(true);
    o.placementGroup.setItemIndex(1);
    const std::vector<std::pair<HWND, std::wstring>> cases = {
        {o.windowColourSwatch.hwnd(), L"ウィンドウカラーを設定します"},
        {o.choosePictureButton.hwnd(), L"画像を選択して下さい(BMP,JPEG)"},
        {o.messageBackgroundCheck.hwnd(), L"ロゴに表示される背景色の有無を設定します"},
        {o.defaultButton.hwnd(), L"設定を初期値に戻します"},
        {o.okButton.hwnd(), L"設定を確定しOptionを終了します"},
        {o.closeButton.hwnd(), L"設定を反映せずにOptionを終了します"},
        {o.aboutButton.hwnd(), L"About"},
        {o.messageBackgroundSwatch.hwnd(), L"背景色を設定します。「背景色無し」の場合は無効です"},
        {o.messageTextColourSwatch.hwnd(), L"文字色を設定します"},
        {o.startupRegistrationButton.hwnd(), L"スタートアップに登録します"},
        {o.positionButton.hwnd(), L"スプラッシュの位置設定を行います"},
    };
    for (const auto& [hwnd, text] : cases) {
      o.guidanceLine.setText(L"");
      moveOver(hwnd);
      EXPECT_EQ(o.guidanceLine.text(), text);
    }

    // The translucency group explains itself only over its free area.
    const std::wstring group = L"ロゴの透明度を設定します。Windows2000、XPのみ有効です";
    const ui::Bounds label = o.translucencyPercentLabel.bounds(), bar = o.translucencySlider.bounds();
    o.guidanceLine.setText(L"");
    moveOver(o.translucencyGroup.hwnd(), label.x + 1, label.y + 1);
    EXPECT_EQ(o.guidanceLine.text(), L"") << "over the percentage label";
    moveOver(o.translucencyGroup.hwnd(), bar.x + 5, bar.y + 5);
    EXPECT_EQ(o.guidanceLine.text(), L"") << "over the slider";
    moveOver(o.translucencyGroup.hwnd(), 170, 48);
    EXPECT_EQ(o.guidanceLine.text(), group);

    // Moving away changes nothing; the fields and the name box have no text of their own.
    moveOver(o.pictureNameEdit.hwnd());
    moveOver(o.userNameEdit.hwnd());
    moveOver(o.hwnd(), 300, 5);
    EXPECT_EQ(o.guidanceLine.text(), group);
  });
}

TEST(Guidance, DisabledControlsGiveNoGuidanceUnderTheRealPointer) {
  OptionRun run;
  run.withDialogOpen([](OptionDialog& o) {
    ASSERT_FALSE(o.positionButton.enabled());
    ASSERT_FALSE(o.messageBackgroundSwatch.enabled());
    pointAt(o.startupRegistrationButton.hwnd());
    ASSERT_EQ(o.guidanceLine.text(), L"スタートアップに登録します") << "the pointer does not reach the dialog";
    pointAt(o.positionButton.hwnd());
    pointAt(o.messageBackgroundSwatch.hwnd());
    EXPECT_EQ(o.guidanceLine.text(), L"スタートアップに登録します");
    o.placementGroup.setItemIndex(1);
    pointAt(o.startupRegistrationButton.hwnd());
    pointAt(o.positionButton.hwnd());
    EXPECT_EQ(o.guidanceLine.text(), L"スプラッシュの位置設定を行います");
  });
}

TEST(Guidance, TooltipsOfTheControlsAndOfTheGuidanceLine) {
  OptionRun run;
  run.withDialogOpen([](OptionDialog& o) {
    const std::vector<std::pair<HWND, std::wstring>> tips = {
        {o.okButton.hwnd(), L"設定を反映します"},        {o.closeButton.hwnd(), L"閉じます"},
        {o.defaultButton.hwnd(), L"初期設定にします"},
        {o.displaySecondsEdit.hwnd(), L"スプラッシュの表示時間（秒）を設定します"},
        {o.choosePictureButton.hwnd(), L"画像を選択したます"},    {o.borderWidthEdit.hwnd(), L"ボーダー幅"},
        {o.messageBackgroundCheck.hwnd(), L"背景色"},               {o.messageBackgroundSwatch.hwnd(), L"背景色設定"},
        {o.messageTextColourSwatch.hwnd(), L"文字色設定"},            {o.aboutButton.hwnd(), L"About"},
        {o.startupRegistrationButton.hwnd(), L"スタートアップに登録"},     {o.positionButton.hwnd(), L"位置設定"},
        {o.userNameEdit.hwnd(), L"名前を登録します"},
    };
    for (const auto& [hwnd, text] : tips) EXPECT_EQ(tooltipText(o, hwnd), text);
    for (HWND none : {o.windowColourSwatch.hwnd(), o.fontSizeEdit.hwnd(), o.pictureNameEdit.hwnd(), o.setupCompleteButton.hwnd(), o.placementGroup.hwnd(),
                      o.translucencySlider.hwnd(), o.messageCombo.hwnd(), o.guidanceLine.hwnd()})
      EXPECT_EQ(tooltipText(o, none), std::nullopt);

    o.translucencySlider.setPosition(55);
    EXPECT_EQ(tooltipText(o, o.translucencySlider.hwnd()), L"55%");

    // The guidance line shows its whole text as a tooltip, and none while it is empty.
    moveOver(o.okButton.hwnd());
    moveOver(o.guidanceLine.hwnd());
    EXPECT_EQ(tooltipText(o, o.guidanceLine.hwnd()), L"設定を確定しOptionを終了します");
    o.displaySecondsEdit.focus();
    o.choosePictureButton.focus();
    moveOver(o.guidanceLine.hwnd());
    EXPECT_EQ(tooltipText(o, o.guidanceLine.hwnd()), std::nullopt);
  });
}

TEST(Guidance, ThePointerSlidesInOnceAndTheLineKeepsItsTextAcrossShows) {
  OptionRun run;
  run.withDialogOpen([](OptionDialog& o) {
    EXPECT_EQ(o.guidancePointer.bounds().x, 498);
    EXPECT_EQ(o.guidancePointer.text(), L"▲この位置にガイダンスが表示されます");
    ASSERT_TRUE(o.guidanceSlide.enabled());
    for (int i = 0; i < 240; ++i) o.onGuidanceSlideTick();
    EXPECT_EQ(o.guidancePointer.bounds().x, 18);
    // The real timer does the last five steps and stops itself at x 8.
    EXPECT_TRUE(pumpUntil([&] { return !o.guidanceSlide.enabled(); }, 3000));
    EXPECT_EQ(o.guidancePointer.bounds().x, 8);
    moveOver(o.okButton.hwnd());
  });
  EXPECT_FALSE(run.option().guidanceSlide.enabled());
  run.withDialogOpen([](OptionDialog& o) {
    EXPECT_EQ(o.guidanceLine.text(), L"設定を確定しOptionを終了します") << "the line is not cleared between shows";
    EXPECT_EQ(o.guidancePointer.bounds().x, 8);
    EXPECT_TRUE(pumpUntil([&] { return !o.guidanceSlide.enabled(); }, 1000)) << "the first tick stops the timer";
    EXPECT_EQ(o.guidancePointer.bounds().x, 8);
  });
}

TEST(Guidance, FocusEventsRunOnlyWhenTheFocusMovesBetweenTheDialogsControls) {
  const std::wstring timeText = L"スプラッシュ表示時間を設定します。1～180";
  OptionRun run;
  run.withDialogOpen([&](OptionDialog& o) {
    o.displaySecondsEdit.focus();
    ASSERT_EQ(o.guidanceLine.text(), timeText);
    ASSERT_EQ(o.displaySecondsEdit.colour(), ui::kWindowBackground);

    // Another window takes the activation and gives it back: neither Exit nor Enter runs.
    o.guidanceLine.setText(L"");
    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    SetActiveWindow(other);
    pumpFor(50);
    EXPECT_EQ(o.displaySecondsEdit.colour(), ui::kWindowBackground) << "deactivation is no Exit";
    SetActiveWindow(o.hwnd());
    pumpFor(50);
    DestroyWindow(other);
    EXPECT_TRUE(o.displaySecondsEdit.focused());
    EXPECT_EQ(o.guidanceLine.text(), L"") << "activation is no Enter";
    o.guidanceLine.setText(timeText);
  });
  // Closed with the focus in the display time: the line and the focus colour stay as they were.
  OptionDialog& o = run.option();
  EXPECT_EQ(o.guidanceLine.text(), timeText) << "hiding is no Exit";
  EXPECT_EQ(o.displaySecondsEdit.colour(), ui::kWindowBackground);

  o.guidanceLine.setText(L"");
  run.withDialogOpen([&](OptionDialog& d) {
    EXPECT_TRUE(d.displaySecondsEdit.focused()) << "the focus comes back where it was";
    EXPECT_EQ(d.guidanceLine.text(), L"") << "showing is no Enter";
    // A move between the dialog's own controls runs both.
    d.borderWidthEdit.focus();
    EXPECT_EQ(d.displaySecondsEdit.colour(), ui::kButtonFace);
    EXPECT_EQ(d.borderWidthEdit.colour(), ui::kWindowBackground);
    EXPECT_EQ(d.guidanceLine.text(), L"ウィンドウのボーダー幅を設定します0～10");
    d.messageCombo.focus();
    EXPECT_EQ(d.borderWidthEdit.colour(), ui::kButtonFace);
    EXPECT_EQ(d.guidanceLine.text(), L"表示するメッセージを選択します。入力も可能です。");
  });
  EXPECT_EQ(o.guidanceLine.text(), L"表示するメッセージを選択します。入力も可能です。") << "nor for the combo box";
}
