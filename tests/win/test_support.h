// Helpers for the Windows tests: message pumping with deadlines, recorded boxes and a temporary program folder.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include <windows.h>

#include <gtest/gtest.h>

#include "ui/message_box.h"

namespace lumivex::testing {

// Dispatches messages until `done` holds or `timeoutMs` passes; returns whether `done` held.
bool pumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);
void pumpFor(DWORD ms);

// Records every notice and error box instead of showing it, for as long as it lives.
class BoxRecorder {
 public:
  BoxRecorder();
  ~BoxRecorder();
  struct Box {
    ui::BoxKind kind;
    std::wstring text;
  };
  std::vector<Box> boxes;
  std::function<void(const Box&)> onBox;  // runs while the box would be on screen
};

// A fresh folder under %TEMP%, removed with everything in it at the end.
class TempFolder {
 public:
  explicit TempFolder(const std::wstring& leaf = L"");
  ~TempFolder();
  const std::wstring& path() const { return path_; }
  std::wstring file(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  std::wstring path_;
};

std::string readFileBytes(const std::wstring& path);
void writeFileBytes(const std::wstring& path, const std::string& bytes);
bool fileExists(const std::wstring& path);

// The tooltip window of this thread owned by `owner` (a form), or null.
HWND tooltipOwnedBy(HWND owner);

// A window's pixels (frame included): as the window draws them, or as the screen shows them once every window of
// the thread has painted.
class WindowPixels {
 public:
  enum class Source { Window, Screen };
  explicit WindowPixels(HWND window, Source source = Source::Window);
  int width() const { return width_; }
  int height() const { return height_; }
  COLORREF at(int x, int y) const;  // relative to the window's top-left corner

 private:
  int width_ = 0, height_ = 0;
  std::vector<DWORD> pixels_;  // top-down rows of 0x00RRGGBB
};

// Whether the screen shows a push button over `button`'s rectangle: its shadowed edges, and a caption in the
// text colour when it is enabled, in the greyed colours when it is disabled.
::testing::AssertionResult pushButtonOnScreen(HWND button);

}  // namespace lumivex::testing
