// Start-up and run modes: the owner window, the splash window, the dialogs at their first use, the loop and the end.
#include "app/application.h"

#include <commctrl.h>

#include "core/command_line.h"
#include "core/error_text.h"
#include "core/paths.h"
#include "core/placement.h"
#include "splash/picture_prefetch.h"
#include "startup/startup_registration.h"
#include "ui/handles.h"
#include "ui/files.h"
#include "ui/folder_access.h"
#include "ui/form.h"
#include "ui/message_box.h"
#include "ui/monitors.h"
#include "ui/system_libraries.h"
#include "ui/text.h"
#include "ui/window.h"

namespace lumivex::app {
// The window that carries the program's taskbar button under the application title; every form is owned by it.
// Started minimized, it shows the main window when the user restores it.
class Application::OwnerWindow : public ui::Window {
 public:
  explicit OwnerWindow(ui::Session& session) : session_(session) {
    const core::Point centre = core::centredOnPrimary(0, 0, ui::monitors());  // where a restored form appears
    createOwn(0, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, ui::kAppTitle, centre.x, centre.y, 0, 0,
              nullptr);
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
  firstRun_ = !ui::isFile(path);
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
  effects_.reset();
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

EffectsDialog& Application::effectsDialog() {
  if (!effects_) {
    prepareForDialogs();
    effects_ = std::make_unique<EffectsDialog>(session_);
    effects_->create();
  }
  return *effects_;
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

std::wstring Application::pictureFile() {
  return core::resolveInFolder(core::programFolderOf(services_.exePath()), settings_.picturePath);
}

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

void Application::restartSplashCountdown() {
  splash_->stopFade();
  splash_->countdown.setEnabled(true);
}

// The splash window's place is saved as it stands at this moment.
void Application::saveSettings() {
  settings_.top = splash_->top();
  settings_.left = splash_->left();
  if (!core::saveSettings(*settingsFile_, settings_)) {
    const std::wstring& path = settingsFile_->path();
    throw ui::AppError(core::withWriteAdvice(path + L" に書き込めません", ui::folderAccess(core::programFolderOf(path))));
  }
}

void Application::finishFirstRun() { splash_->close(); }
void Application::showPositionDialog() { positionDialog().showModal(); }
void Application::showStartupRegistration() { startupRegistrationDialog().showModal(); }
void Application::showAbout() { aboutDialog().showModal(); }
std::optional<FadeTimes> Application::editFadeTimes(const FadeTimes& times) { return effectsDialog().edit(times); }

void Application::previewWindowColour(ui::Colour c) { splash_->setColour(c); }
void Application::previewMessageColour(ui::Colour c) { splash_->setMessageColour(c); }
void Application::previewMessageTextColour(ui::Colour c) { splash_->setMessageFontColour(c); }
void Application::previewTranslucency() { splash_->applyTranslucency(); }

namespace {

// The failure's text on the standard error output, where a script started the program with one.
void reportToScript(const std::wstring& text) {
  const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
  if (!error || error == INVALID_HANDLE_VALUE) return;
  const std::string bytes = ui::narrow(text + L"\r\n");
  DWORD written = 0;
  WriteFile(error, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

// A registration or its removal from the command line: no splash, no dialog, only the exit code.
int runCommand(const core::Command& command, ui::Services& services) {
  if (command.kind == core::Command::Kind::Usage) {
    services.showBox(ui::BoxKind::Notice, core::usageText(core::fileNamePart(services.exePath())));
    return core::kExitUsage;
  }
  const bool comInitialised = SUCCEEDED(ui::syslib::coInitialize());
  int result = core::kExitSuccess;
  try {
    const startup::Target target{services.exePath(), command.allUsers, nullptr};
    if (command.kind == core::Command::Kind::Register) {
      startup::registerWay(command.way, target);
    } else {
      startup::unregisterAll(target);
    }
  } catch (const ui::AppError& e) {
    reportToScript(e.text());
    result = core::kExitFailure;
  }
  if (comInitialised) ui::syslib::coUninitialize();
  return result;
}

}  // namespace

int run(int showCommand, const std::vector<std::wstring>& arguments) {
  ui::SystemServices services;
  if (const core::Command command = core::parseCommandLine(arguments); command.kind != core::Command::Kind::Run)
    return runCommand(command, services);
  // A second start of the same executable (the logon task and a double-click) ends at once; the system releases
  // the object when the first run ends, however it ends.
  const ui::KernelHandle instance(CreateMutexW(nullptr, FALSE, core::instanceNameFor(services.exePath()).c_str()));
  if (instance && GetLastError() == ERROR_ALREADY_EXISTS) return 0;

  Application app(services);
  app.showMainWindow(showCommand);
  app.run();
  return 0;
}

}  // namespace lumivex::app
