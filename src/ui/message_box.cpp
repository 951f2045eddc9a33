// The notice and error boxes; timers that must not run while an error box is open are paused around it.
#include "ui/message_box.h"

#include <windows.h>

#include "core/error_text.h"
#include "ui/text.h"
#include "ui/timer.h"

namespace lumivex::ui {
namespace {

BoxHook& hook() {
  static BoxHook h;
  return h;
}

void show(BoxKind kind, const std::wstring& text) {
  if (hook()) {
    hook()(kind, text);
    return;
  }
  const UINT flags = MB_OK | (kind == BoxKind::Error ? MB_ICONERROR : 0u);
  MessageBoxW(GetActiveWindow(), text.c_str(), kAppTitle, flags);
}

}  // namespace

void setBoxHook(BoxHook h) { hook() = std::move(h); }

void showNotice(const std::wstring& text) { show(BoxKind::Notice, text); }

void showError(const std::wstring& text) {
  Timer::ErrorBoxPause pause;
  show(BoxKind::Error, core::errorBoxText(text));
}

void showCurrentException() {
  try {
    throw;
  } catch (const AppError& e) {
    showError(e.text());
  } catch (const std::exception& e) {
    showError(widen(e.what()));
  } catch (...) {
    showError(L"Unknown error");
  }
}

}  // namespace lumivex::ui
