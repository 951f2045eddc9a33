// The application as a test makes it, on the test's services, and its windows by role while it lives.
#pragma once
#include <memory>
#include <string>

#include "app/application.h"
#include "test_support.h"

namespace lumivex {
// The option dialog's controls, which a test works as a user does (defined beside the option dialog's tests).
OptionDialogControls& controlsOf(OptionDialog& dialog);
}  // namespace lumivex

namespace lumivex::testing {

class TestApplication : public app::Application {
 public:
  explicit TestApplication(FakeServices& services) : Application(services), services_(services) { current() = this; }
  ~TestApplication() { current() = nullptr; }
  static TestApplication*& current() {
    static TestApplication* application = nullptr;
    return application;
  }
  FakeServices& services() { return services_; }

 private:
  FakeServices& services_;
};

inline bool applicationRunning() { return TestApplication::current() != nullptr; }
inline app::Application& application() { return *TestApplication::current(); }
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
    application = std::make_unique<TestApplication>(services);
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
  std::unique_ptr<TestApplication> application;
};

// A dialog of the whole application in a fresh program folder without a settings file (a first run).
class ProgramFolderTest : public ::testing::Test, public ProgramRun {
 protected:
  ProgramFolderTest() { start(dir.file(L"lumivex.exe")); }
};

// The services the running application was made with.
inline FakeServices& fakeServices() { return TestApplication::current()->services(); }
inline core::Settings& settings() { return application().settings(); }
inline SplashWindow& splash() { return application().splash(); }
// The dialogs are made when first asked for, as the program makes them at their first use.
inline OptionDialog& option() { return application().optionDialog(); }
inline AboutDialog& about() { return application().aboutDialog(); }
inline StartupRegistrationDialog& registration() { return application().startupRegistrationDialog(); }
inline PositionDialog& positionDialog() { return application().positionDialog(); }

}  // namespace lumivex::testing
