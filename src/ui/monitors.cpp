// The monitors as the window system reports them, for the placement rule.
#include "ui/monitors.h"

namespace lumivex::ui {
namespace {

BOOL CALLBACK addMonitor(HMONITOR monitor, HDC, RECT*, LPARAM list) {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (GetMonitorInfoW(monitor, &info))
    reinterpret_cast<core::Monitors*>(list)->push_back(
        {toCore(info.rcMonitor), toCore(info.rcWork), (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
  return TRUE;
}

}  // namespace

core::Monitors monitors() {
  core::Monitors found;
  EnumDisplayMonitors(nullptr, nullptr, addMonitor, reinterpret_cast<LPARAM>(&found));
  if (found.empty()) {
    const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT work = screen;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    found.push_back({toCore(screen), toCore(work), true});
  }
  return found;
}

}  // namespace lumivex::ui
