// Start-up and run modes: the owner window, the windows in their creation order, the main window and the loop.
#include "app/application.h"

#include <commctrl.h>
#include <objbase.h>

#include "core/paths.h"
#include "dialogs/about_dialog.h"
#include "dialogs/option_dialog.h"
#include "dialogs/position_dialog.h"
#include "dialogs/startup_registration_dialog.h"
#include "splash/splash_window.h"
#include "splash/picture_prefetch.h"
#include "ui/form.h"
#include "ui/message_box.h"
#include "ui/system_libraries.h"
#include "ui/window.h"

namespace lumivex {
SplashWindow* splash = nullptr;
OptionDialog* Option = nullptr;
AboutDialog* About = nullptr;
StartupRegistrationDialog* stupFrm = nullptr;
PositionDialog* posFrm = nullptr;
}  // namespace lumivex

namespace lumivex::app {
namespace {

Application* g_application = nullptr;

std::wstring& exePathStorage() {
  static std::wstring path;
  return path;
}

}  // namespace

const std::wstring& exePath() {
  std::wstring& path = exePathStorage();
  if (path.empty()) {
    std::wstring buffer(32768, L'\0');
    buffer.resize(GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size())));
    path = buffer;
  }
  return path;
}

void setExePathForTesting(std::wstring path) { exePathStorage() = std::move(path); }

// The window that carries the program's taskbar button under the application title; every form is owned by it.
// Started minimized, it shows the main window when the user restores it.
class Application::OwnerWindow : public ui::Window {
 public:
  OwnerWindow() {
    createOwn(0, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, ui::kAppTitle,
              GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr);
  }
  bool mainPending = false;

 protected:
  LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    switch (msg) {
      case WM_SYSCOMMAND:
        if ((wp & 0xFFF0) == SC_RESTORE && mainPending) {
          const LRESULT r = callDefault(msg, wp, lp);
          mainPending = false;
          if (ui::Form* main = ui::Form::mainForm()) main->show();
          return r;
        }
        break;
      case WM_CLOSE:
        if (ui::Form* main = ui::Form::mainForm()) main->close();
        return 0;
      case WM_ACTIVATE:
        if (LOWORD(wp) != WA_INACTIVE)
          if (ui::Form* main = ui::Form::mainForm(); main && main->visible()) SetActiveWindow(main->hwnd());
        return 0;
      default:
        break;
    }
    return callDefault(msg, wp, lp);
  }
};

Application& application() { return *g_application; }

Application::Application() {
  g_application = this;
  owner_ = std::make_unique<OwnerWindow>();
  ui::Form::setOwnerWindow(owner_->hwnd());
  ui::Form::setMainForm(nullptr);
  ui::Form::resetQuit();

  splash_ = std::make_unique<SplashWindow>();
  splash = splash_.get();
  splash_->create();  // decides the run mode
  if (!ui::Form::mainForm()) ui::Form::setMainForm(splash_.get());
  createOptionDialog();

  about_ = std::make_unique<AboutDialog>();
  About = about_.get();
  about_->create();
  stupFrm_ = std::make_unique<StartupRegistrationDialog>();
  stupFrm = stupFrm_.get();
  stupFrm_->create();
  posFrm_ = std::make_unique<PositionDialog>();
  posFrm = posFrm_.get();
  posFrm_->create();
}

void Application::createOptionDialog() {
  if (option_) return;
  option_ = std::make_unique<OptionDialog>();
  Option = option_.get();
  option_->create();
  if (!ui::Form::mainForm()) ui::Form::setMainForm(option_.get());
}

Application::~Application() {
  posFrm_.reset();
  stupFrm_.reset();
  about_.reset();
  option_.reset();
  splash_.reset();
  splash = nullptr;
  Option = nullptr;
  About = nullptr;
  stupFrm = nullptr;
  posFrm = nullptr;
  ui::Form::setOwnerWindow(nullptr);
  ui::Form::setMainForm(nullptr);
  owner_.reset();
  g_application = nullptr;
}

HWND Application::handle() const { return owner_->hwnd(); }

void Application::showMainWindow(int showCommand) {
  ui::Form* main = ui::Form::mainForm();
  if (showCommand == SW_SHOWMINNOACTIVE) {
    ShowWindow(owner_->hwnd(), SW_SHOWMINNOACTIVE);
    owner_->mainPending = true;
    return;
  }
  ShowWindow(owner_->hwnd(), SW_SHOWNOACTIVATE);
  if (main) main->applyShowState(showCommand);
}

void Application::run() {
  ui::Form::runLoop([] { return false; });
}

int run(int showCommand) {
  // The picture loads on a worker from here on; the splash window takes it over when it is shown.
  pictures::prefetch(core::settingsPathFor(exePath()));
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  ui::syslib::initCommonControls(&icc);
  const HRESULT com = CoInitialize(nullptr);
  {
    Application app;
    app.showMainWindow(showCommand);
    app.run();
  }
  pictures::discardPrefetched();  // a run that never showed the splash
  if (SUCCEEDED(com)) CoUninitialize();
  return 0;
}

}  // namespace lumivex::app
