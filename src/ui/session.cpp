// The session: the message loop and its end, the boxes with the pause of the timers around an error box.
#include "ui/session.h"

#include <algorithm>

#include "core/error_text.h"
#include "ui/form.h"
#include "ui/message_box.h"
#include "ui/timer.h"

namespace lumivex::ui {
namespace {

void dropQuitRequests() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

}  // namespace

Session::Session(Services& services) : services_(services) { dropQuitRequests(); }

Session::~Session() {
  if (quitPosted_) dropQuitRequests();
}

void Session::remove(Form* f) {
  forms_.erase(f);
  if (mainForm_ == f) mainForm_ = nullptr;
}

void Session::remove(Timer* t) { timers_.erase(std::remove(timers_.begin(), timers_.end(), t), timers_.end()); }

Form* Session::formOf(HWND root) const {
  for (Form* f : forms_)
    if (f->hwnd() == root) return f;
  return nullptr;
}

void Session::requestQuit() {
  quitPosted_ = true;
  PostQuitMessage(0);
}

void Session::runLoop(const std::function<bool()>& done) {
  MSG msg;
  while (!quitting_ && !done()) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) {
      quitting_ = true;
      break;
    }
    const HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    Form* f = root ? formOf(root) : nullptr;
    if (f && f->dialogKeys() && IsDialogMessageW(root, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void Session::showNotice(const std::wstring& text) { services_.showBox(BoxKind::Notice, text); }

void Session::showError(const std::wstring& text) {
  Timer::ErrorBoxPause pause(*this);
  services_.showBox(BoxKind::Error, core::errorBoxText(text));
}

void Session::showCurrentException() { showError(currentExceptionText()); }

}  // namespace lumivex::ui
