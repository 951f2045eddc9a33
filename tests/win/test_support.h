// Helpers for the Windows tests: message pumping with deadlines, the services a test stands in for, and a temporary
// program folder.
#pragma once
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <windows.h>

#include <gtest/gtest.h>

#include "ui/colour.h"
#include "ui/form.h"
#include "ui/message_box.h"
#include "ui/services.h"
#include "ui/session.h"

namespace lumivex::testing {

// Dispatches messages until `done` holds or `timeoutMs` passes; returns whether `done` held.
bool pumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);
void pumpFor(DWORD ms);

// Posts a key's press and release to `window`, as the keyboard sends them to the focus.
void postKey(HWND window, WORD vk);
// Posts a click to a button or check box: it is handled once the modal loop it is in runs.
void press(const ui::Control& control);

// The system as a test has it: every box recorded instead of shown, the choosers answered by the test (cancelled
// without an answer), the executable where the test puts it, and the test's hooks run as forms enter their modal
// loops (first in, first out; a form with no hook queued stays open).
class FakeServices : public ui::Services {
 public:
  explicit FakeServices(std::wstring exePath = L"C:\\lumivex\\lumivex.exe") : exe(std::move(exePath)) {}
  struct Box {
    ui::BoxKind kind;
    std::wstring text;
  };
  std::vector<Box> boxes;
  std::function<void(const Box&)> onBox;  // runs while the box would be on screen
  std::function<std::optional<std::wstring>(const ui::OpenFileDialog&)> fileChoice;
  std::function<std::optional<ui::Colour>(const ui::ColourDialog&)> colourChoice;
  std::wstring exe;
  unsigned metafileTrialMs = 1000;
  const char* layeredEntryName = "SetLayeredWindowAttributes";  // another name stands for a system without it

  using ModalHook = std::function<void(ui::Form&)>;
  void queueModalHook(ModalHook hook) { modalHooks_.push_back(std::move(hook)); }
  size_t pendingModalHooks() const { return modalHooks_.size(); }

  void showBox(ui::BoxKind kind, const std::wstring& text) override;
  bool choose(ui::OpenFileDialog& dialog, HWND owner) override;
  bool choose(ui::ColourDialog& dialog, HWND owner) override;
  std::wstring exePath() override { return exe; }
  unsigned metafileTrialLimitMs() override { return metafileTrialMs; }
  FARPROC layeredWindowEntry(HMODULE user32) override { return GetProcAddress(user32, layeredEntryName); }
  void modalLoopEntered(ui::Form& form) override;

 private:
  std::deque<ModalHook> modalHooks_;
};

// The services and session of windows a test makes on its own, without the application.
struct OwnSession {
  FakeServices services;
  ui::Session session{services};
};

// A form with a session of its own: a dialog or a test form on its own.
class LoneForm : protected OwnSession, public ui::Form {
 public:
  LoneForm() : ui::Form(OwnSession::session) {}
  using OwnSession::services;
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

// The screen's pixels per inch, as the system gives them to every program.
int screenDpi();

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

// Writes `bytes` to the file `name` in `folder` and gives its path.
std::wstring writtenFile(const TempFolder& folder, const std::wstring& name, const std::string& bytes);

}  // namespace lumivex::testing
