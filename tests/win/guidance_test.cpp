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
  run.withDialogOpen([](OptionDialogControls& ctl) {
    EXPECT_EQ(ctl.guidanceLine.text(), L"");
    // Each control taken and left again for a button; the name box keeps its text on leaving.
    const struct {
      ui::Control& control;
      const ui::Coloured* coloured;  // null for a control that keeps its colour
      std::wstring text;
      bool kept;
    } rows[] = {
        {ctl.displaySecondsEdit, &ctl.displaySecondsEdit, L"スプラッシュ表示時間を設定します。1～180", false},
        {ctl.borderWidthEdit, &ctl.borderWidthEdit, L"ウィンドウのボーダー幅を設定します0～10", false},
        {ctl.fontSizeEdit, &ctl.fontSizeEdit, L"フォントサイズを設定します", false},
        {ctl.messageCombo, &ctl.messageCombo, L"表示するメッセージを選択します。入力も可能です。", false},
        {ctl.translucencySlider, nullptr, L"半透明ウィンドウの透過度設定です", false},
        {ctl.userNameEdit, &ctl.userNameEdit, L"名前を登録します。必須ではありません", true},
    };
    for (const auto& row : rows) {
      SCOPED_TRACE(ui::narrow(row.text));
      row.control.focus();
      if (row.coloured) {
        EXPECT_EQ(row.coloured->colour(), ui::kWindowBackground);
      }
      EXPECT_EQ(ctl.guidanceLine.text(), row.text);
      ctl.choosePictureButton.focus();
      if (row.coloured) {
        EXPECT_EQ(row.coloured->colour(), ui::kButtonFace);
      }
      EXPECT_EQ(ctl.guidanceLine.text(), row.kept ? row.text : L"");
    }
    // The range mark is the full-width wave of the Japanese code page.
    EXPECT_EQ(cp932(rows[0].text).substr(cp932(rows[0].text).size() - 6), "1\x81\x60" "180");
    // The placement group keeps its text too.
    SetFocus(ctl.placementGroup.itemHwnd(0));
    EXPECT_EQ(ctl.guidanceLine.text(), L"スプラッシュロゴの表示位置を設定します");
    ctl.choosePictureButton.focus();
    EXPECT_EQ(ctl.guidanceLine.text(), L"スプラッシュロゴの表示位置を設定します");
  });
}

TEST(Guidance, MouseMovesOverTheControlsExplainThem) {
  OptionRun run;
  run.withDialogOpen([](OptionDialog& o) {
    auto& ctl = controlsOf(o);
    ctl.messageBackgroundCheck.setChecked(true);
    ctl.placementGroup.setItemIndex(1);
    const std::vector<std::pair<HWND, std::wstring>> cases = {
        {ctl.windowColourSwatch.hwnd(), L"ウィンドウカラーを設定します"},
        {ctl.choosePictureButton.hwnd(), L"画像を選択して下さい(BMP,JPEG)"},
        {ctl.messageBackgroundCheck.hwnd(), L"ロゴに表示される背景色の有無を設定します"},
        {ctl.defaultButton.hwnd(), L"設定を初期値に戻します"},
        {ctl.okButton.hwnd(), L"設定を確定しOptionを終了します"},
        {ctl.closeButton.hwnd(), L"設定を反映せずにOptionを終了します"},
        {ctl.aboutButton.hwnd(), L"About"},
        {ctl.messageBackgroundSwatch.hwnd(), L"背景色を設定します。「背景色無し」の場合は無効です"},
        {ctl.messageTextColourSwatch.hwnd(), L"文字色を設定します"},
        {ctl.startupRegistrationButton.hwnd(), L"スタートアップに登録します"},
        {ctl.positionButton.hwnd(), L"スプラッシュの位置設定を行います"},
    };
    for (const auto& [hwnd, text] : cases) {
      ctl.guidanceLine.setText(L"");
      moveOver(hwnd);
      EXPECT_EQ(ctl.guidanceLine.text(), text);
    }

    // The translucency group explains itself only over its free area.
    const std::wstring group = L"ロゴの透明度を設定します。Windows2000、XPのみ有効です";
    const ui::Bounds label = ctl.translucencyPercentLabel.bounds(), bar = ctl.translucencySlider.bounds();
    ctl.guidanceLine.setText(L"");
    moveOver(ctl.translucencyGroup.hwnd(), label.x + 1, label.y + 1);
    EXPECT_EQ(ctl.guidanceLine.text(), L"") << "over the percentage label";
    moveOver(ctl.translucencyGroup.hwnd(), bar.x + 5, bar.y + 5);
    EXPECT_EQ(ctl.guidanceLine.text(), L"") << "over the slider";
    moveOver(ctl.translucencyGroup.hwnd(), 170, 48);
    EXPECT_EQ(ctl.guidanceLine.text(), group);

    // Moving away changes nothing; the fields and the name box have no text of their own.
    moveOver(ctl.pictureNameEdit.hwnd());
    moveOver(ctl.userNameEdit.hwnd());
    moveOver(o.hwnd(), 300, 5);
    EXPECT_EQ(ctl.guidanceLine.text(), group);
  });
}

