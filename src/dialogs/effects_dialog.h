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

class EffectsDialog : public ui::Form {
 public:
  explicit EffectsDialog(ui::Session& session);
  ~EffectsDialog() override;
  void create();

  // Shows the dialog modally with `times`: OK gives the edited times, within their range; Close gives nothing.
  std::optional<FadeTimes> edit(const FadeTimes& times);

  ui::Container fadeInGroup{*this, ui::Container::Frame::GroupBox};
  ui::SpinEdit fadeInEdit{*this, 0, 5000};
  ui::Label fadeInUnitLabel{*this};
  ui::Container fadeOutGroup{*this, ui::Container::Frame::GroupBox};
  ui::SpinEdit fadeOutEdit{*this, 0, 5000};
  ui::Label fadeOutUnitLabel{*this};
  ui::StaticText guidanceLine{*this};
  ui::Container bottomButtons{*this, ui::Container::Frame::RaisedPanel};
  ui::Button okButton{*this};
  ui::Button closeButton{*this};

 private:
  FadeTimes shown() const;
};

}  // namespace lumivex
