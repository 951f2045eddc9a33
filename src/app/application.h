// The application object: owns the session, the picture prefetch, the settings, the settings file and every window;
// makes the splash window at once and the dialogs at their first use; runs the loop and ends the program.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include "app/settings_file.h"
#include "core/settings.h"
#include "dialogs/about_dialog.h"
#include "dialogs/effects_dialog.h"
#include "dialogs/option_dialog.h"
#include "dialogs/position_dialog.h"
#include "dialogs/startup_registration_dialog.h"
#include "splash/picture_prefetch.h"
#include "splash/splash_window.h"
#include "ui/services.h"
#include "ui/session.h"

namespace lumivex::app {

class Application : private SplashWindow::Host, private OptionDialogHost, private SplashPreview {
 public:
  // Starts loading the splash picture ahead, makes the owner window (the taskbar button) and the hidden splash
  // window, and decides the run mode: without a settings file the option dialog is made too, as the main window,
  // with its first-run buttons. Everything reaches the system through `services`.
  explicit Application(ui::Services& services);
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // Shows the main window by the start-up show command.
  void showMainWindow(int showCommand);
  void run();  // dispatches messages until termination is requested
  HWND handle() const;
  bool firstRun() const { return firstRun_; }

  ui::Session& session() { return session_; }
  core::Settings& settings() { return settings_; }
  SplashWindow& splash() { return *splash_; }
  // The dialogs, made (with COM and the common controls before the first of them) when first asked for.
  OptionDialog& optionDialog();
  AboutDialog& aboutDialog();
  StartupRegistrationDialog& startupRegistrationDialog();
  PositionDialog& positionDialog();
  EffectsDialog& effectsDialog();
  bool optionDialogMade() const { return option_ != nullptr; }
  // The settings file object, from the decision of the run mode until the splash window closes.
  const SettingsFile* settingsFile() const { return settingsFile_.get(); }

  // Loads the settings file into the live settings; the splash window's show sequence asks for it.
  core::SplashStart loadSettings() override;
  // Saves the live settings with the splash window's place as it stands; raises ui::AppError on a refused write.
  void saveSettings() override;

 private:
  class OwnerWindow;
  void prepareForDialogs();

  // SplashWindow::Host
  std::wstring pictureFile() override;
  void openOptions() override;
  void translucencyUnavailable() override;
  void splashClosed() override;
  pictures::PicturePrefetch& prefetch() override { return prefetch_; }
  // OptionDialogHost
  void restartSplashCountdown() override;
  void finishFirstRun() override;
  void showPositionDialog() override;
  void showStartupRegistration() override;
  void showAbout() override;
  std::optional<FadeTimes> editFadeTimes(const FadeTimes& times) override;
  // SplashPreview
  void previewWindowColour(ui::Colour c) override;
  void previewMessageColour(ui::Colour c) override;
  void previewMessageTextColour(ui::Colour c) override;
  void previewTranslucency() override;

  ui::Services& services_;
  pictures::PicturePrefetch prefetch_;  // started first: it reads the picture while the windows are made
  ui::Session session_;
  core::Settings settings_;
  std::unique_ptr<SettingsFile> settingsFile_;  // from the decision of the run mode until the splash closes
  bool firstRun_ = false;
  bool translucencyUnavailable_ = false;
  bool dialogsPrepared_ = false;
  bool comInitialised_ = false;
  std::unique_ptr<OwnerWindow> owner_;
  std::unique_ptr<SplashWindow> splash_;
  std::unique_ptr<OptionDialog> option_;
  std::unique_ptr<AboutDialog> about_;
  std::unique_ptr<StartupRegistrationDialog> registration_;
  std::unique_ptr<PositionDialog> position_;
  std::unique_ptr<EffectsDialog> effects_;
};

// The whole program: returns the process exit code. Without arguments it shows the splash (or the option dialog on
// a first run), unless the same executable already runs; with them it runs the command line's operation.
int run(int showCommand, const std::vector<std::wstring>& arguments);

}  // namespace lumivex::app
