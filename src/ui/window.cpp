// The window-procedure trampoline and the guarded dispatch.
#include "ui/window.h"

#include "core/error_text.h"
#include "ui/message_box.h"
#include "ui/scaling.h"

namespace lumivex::ui {
namespace {

constexpr wchar_t kClassName[] = L"Lumivex.Window";

void registerClassOnce(WNDPROC proc) {
  static const bool registered = [proc] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.lpszClassName = kClassName;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    // The icon's design sizes at the screen's dpi, taken from the entries of the icon resource.
    const int dpi = systemDpi();
    wc.hIcon = static_cast<HICON>(LoadImageW(wc.hInstance, L"MAINICON", IMAGE_ICON, toPixels(32, dpi),
                                             toPixels(32, dpi), LR_DEFAULTCOLOR));
    wc.hIconSm = static_cast<HICON>(LoadImageW(wc.hInstance, L"MAINICON", IMAGE_ICON, toPixels(16, dpi),
                                               toPixels(16, dpi), LR_DEFAULTCOLOR));
    return RegisterClassExW(&wc) != 0;
  }();
  (void)registered;
}

}  // namespace

Window::~Window() { destroy(); }

void Window::destroy() {
  if (!hwnd_) return;
  HWND h = hwnd_;
  // From here on the window's messages no longer reach this object.
  SetWindowLongPtrW(h, GWLP_USERDATA, 0);
  if (original_ && GetWindowLongPtrW(h, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(standardProc))
    SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
  original_ = nullptr;
  hwnd_ = nullptr;
  DestroyWindow(h);
}

void Window::createOwn(DWORD exStyle, DWORD style, const wchar_t* title, int x, int y, int w, int h, HWND parent,
                       HMENU menu) {
  registerClassOnce(windowProc);
  CreateWindowExW(exStyle, kClassName, title, style, x, y, w, h, parent, menu, GetModuleHandleW(nullptr), this);
}

void Window::createStandard(const wchar_t* className, DWORD exStyle, DWORD style, const wchar_t* text, int x, int y,
                            int w, int h, HWND parent, int id) {
  hwnd_ = CreateWindowExW(exStyle, className, text, style, x, y, w, h, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (!hwnd_) return;
  // The window procedure itself is replaced rather than chained through the common-controls subclass list, which
  // costs several round trips to the window server per message under Wine.
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  original_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(standardProc)));
}

void Window::reportException() {
  MessageBoxW(GetActiveWindow(), core::errorBoxText(currentExceptionText()).c_str(), kAppTitle, MB_OK | MB_ICONERROR);
}

LRESULT Window::handleMessage(UINT msg, WPARAM wp, LPARAM lp) { return callDefault(msg, wp, lp); }

LRESULT Window::callDefault(UINT msg, WPARAM wp, LPARAM lp) {
  return original_ ? CallWindowProcW(original_, hwnd_, msg, wp, lp) : DefWindowProcW(hwnd_, msg, wp, lp);
}

LRESULT CALLBACK Window::windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    LRESULT r = dispatch(self, msg, wp, lp);
    self->hwnd_ = nullptr;
    return r;
  }
  return dispatch(self, msg, wp, lp);
}

// A standard control whose object is gone (or going) gets its class's own procedure.
LRESULT CALLBACK Window::standardProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) {
    const auto own = reinterpret_cast<WNDPROC>(GetClassLongPtrW(hwnd, GCLP_WNDPROC));
    return CallWindowProcW(own, hwnd, msg, wp, lp);
  }
  if (msg == WM_NCDESTROY) {
    const WNDPROC original = self->original_;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->original_ = nullptr;
    self->hwnd_ = nullptr;
    return CallWindowProcW(original, hwnd, msg, wp, lp);
  }
  return dispatch(self, msg, wp, lp);
}

LRESULT Window::dispatch(Window* self, UINT msg, WPARAM wp, LPARAM lp) {
  try {
    return self->handleMessage(msg, wp, lp);
  } catch (...) {
    self->reportException();
    return 0;
  }
}

}  // namespace lumivex::ui
