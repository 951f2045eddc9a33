// The plain notice box and the error box, both captioned with the application title.
#pragma once
#include <functional>
#include <stdexcept>
#include <string>

namespace lumivex::ui {

inline constexpr wchar_t kAppTitle[] = L"Lumivex";

// An expected failure whose text goes to the error box as it stands.
class AppError : public std::runtime_error {
 public:
  explicit AppError(std::wstring text) : std::runtime_error("application error"), text_(std::move(text)) {}
  const std::wstring& text() const { return text_; }

 private:
  std::wstring text_;
};

// Notice: no icon, one OK button, modal to the active window.
void showNotice(const std::wstring& text);
// Error box: error icon, the text with "." appended when its last character sorts after ".".
void showError(const std::wstring& text);
// Shows the error box for whatever escaped a handler; call from inside a catch block.
void showCurrentException();

enum class BoxKind { Notice, Error };
// Tests replace the boxes with a recorder; the recorder gets the exact text the box would show.
using BoxHook = std::function<void(BoxKind, const std::wstring&)>;
void setBoxHook(BoxHook hook);

}  // namespace lumivex::ui
