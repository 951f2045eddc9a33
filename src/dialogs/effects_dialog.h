// The effects dialog: the splash window's fade-in and fade-out times, opened from the option dialog.
#pragma once
#include <cstdint>
#include <optional>

#include "ui/controls.h"
#include "ui/form.h"

namespace lumivex {

// The two fade times in milliseconds; 0 is no fade.
struct FadeTimes {
  int32_t fadeInMs = 0;
  int32_t fadeOutMs = 0;
};

// The effects dialog's controls by role.
class EffectsDialogControls : protected ui::FormControls {
 protected:
  using FormControls::FormControls;

 public:
  ui::Container fadeInGroup{form_, ui::Container::Frame::GroupBox};
  ui::SpinEdit fadeInEdit{form_, 0, 5000};
  ui::Label fadeInUnitLabel{form_};
  ui::Container fadeOutGroup{form_, ui::Container::Frame::GroupBox};
  ui::SpinEdit fadeOutEdit{form_, 0, 5000};
  ui::Label fadeOutUnitLabel{form_};
  ui::StaticText guidanceLine{form_};
  ui::Container bottomButtons{form_, ui::Container::Frame::RaisedPanel};
  ui::Button okButton{form_};
  ui::Button closeButton{form_};
};

class EffectsDialog : public ui::Form, private EffectsDialogControls {
 public:
  explicit EffectsDialog(ui::Session& session);
  ~EffectsDialog() override;
  void create();

  // Shows the dialog modally with `times`: OK gives the edited times, within their range; Close gives nothing.
  std::optional<FadeTimes> edit(const FadeTimes& times);

 private:
  // What drives the dialog from outside its code, as a user would, reaches the controls through this.
  friend EffectsDialogControls& controlsOf(EffectsDialog& dialog);

  FadeTimes shown() const;
};

}  // namespace lumivex
