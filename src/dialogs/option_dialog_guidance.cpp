// The option dialog's guidance line: focus colouring, guidance texts, tooltips and the sliding pointer.
#include "dialogs/option_dialog.h"

#include "ui/text.h"

namespace lumivex {

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

  displaySecondsEdit.onEnter = [this] { splSpnEnter(); };
  displaySecondsEdit.onExit = [this] { splSpnExit(); };
  borderWidthEdit.onEnter = [this] { bordSpnEnter(); };
  borderWidthEdit.onExit = [this] { bordSpnExit(); };
  messageCombo.onEnter = [this] { mesCmbEnter(); };
  messageCombo.onExit = [this] { mesCmbExit(); };
  fontSizeEdit.onEnter = [this] { fsizEdtEnter(); };
  fontSizeEdit.onExit = [this] { fsizEdtExit(); };
  userNameEdit.onEnter = [this] { nameEdtEnter(); };
  userNameEdit.onExit = [this] { nameEdtExit(); };
  translucencySlider.onEnter = [this] { ScrollBar1Enter(); };
  translucencySlider.onExit = [this] { ScrollBar1Exit(); };
  placementGroup.onEnter = [this] { winposGrpEnter(); };

  windowColourSwatch.onMouseMove = [this] { smpTxtMouseMove(); };
  choosePictureButton.onMouseMove = [this] { BitBtn1MouseMove(); };
  messageBackgroundCheck.onMouseMove = [this] { lblTransMouseMove(); };
  translucencyGroup.onMouseMove = [this] { GroupBox5MouseMove(); };
  defaultButton.onMouseMove = [this] { defBtnMouseMove(); };
  okButton.onMouseMove = [this] { okBtnMouseMove(); };
  closeButton.onMouseMove = [this] { clsBtnMouseMove(); };
  aboutButton.onMouseMove = [this] { BitBtn2MouseMove(); };
  messageBackgroundSwatch.onMouseMove = [this] { mesColMouseMove(); };
  messageTextColourSwatch.onMouseMove = [this] { mesCol2MouseMove(); };
  startupRegistrationButton.onMouseMove = [this] { stUpMouseMove(); };
  positionButton.onMouseMove = [this] { posBtnMouseMove(); };
  guidanceLine.onMouseMove = [this] { manuTxtMouseMove(); };

  guidanceSlide.onTick = [this] { onGuidanceSlideTick(); };
}

void OptionDialog::splSpnEnter() {
  displaySecondsEdit.setColour(ui::kWindowBackground);
  guidanceLine.setText(L"スプラッシュ表示時間を設定します。" + ui::decimal(displaySecondsEdit.minValue()) + L"～" +
                  ui::decimal(displaySecondsEdit.maxValue()));
}

void OptionDialog::splSpnExit() {
  displaySecondsEdit.setColour(ui::kButtonFace);
  guidanceLine.setText(L"");
}

void OptionDialog::bordSpnEnter() {
  borderWidthEdit.setColour(ui::kWindowBackground);
  guidanceLine.setText(L"ウィンドウのボーダー幅を設定します" + ui::decimal(borderWidthEdit.minValue()) + L"～" +
                  ui::decimal(borderWidthEdit.maxValue()));
}

void OptionDialog::bordSpnExit() {
  borderWidthEdit.setColour(ui::kButtonFace);
  guidanceLine.setText(L"");
}

void OptionDialog::mesCmbEnter() {
  messageCombo.setColour(ui::kWindowBackground);
  guidanceLine.setText(L"表示するメッセージを選択します。入力も可能です。");
}

void OptionDialog::mesCmbExit() {
  messageCombo.setColour(ui::kButtonFace);
  guidanceLine.setText(L"");
}

void OptionDialog::fsizEdtEnter() {
  fontSizeEdit.setColour(ui::kWindowBackground);
  guidanceLine.setText(L"フォントサイズを設定します");
}

void OptionDialog::fsizEdtExit() {
  fontSizeEdit.setColour(ui::kButtonFace);
  guidanceLine.setText(L"");
}

void OptionDialog::nameEdtEnter() {
  userNameEdit.setColour(ui::kWindowBackground);
  guidanceLine.setText(L"名前を登録します。必須ではありません");
}

void OptionDialog::nameEdtExit() { userNameEdit.setColour(ui::kButtonFace); }

void OptionDialog::ScrollBar1Enter() { guidanceLine.setText(L"半透明ウィンドウの透過度設定です"); }
void OptionDialog::ScrollBar1Exit() { guidanceLine.setText(L""); }
void OptionDialog::winposGrpEnter() { guidanceLine.setText(L"スプラッシュロゴの表示位置を設定します"); }

void OptionDialog::smpTxtMouseMove() { guidanceLine.setText(L"ウィンドウカラーを設定します"); }
void OptionDialog::BitBtn1MouseMove() { guidanceLine.setText(L"画像を選択して下さい(BMP,JPEG)"); }
void OptionDialog::lblTransMouseMove() { guidanceLine.setText(L"ロゴに表示される背景色の有無を設定します"); }

void OptionDialog::GroupBox5MouseMove() {
  // The group box also hears the mouse over its labels, which let it through; only its free area guides.
  const POINT at = translucencyGroup.mousePoint();
  if (ChildWindowFromPointEx(translucencyGroup.hwnd(), at, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED) != translucencyGroup.hwnd()) return;
  guidanceLine.setText(L"ロゴの透明度を設定します。Windows2000、XPのみ有効です");
}

void OptionDialog::defBtnMouseMove() { guidanceLine.setText(L"設定を初期値に戻します"); }
void OptionDialog::okBtnMouseMove() { guidanceLine.setText(L"設定を確定しOptionを終了します"); }
void OptionDialog::clsBtnMouseMove() { guidanceLine.setText(L"設定を反映せずにOptionを終了します"); }
void OptionDialog::BitBtn2MouseMove() { guidanceLine.setText(L"About"); }
void OptionDialog::mesColMouseMove() { guidanceLine.setText(L"背景色を設定します。「背景色無し」の場合は無効です"); }
void OptionDialog::mesCol2MouseMove() { guidanceLine.setText(L"文字色を設定します"); }
void OptionDialog::stUpMouseMove() { guidanceLine.setText(L"スタートアップに登録します"); }
void OptionDialog::posBtnMouseMove() { guidanceLine.setText(L"スプラッシュの位置設定を行います"); }
void OptionDialog::manuTxtMouseMove() { guidanceLine.setHint(guidanceLine.text()); }

void OptionDialog::onGuidanceSlideTick() {
  const int x = guidancePointer.bounds().x;
  if (x > 8) guidancePointer.setLeft(x - 2);
  else guidanceSlide.setEnabled(false);
}

}  // namespace lumivex
