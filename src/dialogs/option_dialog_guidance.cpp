// The option dialog's guidance line: focus colouring, guidance texts, tooltips and the sliding pointer.
#include "dialogs/option_dialog.h"

#include "ui/text.h"

namespace lumivex {
namespace {

// A control that guides while it has the focus; an edit field is also coloured as the one being edited.
struct FocusGuidance {
  ui::Control& control;
  std::function<void(ui::Colour)> recolour;  // empty for controls that keep their colour
  std::wstring text;
  bool clearsOnExit;
};

// A control that guides while the mouse moves over it.
struct PointerGuidance {
  ui::Control& control;
  const wchar_t* text;
};

std::wstring withRange(const wchar_t* text, const ui::SpinEdit& edit) {
  return text + ui::decimal(edit.minValue()) + L"～" + ui::decimal(edit.maxValue());
}

}  // namespace

void OptionDialog::setUpGuidance() {
  okButton.setHint(L"設定を反映します");
  closeButton.setHint(L"閉じます");
  defaultButton.setHint(L"初期設定にします");
  displaySecondsEdit.setHint(L"スプラッシュの表示時間（秒）を設定します");
  choosePictureButton.setHint(L"画像を選択したます");
  borderWidthEdit.setHint(L"ボーダー幅");
  messageBackgroundCheck.setHint(L"背景色");
  messageBackgroundSwatch.setHint(L"背景色設定");
  messageTextColourSwatch.setHint(L"文字色設定");
  aboutButton.setHint(L"About");
  startupRegistrationButton.setHint(L"スタートアップに登録");
  positionButton.setHint(L"位置設定");
  userNameEdit.setHint(L"名前を登録します");
  effectsButton.setHint(L"効果設定");

  const auto recolour = [](auto& edit) { return [&edit](ui::Colour c) { edit.setColour(c); }; };
  const FocusGuidance focusRows[] = {
      {displaySecondsEdit, recolour(displaySecondsEdit),
       withRange(L"スプラッシュ表示時間を設定します。", displaySecondsEdit), true},
      {borderWidthEdit, recolour(borderWidthEdit), withRange(L"ウィンドウのボーダー幅を設定します", borderWidthEdit),
       true},
      {messageCombo, recolour(messageCombo), L"表示するメッセージを選択します。入力も可能です。", true},
      {fontSizeEdit, recolour(fontSizeEdit), L"フォントサイズを設定します", true},
      {userNameEdit, recolour(userNameEdit), L"名前を登録します。必須ではありません", false},
      {translucencySlider, nullptr, L"半透明ウィンドウの透過度設定です", true},
      {placementGroup, nullptr, L"スプラッシュロゴの表示位置を設定します", false},
  };
  for (const FocusGuidance& row : focusRows) {
    row.control.onEnter = [this, recolour = row.recolour, text = row.text] {
      if (recolour) recolour(ui::kWindowBackground);
      guidanceLine.setText(text);
    };
    if (!row.recolour && !row.clearsOnExit) continue;
    row.control.onExit = [this, recolour = row.recolour, clears = row.clearsOnExit] {
      if (recolour) recolour(ui::kButtonFace);
      if (clears) guidanceLine.setText(L"");
    };
  }

  const PointerGuidance pointerRows[] = {
      {windowColourSwatch, L"ウィンドウカラーを設定します"},
      {choosePictureButton, L"画像を選択して下さい(BMP,JPEG)"},
      {messageBackgroundCheck, L"ロゴに表示される背景色の有無を設定します"},
      {defaultButton, L"設定を初期値に戻します"},
      {okButton, L"設定を確定しOptionを終了します"},
      {closeButton, L"設定を反映せずにOptionを終了します"},
      {aboutButton, L"About"},
      {messageBackgroundSwatch, L"背景色を設定します。「背景色無し」の場合は無効です"},
      {messageTextColourSwatch, L"文字色を設定します"},
      {startupRegistrationButton, L"スタートアップに登録します"},
      {positionButton, L"スプラッシュの位置設定を行います"},
      {effectsButton, L"フェードイン・フェードアウトを設定します"},
  };
  for (const PointerGuidance& row : pointerRows)
    row.control.onMouseMove = [this, text = row.text] { guidanceLine.setText(text); };
  translucencyGroup.onMouseMove = [this] {
    // The group box also hears the mouse over its labels, which let it through; only its free area guides.
    const POINT at = translucencyGroup.mousePoint();
    if (ChildWindowFromPointEx(translucencyGroup.hwnd(), at, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED) !=
        translucencyGroup.hwnd())
      return;
    guidanceLine.setText(L"ロゴの透明度を設定します。Windows2000、XPのみ有効です");
  };
  guidanceLine.onMouseMove = [this] { guidanceLine.setHint(guidanceLine.text()); };

  guidanceSlide.onTick = [this] { onGuidanceSlideTick(); };
}

void OptionDialog::onGuidanceSlideTick() {
  const int x = guidancePointer.bounds().x;
  if (x > 8) guidancePointer.setLeft(x - 2);
  else guidanceSlide.setEnabled(false);
}

}  // namespace lumivex
