// The benchmark's empty program: a small "splash" popup and nothing else; its working set is the floor that
// every Wine program with a window pays.
#include <windows.h>

namespace {
LRESULT CALLBACK proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_TIMER) DestroyWindow(h);
  if (msg == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(h, msg, wp, lp);
}
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = L"Empty";
  RegisterClassW(&wc);
  HWND h = CreateWindowExW(WS_EX_TOPMOST, L"Empty", L"splash", WS_POPUP, 0, 0, 64, 64, nullptr, nullptr, instance,
                           nullptr);
  SetTimer(h, 1, 7000, nullptr);
  ShowWindow(h, SW_SHOW);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}
