// The option dialog's guidance line: focus colouring, guidance texts, tooltips and the sliding pointer.
#include "dialogs/Uoption.h"

#include "ui/text.h"

namespace lumivex {

void TOption::setUpGuidance() {
  okBtn.setHint(L"設定を反映します");
  clsBtn.setHint(L"閉じます");
  defBtn.setHint(L"初期設定にします");
  splSpn.setHint(L"スプラッシュの表示時間（秒）を設定します");
  BitBtn1.setHint(L"画像を選択したます");
  bordSpn.setHint(L"ボーダー幅");
  lblTrans.setHint(L"背景色");
  mesCol.setHint(L"背景色設定");
  mesCol2.setHint(L"文字色設定");
  BitBtn2.setHint(L"About");
  stUp.setHint(L"スタートアップに登録");
  posBtn.setHint(L"位置設定");
  nameEdt.setHint(L"名前を登録します");

  splSpn.onEnter = [this] { splSpnEnter(); };
  splSpn.onExit = [this] { splSpnExit(); };
  bordSpn.onEnter = [this] { bordSpnEnter(); };
  bordSpn.onExit = [this] { bordSpnExit(); };
  mesCmb.onEnter = [this] { mesCmbEnter(); };
  mesCmb.onExit = [this] { mesCmbExit(); };
  fsizEdt.onEnter = [this] { fsizEdtEnter(); };
  fsizEdt.onExit = [this] { fsizEdtExit(); };
  nameEdt.onEnter = [this] { nameEdtEnter(); };
  nameEdt.onExit = [this] { nameEdtExit(); };
  ScrollBar1.onEnter = [this] { ScrollBar1Enter(); };
  ScrollBar1.onExit = [this] { ScrollBar1Exit(); };
  winposGrp.onEnter = [this] { winposGrpEnter(); };

  smpTxt.onMouseMove = [this] { smpTxtMouseMove(); };
  BitBtn1.onMouseMove = [this] { BitBtn1MouseMove(); };
  lblTrans.onMouseMove = [this] { lblTransMouseMove(); };
  GroupBox5.onMouseMove = [this] { GroupBox5MouseMove(); };
  defBtn.onMouseMove = [this] { defBtnMouseMove(); };
  okBtn.onMouseMove = [this] { okBtnMouseMove(); };
  clsBtn.onMouseMove = [this] { clsBtnMouseMove(); };
  BitBtn2.onMouseMove = [this] { BitBtn2MouseMove(); };
  mesCol.onMouseMove = [this] { mesColMouseMove(); };
  mesCol2.onMouseMove = [this] { mesCol2MouseMove(); };
  stUp.onMouseMove = [this] { stUpMouseMove(); };
  posBtn.onMouseMove = [this] { posBtnMouseMove(); };
  manuTxt.onMouseMove = [this] { manuTxtMouseMove(); };

  Timer1.onTick = [this] { Timer1Timer(); };
}

void TOption::splSpnEnter() {
  splSpn.setColour(ui::kWindowBackground);
  manuTxt.setText(L"スプラッシュ表示時間を設定します。" + ui::decimal(splSpn.minValue()) + L"～" +
                  ui::decimal(splSpn.maxValue()));
}

void TOption::splSpnExit() {
  splSpn.setColour(ui::kButtonFace);
  manuTxt.setText(L"");
}

void TOption::bordSpnEnter() {
  bordSpn.setColour(ui::kWindowBackground);
  manuTxt.setText(L"ウィンドウのボーダー幅を設定します" + ui::decimal(bordSpn.minValue()) + L"～" +
                  ui::decimal(bordSpn.maxValue()));
}

void TOption::bordSpnExit() {
  bordSpn.setColour(ui::kButtonFace);
  manuTxt.setText(L"");
}

void TOption::mesCmbEnter() {
  mesCmb.setColour(ui::kWindowBackground);
  manuTxt.setText(L"表示するメッセージを選択します。入力も可能です。");
}

void TOption::mesCmbExit() {
  mesCmb.setColour(ui::kButtonFace);
  manuTxt.setText(L"");
}

void TOption::fsizEdtEnter() {
  fsizEdt.setColour(ui::kWindowBackground);
  manuTxt.setText(L"フォントサイズを設定します");
}

void TOption::fsizEdtExit() {
  fsizEdt.setColour(ui::kButtonFace);
  manuTxt.setText(L"");
}

void TOption::nameEdtEnter() {
  nameEdt.setColour(ui::kWindowBackground);
  manuTxt.setText(L"名前を登録します。必須ではありません");
}

void TOption::nameEdtExit() { nameEdt.setColour(ui::kButtonFace); }

void TOption::ScrollBar1Enter() { manuTxt.setText(L"半透明ウィンドウの透過度設定です"); }
void TOption::ScrollBar1Exit() { manuTxt.setText(L""); }
void TOption::winposGrpEnter() { manuTxt.setText(L"スプラッシュロゴの表示位置を設定します"); }

void TOption::smpTxtMouseMove() { manuTxt.setText(L"ウィンドウカラーを設定します"); }
void TOption::BitBtn1MouseMove() { manuTxt.setText(L"画像を選択して下さい(BMP,JPEG)"); }
void TOption::lblTransMouseMove() { manuTxt.setText(L"ロゴに表示される背景色の有無を設定します"); }

void TOption::GroupBox5MouseMove() {
  // The group box also hears the mouse over its labels, which let it through; only its free area guides.
  const POINT at = GroupBox5.mousePoint();
  if (ChildWindowFromPointEx(GroupBox5.hwnd(), at, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED) != GroupBox5.hwnd()) return;
  manuTxt.setText(L"ロゴの透明度を設定します。Windows2000、XPのみ有効です");
}

void TOption::defBtnMouseMove() { manuTxt.setText(L"設定を初期値に戻します"); }
void TOption::okBtnMouseMove() { manuTxt.setText(L"設定を確定しOptionを終了します"); }
void TOption::clsBtnMouseMove() { manuTxt.setText(L"設定を反映せずにOptionを終了します"); }
void TOption::BitBtn2MouseMove() { manuTxt.setText(L"About"); }
void TOption::mesColMouseMove() { manuTxt.setText(L"背景色を設定します。「背景色無し」の場合は無効です"); }
void TOption::mesCol2MouseMove() { manuTxt.setText(L"文字色を設定します"); }
void TOption::stUpMouseMove() { manuTxt.setText(L"スタートアップに登録します"); }
void TOption::posBtnMouseMove() { manuTxt.setText(L"スプラッシュの位置設定を行います"); }
void TOption::manuTxtMouseMove() { manuTxt.setHint(manuTxt.text()); }

void TOption::Timer1Timer() {
  const int x = guiLbl.bounds().x;
  if (x > 8) guiLbl.setLeft(x - 2);
  else Timer1.setEnabled(false);
}

}  // namespace lumivex
