// The application as a test makes it, and its windows by role while it lives.
#pragma once
#include "app/application.h"

namespace lumivex::testing {

class TestApplication : public app::Application {
 public:
  TestApplication() { current() = this; }
  ~TestApplication() { current() = nullptr; }
  static TestApplication*& current() {
    static TestApplication* application = nullptr;
    return application;
  }
};

inline bool applicationRunning() { return TestApplication::current() != nullptr; }
inline app::Application& application() { return *TestApplication::current(); }
inline core::Settings& settings() { return application().settings(); }
inline SplashWindow& splash() { return application().splash(); }
// The dialogs are made when first asked for, as the program makes them at their first use.
inline OptionDialog& option() { return application().optionDialog(); }
inline AboutDialog& about() { return application().aboutDialog(); }
inline StartupRegistrationDialog& registration() { return application().startupRegistrationDialog(); }
inline PositionDialog& positionDialog() { return application().positionDialog(); }

}  // namespace lumivex::testing
