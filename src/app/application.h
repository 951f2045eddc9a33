// The application object: start-up, the five windows and their program-wide references, the loop and the end.
#pragma once
#include <memory>
#include <string>

#include <windows.h>

namespace lumivex {
class SplashWindow;
class OptionDialog;
class AboutDialog;
class StartupRegistrationDialog;
class PositionDialog;

// Program-wide references to the five windows; each exists once, for the whole run.
extern SplashWindow* splash;
extern OptionDialog* Option;
extern AboutDialog* About;
extern StartupRegistrationDialog* stupFrm;
extern PositionDialog* posFrm;
}  // namespace lumivex

namespace lumivex::app {

// The full path of the running executable (tests may name another program folder).
const std::wstring& exePath();
void setExePathForTesting(std::wstring path);

class Application {
 public:
  Application();  // creates the owner window and the five windows, in their order
  ~Application();  // destroys the windows
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // Shows the main window by the start-up show command.
  void showMainWindow(int showCommand);
  void run();  // dispatches messages until termination is requested
  HWND handle() const;

  // Called by the splash window's creation handler in first-run mode: the option dialog is created first.
  void createOptionDialog();

 private:
  class OwnerWindow;
  std::unique_ptr<OwnerWindow> owner_;
  std::unique_ptr<SplashWindow> splash_;
  std::unique_ptr<OptionDialog> option_;
  std::unique_ptr<AboutDialog> about_;
  std::unique_ptr<StartupRegistrationDialog> stupFrm_;
  std::unique_ptr<PositionDialog> posFrm_;
};

Application& application();

// The whole program, steps 1 to 7: returns the process exit code.
int run(int showCommand);

}  // namespace lumivex::app
