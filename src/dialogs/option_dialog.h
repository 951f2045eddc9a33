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

class OptionDialog : public ui::Form {
 public:
  OptionDialog();
  ~OptionDialog() override;
  void create();

  // Saves the controls, the picture path and the splash window's position to the settings file.
  void saveSettings();

  // Controls, in their creation order within each container.
  ui::Label guidancePointer{*this};
  ui::Label userNameLabel{*this};
  ui::Shape userNameShadow{*this, 0x000000, 0x000000, 0};
  ui::Container bottomButtons{*this, ui::Container::Frame::RaisedPanel};
  ui::Button okButton{*this};
  ui::Button closeButton{*this};
  ui::Button defaultButton{*this};
  ui::Button setupCompleteButton{*this};
  ui::Container displayTimeGroup{*this, ui::Container::Frame::GroupBox};
  ui::Label secondsLabel{*this};
  ui::SpinEdit displaySecondsEdit{*this, 1, 180};
  ui::StaticText guidanceLine{*this};
  ui::Container pictureGroup{*this, ui::Container::Frame::GroupBox};
  ui::Button choosePictureButton{*this};
  ui::Edit pictureNameEdit{*this, 0xFF8080};
  ui::Container messageGroup{*this, ui::Container::Frame::GroupBox};
  ui::Label messageTextColourLabel{*this};
  ui::Label fontSizeLabel{*this};
  ui::ComboBox messageCombo{*this};
  ui::Container messageBackgroundPanel{*this, ui::Container::Frame::RaisedPanel};
  ui::Label messageBackgroundLabel{*this};
  ui::ColourSwatch messageBackgroundSwatch{*this, ui::kButtonFace};
  ui::CheckBox messageBackgroundCheck{*this};
  ui::ColourSwatch messageTextColourSwatch{*this, 0x000000};
  ui::SpinEdit fontSizeEdit{*this, 1, 64};
  ui::Container borderGroup{*this, ui::Container::Frame::GroupBox};
  ui::SpinEdit borderWidthEdit{*this, 0, 10};
  ui::Container translucencyGroup{*this, ui::Container::Frame::GroupBox};
  ui::Label translucencyPercentLabel{*this};
  ui::Label translucencyUnsupportedLabel{*this};
  ui::ScrollBar translucencySlider{*this, 5, 100, 100};
  ui::RadioGroup placementGroup{*this};
  ui::Container windowColourGroup{*this, ui::Container::Frame::GroupBox};
  ui::Label windowColourLabel{*this};
  ui::ColourSwatch windowColourSwatch{*this, ui::kButtonFace};
  ui::Button aboutButton{*this};
  ui::Button startupRegistrationButton{*this};
  ui::Button positionButton{*this};
  ui::Edit userNameEdit{*this};
  ui::OpenFileDialog pictureChooser;
  ui::Timer guidanceSlide{10, false};
  ui::ColourDialog colourChooser;

  // Fields beside the controls.
  std::wstring programFolder;
  std::wstring picturePath;
  std::unique_ptr<std::vector<std::wstring>> defaultMessages;

  // Handlers.
  void onShowing();
  void onOkClicked();
  void onCloseClicked();
  void onDefaultClicked();
  void onSetupCompleteClicked();
  void onChoosePictureClicked();
  void onWindowColourClicked();
  void onMessageBackgroundColourClicked();
  void onMessageTextColourClicked();
  void onMessageBackgroundToggled();
  void onTranslucencyChanged();
  void onMessageTextChanged();
  void onPlacementChanged();
  void onPositionClicked();
  void onStartupRegistrationClicked();
  void onAboutClicked();

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
  void onGuidanceSlideTick();

 private:
  void setUpGuidance();  // tooltips and the focus, mouse-move and timer events of the guidance line
  void chooseColour(ui::ColourSwatch& swatch, void (*applyToSplash)(ui::Colour));
};

}  // namespace lumivex