TEST(Guidance, DisabledControlsGiveNoGuidanceUnderTheRealPointer) {
  OptionRun run;
  run.withDialogOpen([](OptionDialogControls& ctl) {
    ASSERT_FALSE(ctl.positionButton.enabled());
    ASSERT_FALSE(ctl.messageBackgroundSwatch.enabled());
    pointAt(ctl.startupRegistrationButton.hwnd());
    ASSERT_EQ(ctl.guidanceLine.text(), L"スタートアップに登録します") << "the pointer does not reach the dialog";
    pointAt(ctl.positionButton.hwnd());
    pointAt(ctl.messageBackgroundSwatch.hwnd());
    EXPECT_EQ(ctl.guidanceLine.text(), L"スタートアップに登録します");
    ctl.placementGroup.setItemIndex(1);
    pointAt(ctl.startupRegistrationButton.hwnd());
    pointAt(ctl.positionButton.hwnd());
    EXPECT_EQ(ctl.guidanceLine.text(), L"スプラッシュの位置設定を行います");
  });
}

TEST(Guidance, TooltipsOfTheControlsAndOfTheGuidanceLine) {
  OptionRun run;
  run.withDialogOpen([](OptionDialog& o) {
    auto& ctl = controlsOf(o);
    const std::vector<std::pair<HWND, std::wstring>> tips = {
        {ctl.okButton.hwnd(), L"設定を反映します"},        {ctl.closeButton.hwnd(), L"閉じます"},
        {ctl.defaultButton.hwnd(), L"初期設定にします"},
        {ctl.displaySecondsEdit.hwnd(), L"スプラッシュの表示時間（秒）を設定します"},
        {ctl.choosePictureButton.hwnd(), L"画像を選択したます"},    {ctl.borderWidthEdit.hwnd(), L"ボーダー幅"},
        {ctl.messageBackgroundCheck.hwnd(), L"背景色"},               {ctl.messageBackgroundSwatch.hwnd(), L"背景色設定"},
        {ctl.messageTextColourSwatch.hwnd(), L"文字色設定"},            {ctl.aboutButton.hwnd(), L"About"},
        {ctl.startupRegistrationButton.hwnd(), L"スタートアップに登録"},     {ctl.positionButton.hwnd(), L"位置設定"},
        {ctl.userNameEdit.hwnd(), L"名前を登録します"},
    };
    for (const auto& [hwnd, text] : tips) EXPECT_EQ(tooltipText(o, hwnd), text);
    for (HWND none : {ctl.windowColourSwatch.hwnd(), ctl.fontSizeEdit.hwnd(), ctl.pictureNameEdit.hwnd(), ctl.setupCompleteButton.hwnd(), ctl.placementGroup.hwnd(),
                      ctl.translucencySlider.hwnd(), ctl.messageCombo.hwnd(), ctl.guidanceLine.hwnd()})
      EXPECT_EQ(tooltipText(o, none), std::nullopt);

    ctl.translucencySlider.setPosition(55);
    EXPECT_EQ(tooltipText(o, ctl.translucencySlider.hwnd()), L"55%");

    // The guidance line shows its whole text as a tooltip, and none while it is empty.
    moveOver(ctl.okButton.hwnd());
    moveOver(ctl.guidanceLine.hwnd());
    EXPECT_EQ(tooltipText(o, ctl.guidanceLine.hwnd()), L"設定を確定しOptionを終了します");
    ctl.displaySecondsEdit.focus();
    ctl.choosePictureButton.focus();
    moveOver(ctl.guidanceLine.hwnd());
    EXPECT_EQ(tooltipText(o, ctl.guidanceLine.hwnd()), std::nullopt);
  });
}

