// The error text of a failed COM or system call, as the error box shows it.
#include "startup/com_failure.h"

#include <cwchar>

#include "ui/message_box.h"

namespace lumivex::startup {

std::wstring failureText(HRESULT code) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text(buffer ? buffer : L"", buffer ? length : 0);
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() <= L' ' || text.back() == L'.')) text.pop_back();
  if (text.empty()) {
    wchar_t hex[16];
    swprintf(hex, 16, L"%.8X", static_cast<unsigned>(code));
    text = std::wstring(L"OLE エラー ") + hex;
  }
  return text;
}

void check(HRESULT code) {
  if (FAILED(code)) throw ui::AppError(failureText(code));
}

void checkInterface(HRESULT code) {
  if (code == E_NOINTERFACE) throw ui::AppError(L"Interface はサポートされていません");
  check(code);
}

}  // namespace lumivex::startup
