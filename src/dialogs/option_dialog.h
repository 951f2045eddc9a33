// The option dialog: a view of the live settings value; it saves it, previews it on the splash window and opens
// the small dialogs.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "core/settings.h"
#include "dialogs/effects_dialog.h"
#include "dialogs/option_dialog_controls.h"
#include "ui/form.h"

namespace lumivex {

// The option dialog's previews on the splash window.
class SplashPreview {
 public:
  virtual void previewWindowColour(ui::Colour c) = 0;
  virtual void previewMessageColour(ui::Colour c) = 0;
  virtual void previewMessageTextColour(ui::Colour c) = 0;
  virtual void previewTranslucency() = 0;  // from the settings' opacity; nothing where translucency is unavailable

 protected:
  ~SplashPreview() = default;
};

// What the option dialog asks of the program around it.
class OptionDialogHost {
 public:
  virtual void restartSplashCountdown() = 0;
  virtual void saveSettings() = 0;  // raises ui::AppError when a write is refused
  virtual void finishFirstRun() = 0;  // closes the hidden splash window, which ends the program
  virtual void showPositionDialog() = 0;
  virtual void showStartupRegistration() = 0;
  virtual void showAbout() = 0;
  // Shows the effects dialog with `times`: the edited times after OK, nothing after Close.
  virtual std::optional<FadeTimes> editFadeTimes(const FadeTimes& times) = 0;

 protected:
  ~OptionDialogHost() = default;
};

class OptionDialog : public ui::Form, private OptionDialogControls {
 public:
  OptionDialog(ui::Session& session, core::Settings& settings, OptionDialogHost& host, SplashPreview& preview,
               std::wstring exePath);
  ~OptionDialog() override;
  // The window and its controls, which take their values from the settings; from then on every change of a
  // control is written into the settings at once.
  void create();

  // First-run mode: the setup-complete button in place of OK, Close and Default.
  void showFirstRunButtons();
  // Where the splash window cannot be translucent: the slider is disabled and a note says why.
  void showTranslucencyUnsupported();

 private:
  // What drives the dialog from outside its code, as a user would, reaches the controls through this.
  friend OptionDialogControls& controlsOf(OptionDialog& dialog);

  std::unique_ptr<std::vector<std::wstring>> defaultMessages;

  // Handlers.
  void onShowing();
  void onOkClicked();
  void onCloseClicked();
  void onDefaultClicked();
  void onSetupCompleteClicked();
  void onChoosePictureClicked();
  void onMessageBackgroundToggled();
  void onTranslucencyChanged();
  void onMessageTextChanged();
  void onPlacementChanged();
  void onEffectsClicked();
  void onGuidanceSlideTick();

  struct SwatchBinding;
  struct SwatchBindings;
  static const SwatchBindings kSwatches;
  void layOut();
  void wireHandlers();
  void takeValuesFromSettings();
  void bindSettings();
  void setUpGuidance();  // tooltips and the focus, mouse-move and timer events of the guidance line
  void chooseColour(const SwatchBinding& binding);
  void setSwatch(const SwatchBinding& binding, ui::Colour c);

  core::Settings& settings_;
  OptionDialogHost& host_;
  SplashPreview& preview_;
  const std::wstring programFolder_;  // the executable's, where the message file and the pictures are
};

}  // namespace lumivex
