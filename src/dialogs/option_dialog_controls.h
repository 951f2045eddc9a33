// The option dialog's controls by role, in their creation order within each container.
#pragma once
#include "ui/common_dialogs.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/timer.h"

namespace lumivex {

class OptionDialogControls {
 protected:
  explicit OptionDialogControls(ui::Form& dialog) : dialog_(dialog) {}
  ~OptionDialogControls() = default;

 private:
  ui::Form& dialog_;  // first: every control below is made on it

 public:
  ui::Label guidancePointer{dialog_};
  ui::Label userNameLabel{dialog_};
  ui::Shape userNameShadow{dialog_, 0x000000, 0x000000, 0};
  ui::Container bottomButtons{dialog_, ui::Container::Frame::RaisedPanel};
  ui::Button okButton{dialog_};
  ui::Button closeButton{dialog_};
  ui::Button defaultButton{dialog_};
  ui::Button setupCompleteButton{dialog_};
  ui::Container displayTimeGroup{dialog_, ui::Container::Frame::GroupBox};
  ui::Label secondsLabel{dialog_};
  ui::SpinEdit displaySecondsEdit{dialog_, 1, 180};
  ui::StaticText guidanceLine{dialog_};
  ui::Container pictureGroup{dialog_, ui::Container::Frame::GroupBox};
  ui::Button choosePictureButton{dialog_};
  ui::Edit pictureNameEdit{dialog_, 0xFF8080};
  ui::Container messageGroup{dialog_, ui::Container::Frame::GroupBox};
  ui::Label messageTextColourLabel{dialog_};
  ui::Label fontSizeLabel{dialog_};
  ui::ComboBox messageCombo{dialog_};
  ui::Container messageBackgroundPanel{dialog_, ui::Container::Frame::RaisedPanel};
  ui::Label messageBackgroundLabel{dialog_};
  ui::ColourSwatch messageBackgroundSwatch{dialog_, ui::kButtonFace};
  ui::CheckBox messageBackgroundCheck{dialog_};
  ui::ColourSwatch messageTextColourSwatch{dialog_, 0x000000};
  ui::SpinEdit fontSizeEdit{dialog_, 1, 64};
  ui::Container borderGroup{dialog_, ui::Container::Frame::GroupBox};
  ui::SpinEdit borderWidthEdit{dialog_, 0, 10};
  ui::Container translucencyGroup{dialog_, ui::Container::Frame::GroupBox};
  ui::Label translucencyPercentLabel{dialog_};
  ui::Label translucencyUnsupportedLabel{dialog_};
  ui::ScrollBar translucencySlider{dialog_, 5, 100, 100};
  ui::RadioGroup placementGroup{dialog_};
  ui::Container windowColourGroup{dialog_, ui::Container::Frame::GroupBox};
  ui::Label windowColourLabel{dialog_};
  ui::ColourSwatch windowColourSwatch{dialog_, ui::kButtonFace};
  ui::Button aboutButton{dialog_};
  ui::Button startupRegistrationButton{dialog_};
  ui::Button positionButton{dialog_};
  ui::Edit userNameEdit{dialog_};
  ui::Button effectsButton{dialog_};
  ui::OpenFileDialog pictureChooser;
  ui::Timer guidanceSlide{dialog_.session(), 10, false};
  ui::ColourDialog colourChooser;
};

}  // namespace lumivex
