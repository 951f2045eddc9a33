// The benchmark's baseline: the least work that shows a picture in a borderless topmost popup — a LoadImageW
// (BMP) or one whole libjpeg-turbo decode at natural size (JPEG), a window of the picture's size centred by the
// splash window's rule, a BitBlt in WM_PAINT; for a PNG, one libspng decode, premultiplied, given to
// UpdateLayeredWindow before the window is shown. It closes itself after the seconds given as second argument.
// Built with LUMIVEX_FLOOR it is the floor program: the same, plus what the design forces before the first paint —
// the program's manifest (common controls 6), the 17 reads of the settings file beside it, the layered-window
// entry looked up at run time, and the hidden owner window that keeps the popup off the taskbar.
#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/alpha_pixels.h"
#include "core/geometry.h"
#include "core/jpeg_decoder.h"
#include "core/png_decoder.h"

namespace {

HBITMAP g_bitmap = nullptr;
int g_width = 0, g_height = 0;

HBITMAP loadJpeg(const std::wstring& path) {
  std::ifstream in(std::string(path.begin(), path.end()), std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const lumivex::core::JpegPicture jpeg(std::move(bytes));
  const lumivex::core::PixelBuffer pixels = jpeg.decodeAll();
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = pixels.width;
  bi.bmiHeader.biHeight = -pixels.height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  memcpy(bits, pixels.bgrx.data(), pixels.bgrx.size());
  return bmp;
}

HBITMAP loadPng(const std::wstring& path) {
  std::ifstream in(std::string(path.begin(), path.end()), std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const lumivex::core::PremultipliedPixels pixels =
      lumivex::core::premultiplied(lumivex::core::decodePng(bytes.data(), bytes.size()));
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), pixels.width, -pixels.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  memcpy(bits, pixels.bgra.data(), pixels.bgra.size());
  return bmp;
}

LRESULT CALLBACK proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(h, &ps);
      HDC mem = CreateCompatibleDC(dc);
      HGDIOBJ old = SelectObject(mem, g_bitmap);
      BitBlt(dc, 0, 0, g_width, g_height, mem, 0, 0, SRCCOPY);
      SelectObject(mem, old);
      DeleteDC(mem);
      EndPaint(h, &ps);
      return 0;
    }
    case WM_TIMER:
      DestroyWindow(h);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(h, msg, wp, lp);
  }
}

#ifdef LUMIVEX_FLOOR
// The reads of a start, in their order, from lumivex.ini in the program's folder.
void readSettings() {
  static const char* const keys[][2] = {
      {"Window", "Top"},      {"Window", "Left"},    {"option", "splashtime"}, {"option", "b_size"},
      {"option", "trans"},    {"option", "colo"},    {"option", "bcol"},       {"option", "fcol"},
      {"option", "winpos"},   {"option", "fsiz"},    {"option", "colo"},       {"option", "lbltrans"},
      {"message", "message"}, {"message", "message"}, {"pic", "picture"},      {"option", "name"},
      {"Window", "Maxmize"}};
  char exe[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, exe, MAX_PATH);
  std::string ini(exe, n);
  ini = ini.substr(0, ini.find_last_of('\\') + 1) + "lumivex.ini";
  char value[1024];
  for (const auto& key : keys) GetPrivateProfileStringA(key[0], key[1], "", value, sizeof(value), ini.c_str());
}
#endif

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argc < 3) return 2;
  const std::wstring path = argv[1];
#ifdef LUMIVEX_FLOOR
  readSettings();
  using SetLayered = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
  const auto setLayered = reinterpret_cast<SetLayered>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetLayeredWindowAttributes")));
  if (!setLayered) return 3;
#endif
  const UINT seconds = static_cast<UINT>(_wtoi(argv[2]));
  const std::wstring ext = path.substr(path.find_last_of(L'.') + 1);
  const bool png = ext == L"png" || ext == L"PNG";
  g_bitmap = (ext == L"bmp" || ext == L"BMP")
                 ? static_cast<HBITMAP>(LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0,
                                                   LR_LOADFROMFILE | LR_CREATEDIBSECTION))
                 : png ? loadPng(path) : loadJpeg(path);
  BITMAP info{};
  GetObjectW(g_bitmap, sizeof(info), &info);
  g_width = info.bmWidth;
  g_height = std::abs(info.bmHeight);

  WNDCLASSW wc{};
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.lpszClassName = L"Baseline";
  RegisterClassW(&wc);
  const int top = lumivex::core::centredOrigin(GetSystemMetrics(SM_CYVIRTUALSCREEN), g_height);
  const int left = lumivex::core::centredOrigin(GetSystemMetrics(SM_CXVIRTUALSCREEN), g_width);
  HWND owner = nullptr;
#ifdef LUMIVEX_FLOOR
  owner = CreateWindowExW(0, L"Baseline", L"owner", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);
#endif
  HWND h = CreateWindowExW(WS_EX_TOPMOST, L"Baseline", L"splash", WS_POPUP, left, top, g_width, g_height, owner,
                           nullptr, instance, nullptr);
  SetTimer(h, 1, seconds * 1000, nullptr);
  if (png) {
    SetWindowLongPtrW(h, GWL_EXSTYLE, GetWindowLongPtrW(h, GWL_EXSTYLE) | WS_EX_LAYERED);
    HDC mem = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(mem, g_bitmap);
    SIZE size{g_width, g_height};
    POINT origin{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    UpdateLayeredWindow(h, nullptr, nullptr, &size, mem, &origin, 0, &blend, ULW_ALPHA);
    SelectObject(mem, old);
    DeleteDC(mem);
  }
  ShowWindow(h, SW_SHOW);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}
