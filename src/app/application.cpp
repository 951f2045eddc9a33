// Start-up and run modes: the owner window, the splash window, the dialogs at their first use, the loop and the end.
#include "app/application.h"

#include <commctrl.h>

#include "core/paths.h"
#include "ui/form.h"
#include "ui/message_box.h"
#include "ui/system_libraries.h"
#include "ui/window.h"

namespace lumivex::app {
namespace {

bool isFile(const std::wstring& path) {
  const DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

// The window that carries the program's taskbar button under the application title; every form is owned by it.
// Started minimized, it shows the main window when the user restores it.
class Application::OwnerWindow : public ui::Window {
 public:
  explicit OwnerWindow(ui::Session& session) : session_(session) {
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
          if (ui::Form* main = session_.mainForm()) main->show();
          return r;
        }
        break;
      case WM_CLOSE:
        if (ui::Form* main = session_.mainForm()) main->close();
        return 0;
      case WM_ACTIVATE:
        if (LOWORD(wp) != WA_INACTIVE)
          if (ui::Form* main = session_.mainForm(); main && main->visible()) SetActiveWindow(main->hwnd());
        return 0;
      default:
        break;
    }
    return callDefault(msg, wp, lp);
  }
  void reportException() override { session_.showCurrentException(); }

 private:
  ui::Session& session_;
};

Application::Application(ui::Services& services)
    : services_(services),
      prefetch_(core::settingsPathFor(services.exePath()),
                std::make_unique<SettingsFile>(core::settingsPathFor(services.exePath()))),
      session_(services) {
  owner_ = std::make_unique<OwnerWindow>(session_);
  session_.setOwner(owner_->hwnd());

  splash_ = std::make_unique<SplashWindow>(session_, settings_, static_cast<SplashWindow::Host&>(*this));
  splash_->create();
  const std::wstring path = core::settingsPathFor(services_.exePath());
  firstRun_ = !isFile(path);
  if (firstRun_) splash_->countdown.setEnabled(false);
  settingsFile_ = std::make_unique<SettingsFile>(path);
  if (firstRun_) {
    optionDialog().showFirstRunButtons();
    session_.setMainForm(option_.get());
  } else {
    session_.setMainForm(splash_.get());
  }
}

Application::~Application() {
  position_.reset();
  registration_.reset();
  about_.reset();
  option_.reset();
  splash_.reset();
  settingsFile_.reset();
  session_.setOwner(nullptr);
  owner_.reset();
  if (comInitialised_) ui::syslib::coUninitialize();
}

// The shell link of the start-up registration needs COM; the dialogs' controls need the common controls.
void Application::prepareForDialogs() {
  if (dialogsPrepared_) return;
  dialogsPrepared_ = true;
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  ui::syslib::initCommonControls(&icc);
  comInitialised_ = SUCCEEDED(ui::syslib::coInitialize());
}

OptionDialog& Application::optionDialog() {
  if (!option_) {
    prepareForDialogs();
    option_ = std::make_unique<OptionDialog>(session_, settings_, static_cast<OptionDialogHost&>(*this),
                                             static_cast<SplashPreview&>(*this), services_.exePath());
    option_->create();
    if (translucencyUnavailable_) option_->showTranslucencyUnsupported();
  }
  return *option_;
}

AboutDialog& Application::aboutDialog() {
  if (!about_) {
    prepareForDialogs();
    about_ = std::make_unique<AboutDialog>(session_, settings_);
    about_->create();
  }
  return *about_;
}

StartupRegistrationDialog& Application::startupRegistrationDialog() {
  if (!registration_) {
    prepareForDialogs();
    registration_ = std::make_unique<StartupRegistrationDialog>(session_, services_.exePath());
    registration_->create();
  }
  return *registration_;
}

PositionDialog& Application::positionDialog() {
  if (!position_) {
    prepareForDialogs();
    position_ = std::make_unique<PositionDialog>(*splash_);
    position_->create();
  }
  return *position_;
}

HWND Application::handle() const { return owner_->hwnd(); }

void Application::showMainWindow(int showCommand) {
  ui::Form* main = session_.mainForm();
  if (showCommand == SW_SHOWMINNOACTIVE) {
    ShowWindow(owner_->hwnd(), SW_SHOWMINNOACTIVE);
    owner_->mainPending = true;
    return;
  }
  ShowWindow(owner_->hwnd(), SW_SHOWNOACTIVATE);
  if (main) main->applyShowState(showCommand);
}

void Application::run() {
  session_.runLoop([] { return false; });
}

// ---- What the splash window asks for ----

core::SplashStart Application::loadSettings() { return core::loadSettings(*settingsFile_, settings_); }

void Application::openOptions() { optionDialog().showModal(); }

void Application::translucencyUnavailable() {
  translucencyUnavailable_ = true;
  if (option_) option_->showTranslucencyUnsupported();
}

void Application::splashClosed() {
  settingsFile_.reset();
  session_.requestQuit();
}

// ---- What the option dialog asks for ----

void Application::restartSplashCountdown() { splash_->countdown.setEnabled(true); }

// The splash window's place is saved as it stands at this moment.
void Application::saveSettings() {
  settings_.top = splash_->top();
  settings_.left = splash_->left();
  if (!core::saveSettings(*settingsFile_, settings_)) throw ui::AppError(settingsFile_->path() + L" に書き込めません");
}

void Application::finishFirstRun() { splash_->close(); }
void Application::showPositionDialog() { positionDialog().showModal(); }
void Application::showStartupRegistration() { startupRegistrationDialog().showModal(); }
void Application::showAbout() { aboutDialog().showModal(); }

void Application::previewWindowColour(ui::Colour c) { splash_->setColour(c); }
void Application::previewMessageColour(ui::Colour c) { splash_->setMessageColour(c); }
void Application::previewMessageTextColour(ui::Colour c) { splash_->setMessageFontColour(c); }
void Application::previewTranslucency() { splash_->applyTranslucency(); }

int run(int showCommand) {
  ui::SystemServices services;
  Application app(services);
  app.showMainWindow(showCommand);
  app.run();
  return 0;
}

}  // namespace lumivex::app
