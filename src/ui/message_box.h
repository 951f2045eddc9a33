// The application title that captions every box, the expected failure whose text an error box shows, and the text
// for whatever escaped a handler. The boxes themselves are the session's.
#pragma once
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

// The error box's text for the exception being handled; call from inside a catch block.
std::wstring currentExceptionText();

}  // namespace lumivex::ui
