// The option dialog's controls by role, in their creation order within each container.
#pragma once
#include "ui/common_dialogs.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/timer.h"

namespace lumivex {

class OptionDialogControls : protected ui::FormControls {
 protected:
  using FormControls::FormControls;

 public:
  ui::Label guidancePointer{form_};
  ui::Label userNameLabel{form_};
  ui::Shape userNameShadow{form_, 0x000000, 0x000000, 0};
  ui::Container bottomButtons{form_, ui::Container::Frame::RaisedPanel};
  ui::Button okButton{form_};
  ui::Button closeButton{form_};
  ui::Button defaultButton{form_};
  ui::Button setupCompleteButton{form_};
  ui::Container displayTimeGroup{form_, ui::Container::Frame::GroupBox};
  ui::Label secondsLabel{form_};
  ui::SpinEdit displaySecondsEdit{form_, 1, 180};
  ui::StaticText guidanceLine{form_};
  ui::Container pictureGroup{form_, ui::Container::Frame::GroupBox};
  ui::Button choosePictureButton{form_};
  ui::Edit pictureNameEdit{form_, 0xFF8080};
  ui::Container messageGroup{form_, ui::Container::Frame::GroupBox};
  ui::Label messageTextColourLabel{form_};
  ui::Label fontSizeLabel{form_};
  ui::ComboBox messageCombo{form_};
  ui::Container messageBackgroundPanel{form_, ui::Container::Frame::RaisedPanel};
  ui::Label messageBackgroundLabel{form_};
  ui::ColourSwatch messageBackgroundSwatch{form_, ui::kButtonFace};
  ui::CheckBox messageBackgroundCheck{form_};
  ui::ColourSwatch messageTextColourSwatch{form_, 0x000000};
  ui::SpinEdit fontSizeEdit{form_, 1, 64};
  ui::Container borderGroup{form_, ui::Container::Frame::GroupBox};
  ui::SpinEdit borderWidthEdit{form_, 0, 10};
  ui::Container translucencyGroup{form_, ui::Container::Frame::GroupBox};
  ui::Label translucencyPercentLabel{form_};
  ui::Label translucencyUnsupportedLabel{form_};
  ui::ScrollBar translucencySlider{form_, 5, 100, 100};
  ui::RadioGroup placementGroup{form_};
  ui::Container windowColourGroup{form_, ui::Container::Frame::GroupBox};
  ui::Label windowColourLabel{form_};
  ui::ColourSwatch windowColourSwatch{form_, ui::kButtonFace};
  ui::Button aboutButton{form_};
  ui::Button startupRegistrationButton{form_};
  ui::Button positionButton{form_};
  ui::Edit userNameEdit{form_};
  ui::Button effectsButton{form_};
  ui::OpenFileDialog pictureChooser;
  ui::Timer guidanceSlide{form_.session(), 10, false};
  ui::ColourDialog colourChooser;
};

}  // namespace lumivex
