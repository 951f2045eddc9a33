// The dpi of the screen and of the monitor a window is on.
#include "ui/scaling.h"

#include "ui/handles.h"

namespace lumivex::ui {

int systemDpi() {
  static const int dpi = [] {
    WindowDc screen(nullptr);
    const int d = GetDeviceCaps(screen.get(), LOGPIXELSY);
    return d > 0 ? d : kDesignDpi;
  }();
  return dpi;
}

int windowDpi(HWND window) {
  // Windows 10 1607 and later; earlier systems have one dpi for every monitor.
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (getDpiForWindow && window) {
    const UINT d = getDpiForWindow(window);
    if (d > 0) return static_cast<int>(d);
  }
  return systemDpi();
}

}  // namespace lumivex::ui
