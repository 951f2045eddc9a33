// The option dialog: its controls are the live settings; it saves them, previews them and opens the small dialogs.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "ui/common_dialogs.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/timer.h"

namespace lumivex {

class TOption : public ui::Form {
 public:
  TOption();
  ~TOption() override;
  void create();  // the window, its controls, FormCreate

  // Saves the controls, the picture path and the splash window's position to the settings file.
  void WriteEnv();

  // Controls, in their creation order within each container.
  ui::Label guiLbl{*this};
  ui::Label Label3{*this};
  ui::Shape Shape1{*this, 0x000000, 0x000000, 0};
  ui::Container Panel1{*this, ui::Container::Frame::RaisedPanel};
  ui::Button okBtn{*this};
  ui::Button clsBtn{*this};
  ui::Button defBtn{*this};
  ui::Button iniBtn{*this};
  ui::Container GroupBox1{*this, ui::Container::Frame::GroupBox};
  ui::Label L1{*this};
  ui::SpinEdit splSpn{*this, 1, 180};
  ui::StaticText manuTxt{*this};
  ui::Container GroupBox2{*this, ui::Container::Frame::GroupBox};
  ui::Button BitBtn1{*this};
  ui::Edit fEdit{*this, 0xFF8080};
  ui::Container GroupBox3{*this, ui::Container::Frame::GroupBox};
  ui::Label L3{*this};
  ui::Label Label1{*this};
  ui::ComboBox mesCmb{*this};
  ui::Container Panel2{*this, ui::Container::Frame::RaisedPanel};
  ui::Label L2{*this};
  ui::ColourSwatch mesCol{*this, ui::kButtonFace};
  ui::CheckBox lblTrans{*this};
  ui::ColourSwatch mesCol2{*this, 0x000000};
  ui::SpinEdit fsizEdt{*this, 1, 64};
  ui::Container GroupBox4{*this, ui::Container::Frame::GroupBox};
  ui::SpinEdit bordSpn{*this, 0, 10};
  ui::Container GroupBox5{*this, ui::Container::Frame::GroupBox};
  ui::Label posLbl{*this};
  ui::Label osLbl{*this};
  ui::ScrollBar ScrollBar1{*this, 5, 100, 100};
  ui::RadioGroup winposGrp{*this};
  ui::Container GroupBox6{*this, ui::Container::Frame::GroupBox};
  ui::Label Label2{*this};
  ui::ColourSwatch smpTxt{*this, ui::kButtonFace};
  ui::Button BitBtn2{*this};
  ui::Button stUp{*this};
  ui::Button posBtn{*this};
  ui::Edit nameEdt{*this};
  ui::OpenFileDialog OpenD;
  ui::Timer Timer1{10, false};
  ui::ColourDialog ColorD;

  // Fields beside the controls.
  std::wstring programFolder;
  std::wstring picturePath;
  std::unique_ptr<std::vector<std::wstring>> defaultMessages;

  // Handlers.
  void FormCreate();
  void FormShow();
  void okBtnClick();
  void clsBtnClick();
  void defBtnClick();
  void iniBtnClick();
  void BitBtn1Click();
  void smpTxtClick();
  void mesColClick();
  void mesCol2Click();
  void lblTransClick();
  void ScrollBar1Change();
  void mesCmbChange();
  void winposGrpClick();
  void posBtnClick();
  void stUpClick();
  void BitBtn2Click();

  // Guidance line, focus colouring and the sliding pointer.
  void splSpnEnter();
  void splSpnExit();
  void bordSpnEnter();
  void bordSpnExit();
  void mesCmbEnter();
  void mesCmbExit();
  void fsizEdtEnter();
  void fsizEdtExit();
  void nameEdtEnter();
  void nameEdtExit();
  void ScrollBar1Enter();
  void ScrollBar1Exit();
  void winposGrpEnter();
  void smpTxtMouseMove();
  void BitBtn1MouseMove();
  void lblTransMouseMove();
  void GroupBox5MouseMove();
  void defBtnMouseMove();
  void okBtnMouseMove();
  void clsBtnMouseMove();
  void BitBtn2MouseMove();
  void mesColMouseMove();
  void mesCol2MouseMove();
  void stUpMouseMove();
  void posBtnMouseMove();
  void manuTxtMouseMove();
  void Timer1Timer();

 private:
  void setUpGuidance();  // tooltips and the focus, mouse-move and timer events of the guidance line
  void chooseColour(ui::ColourSwatch& swatch, void (*applyToSplash)(ui::Colour));
};

}  // namespace lumivex
