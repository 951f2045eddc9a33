// The application object: start-up, the five windows and their program-wide references, the loop and the end.
#pragma once
#include <memory>
#include <string>

#include <windows.h>

namespace lumivex {
class Tsplash;
class TOption;
class TAbout;
class TstupFrm;
class TposFrm;

// Program-wide references to the five windows; each exists once, for the whole run.
extern Tsplash* splash;
extern TOption* Option;
extern TAbout* About;
extern TstupFrm* stupFrm;
extern TposFrm* posFrm;
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
  std::unique_ptr<Tsplash> splash_;
  std::unique_ptr<TOption> option_;
  std::unique_ptr<TAbout> about_;
  std::unique_ptr<TstupFrm> stupFrm_;
  std::unique_ptr<TposFrm> posFrm_;
};

Application& application();

// The whole program, steps 1 to 7: returns the process exit code.
int run(int showCommand);

}  // namespace lumivex::app