TEST(Guidance, ThePointerSlidesInOnceAndTheLineKeepsItsTextAcrossShows) {
  OptionRun run;
  run.withDialogOpen([](OptionDialogControls& ctl) {
    EXPECT_EQ(ctl.guidancePointer.bounds().x, 498);
    EXPECT_EQ(ctl.guidancePointer.text(), L"▲この位置にガイダンスが表示されます");
    ASSERT_TRUE(ctl.guidanceSlide.enabled());
    for (int i = 0; i < 240; ++i) ctl.guidanceSlide.onTick();
    EXPECT_EQ(ctl.guidancePointer.bounds().x, 18);
    // The real timer does the last five steps and stops itself at x 8.
    EXPECT_TRUE(pumpUntil([&] { return !ctl.guidanceSlide.enabled(); }, 3000));
    EXPECT_EQ(ctl.guidancePointer.bounds().x, 8);
    moveOver(ctl.okButton.hwnd());
  });
  EXPECT_FALSE(run.controls().guidanceSlide.enabled());
  run.withDialogOpen([](OptionDialogControls& ctl) {
    EXPECT_EQ(ctl.guidanceLine.text(), L"設定を確定しOptionを終了します") << "the line is not cleared between shows";
    EXPECT_EQ(ctl.guidancePointer.bounds().x, 8);
    EXPECT_TRUE(pumpUntil([&] { return !ctl.guidanceSlide.enabled(); }, 1000)) << "the first tick stops the timer";
    EXPECT_EQ(ctl.guidancePointer.bounds().x, 8);
  });
}

TEST(Guidance, FocusEventsRunOnlyWhenTheFocusMovesBetweenTheDialogsControls) {
  const std::wstring timeText = L"スプラッシュ表示時間を設定します。1～180";
  OptionRun run;
  run.withDialogOpen([&](OptionDialog& o) {
    auto& ctl = controlsOf(o);
    ctl.displaySecondsEdit.focus();
    ASSERT_EQ(ctl.guidanceLine.text(), timeText);
    ASSERT_EQ(ctl.displaySecondsEdit.colour(), ui::kWindowBackground);

    // Another window takes the activation and gives it back: neither Exit nor Enter runs.
    ctl.guidanceLine.setText(L"");
    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    SetActiveWindow(other);
    pumpFor(50);
    EXPECT_EQ(ctl.displaySecondsEdit.colour(), ui::kWindowBackground) << "deactivation is no Exit";
    SetActiveWindow(o.hwnd());
    pumpFor(50);
    DestroyWindow(other);
    EXPECT_TRUE(ctl.displaySecondsEdit.focused());
    EXPECT_EQ(ctl.guidanceLine.text(), L"") << "activation is no Enter";
    ctl.guidanceLine.setText(timeText);
  });
  // Closed with the focus in the display time: the line and the focus colour stay as they were.
  auto& ctl = controlsOf(run.option());
  EXPECT_EQ(ctl.guidanceLine.text(), timeText) << "hiding is no Exit";
  EXPECT_EQ(ctl.displaySecondsEdit.colour(), ui::kWindowBackground);

  ctl.guidanceLine.setText(L"");
  run.withDialogOpen([&](OptionDialogControls& ctl) {
    EXPECT_TRUE(ctl.displaySecondsEdit.focused()) << "the focus comes back where it was";
    EXPECT_EQ(ctl.guidanceLine.text(), L"") << "showing is no Enter";
    // A move between the dialog's own controls runs both.
    ctl.messageCombo.focus();
    EXPECT_EQ(ctl.displaySecondsEdit.colour(), ui::kButtonFace);
    EXPECT_EQ(ctl.guidanceLine.text(), L"表示するメッセージを選択します。入力も可能です。");
  });
  EXPECT_EQ(ctl.guidanceLine.text(), L"表示するメッセージを選択します。入力も可能です。") << "nor for the combo box";
}
