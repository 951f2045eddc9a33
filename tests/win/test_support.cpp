// Helpers for the Windows tests.
#include "test_support.h"

#include <commctrl.h>
#include <shellapi.h>

#include "ui/common_dialogs.h"
#include "ui/handles.h"

namespace lumivex::testing {

bool pumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        return done();
      }
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (done()) return true;
    if (GetTickCount64() >= deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}

void pumpFor(DWORD ms) { pumpUntil([] { return false; }, ms); }

void postKey(HWND window, WORD vk) {
  PostMessageW(window, WM_KEYDOWN, vk, 0);
  PostMessageW(window, WM_KEYUP, vk, static_cast<LPARAM>(0xC0000000));
}

void press(const ui::Control& control) { PostMessageW(control.hwnd(), BM_CLICK, 0, 0); }

void FakeServices::showBox(ui::BoxKind kind, const std::wstring& text) {
  boxes.push_back({kind, text});
  if (onBox) onBox(boxes.back());
}

bool FakeServices::choose(ui::OpenFileDialog& dialog, HWND) {
  const auto chosen = fileChoice ? fileChoice(dialog) : std::nullopt;
  if (chosen) dialog.fileName = *chosen;
  return chosen.has_value();
}

bool FakeServices::choose(ui::ColourDialog& dialog, HWND) {
  const auto chosen = colourChoice ? colourChoice(dialog) : std::nullopt;
  if (chosen) dialog.colour = *chosen;
  return chosen.has_value();
}

void FakeServices::modalLoopEntered(ui::Form& form) {
  if (modalHooks_.empty()) return;
  ModalHook hook = std::move(modalHooks_.front());
  modalHooks_.pop_front();
  hook(form);
}

TempFolder::TempFolder(const std::wstring& leaf) {
  wchar_t base[MAX_PATH];
  GetTempPathW(MAX_PATH, base);
  static int counter = 0;
  path_ = std::wstring(base) + L"lumivex-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
          std::to_wstring(++counter);
  CreateDirectoryW(path_.c_str(), nullptr);
  if (!leaf.empty()) {
    path_ += L"\\" + leaf;
    CreateDirectoryW(path_.c_str(), nullptr);
  }
}

TempFolder::~TempFolder() {
  std::wstring from = path_;
  const size_t cut = from.find(L"\\lumivex-test-");
  if (cut != std::wstring::npos) {
    const size_t end = from.find(L'\\', cut + 1);
    if (end != std::wstring::npos) from.resize(end);
  }
  SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
  from.push_back(L'\0');
  SHFILEOPSTRUCTW op{};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_NO_UI;
  SHFileOperationW(&op);
}

std::string readFileBytes(const std::wstring& path) {
  std::string out;
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                         nullptr);
  if (f == INVALID_HANDLE_VALUE) return out;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(f, buffer, sizeof(buffer), &got, nullptr) && got > 0) out.append(buffer, got);
  CloseHandle(f);
  return out;
}

void writeFileBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(f);
}

bool fileExists(const std::wstring& path) {
  const DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

HWND tooltipOwnedBy(HWND owner) {
  struct Search {
    HWND owner, found;
  } s{owner, nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND h, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        wchar_t cls[64]{};
        GetClassNameW(h, cls, 64);
        if (lstrcmpiW(cls, TOOLTIPS_CLASSW) == 0 && GetWindow(h, GW_OWNER) == s->owner) s->found = h;
        return s->found == nullptr;
      },
      reinterpret_cast<LPARAM>(&s));
  return s.found;
}

int screenDpi() { return GetDeviceCaps(ui::WindowDc(nullptr).get(), LOGPIXELSY); }

WindowPixels::WindowPixels(HWND window, Source source) {
  if (source == Source::Screen) {
    RedrawWindow(GetAncestor(window, GA_ROOT), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    pumpFor(100);
  }
  RECT r{};
  GetWindowRect(window, &r);
  width_ = r.right - r.left;
  height_ = r.bottom - r.top;
  const ui::WindowDc screen(nullptr);
  const ui::MemoryDc memory(CreateCompatibleDC(screen.get()));
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = width_;
  bi.bmiHeader.biHeight = -height_;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  const ui::BitmapHandle dib(CreateDIBSection(memory.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  const ui::SelectGuard selected(memory.get(), dib.get());
  if (source == Source::Screen) BitBlt(memory.get(), 0, 0, width_, height_, screen.get(), r.left, r.top, SRCCOPY);
  else PrintWindow(window, memory.get(), 0);
  GdiFlush();
  const auto* p = static_cast<const DWORD*>(bits);
  pixels_.assign(p, p + static_cast<size_t>(width_) * static_cast<size_t>(height_));
}

COLORREF WindowPixels::at(int x, int y) const {
  const DWORD p = pixels_.at(static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x));
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

::testing::AssertionResult pushButtonOnScreen(HWND button) {
  wchar_t caption[64]{};
  GetWindowTextW(button, caption, 64);
  const WindowPixels shot(button, WindowPixels::Source::Screen);
  const int w = shot.width(), h = shot.height();
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  if (shot.at(w / 2, h - 1) == face || shot.at(w - 1, h / 2) == face)
    return ::testing::AssertionFailure() << "no shadowed edge on screen for the button \"" << caption << "\"";
  // The caption: the inside of the button, away from its edges and focus rectangle.
  int text = 0, grey = 0;
  for (int y = 4; y < h - 4; ++y)
    for (int x = 4; x < w - 4; ++x) {
      const COLORREF c = shot.at(x, y);
      if (c == GetSysColor(COLOR_BTNTEXT)) ++text;
      else if (c == GetSysColor(COLOR_GRAYTEXT) || c == GetSysColor(COLOR_BTNSHADOW)) ++grey;
    }
  const bool enabled = IsWindowEnabled(button) != FALSE;
  if (enabled && text == 0)
    return ::testing::AssertionFailure() << "no caption on screen for the enabled button \"" << caption << "\"";
  if (!enabled && (text != 0 || grey == 0))
    return ::testing::AssertionFailure() << "the disabled button \"" << caption << "\" is not shown greyed ("
                                         << text << " text pixels, " << grey << " grey)";
  return ::testing::AssertionSuccess();
}

std::wstring writtenFile(const TempFolder& folder, const std::wstring& name, const std::string& bytes) {
  const std::wstring path = folder.file(name);
  writeFileBytes(path, bytes);
  return path;
}

}  // namespace lumivex::testing
