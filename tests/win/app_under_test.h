// The whole application as a test makes it, on the test's services, in a program folder of its own.
#pragma once
#include <memory>
#include <string>

#include "app/application.h"
#include "test_support.h"

namespace lumivex {
// The dialogs' controls, which a test works as a user does.
inline OptionDialogControls& controlsOf(OptionDialog& dialog) { return dialog; }
inline AboutDialogControls& controlsOf(AboutDialog& dialog) { return dialog; }
inline StartupRegistrationDialogControls& controlsOf(StartupRegistrationDialog& dialog) { return dialog; }
inline PositionDialogControls& controlsOf(PositionDialog& dialog) { return dialog; }
inline EffectsDialogControls& controlsOf(EffectsDialog& dialog) { return dialog; }
}  // namespace lumivex

namespace lumivex::testing {

// The whole application in a program folder: a temporary folder, the services a test stands in for, and the
// application made as the program makes it once `start` names the executable's path.
class ProgramRun {
 public:
  ProgramRun() = default;
  ProgramRun(const ProgramRun&) = delete;
  ProgramRun& operator=(const ProgramRun&) = delete;
  ~ProgramRun() {
    // A modal showing that was expected but never came would otherwise end a later test's dialog.
    while (services.pendingModalHooks() > 0 && application) application->optionDialog().showModal();
    application.reset();
  }

  void start(const std::wstring& exePath) {
    services.exe = exePath;
    application = std::make_unique<app::Application>(services);
  }

  // The application and its windows by role; the dialogs are made when first asked for, as the program makes
  // them at their first use.
  app::Application& app() const { return *application; }
  core::Settings& settings() const { return app().settings(); }
  SplashWindow& splash() const { return app().splash(); }
  OptionDialog& option() const { return app().optionDialog(); }
  OptionDialogControls& controls() const { return controlsOf(option()); }
  AboutDialog& about() const { return app().aboutDialog(); }
  StartupRegistrationDialog& registration() const { return app().startupRegistrationDialog(); }
  PositionDialog& positionDialog() const { return app().positionDialog(); }

  // Paints what is pending and handles what has been posted.
  void settle() const {
    if (application) UpdateWindow(splash().hwnd());
    pumpUntil([] {
      MSG m;
      return !PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE);
    }, 500);
  }

  TempFolder dir;
  FakeServices services;
  std::unique_ptr<app::Application> application;
};

// A dialog of the whole application in a fresh program folder without a settings file (a first run).
class ProgramFolderTest : public ::testing::Test, public ProgramRun {
 protected:
  ProgramFolderTest() { start(dir.file(L"lumivex.exe")); }
};

}  // namespace lumivex::testing
