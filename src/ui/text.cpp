// Conversions between UTF-16 and byte encodings through the system's code page tables.
#include "ui/text.h"

namespace lumivex::ui {

std::wstring widen(std::string_view bytes, UINT codePage) {
  if (bytes.empty()) return {};
  const int n = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
  return out;
}

std::string narrow(std::wstring_view text, UINT codePage) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

bool holdsExactly(std::wstring_view text, UINT codePage) {
  if (text.empty()) return true;
  const UINT page = codePage == CP_ACP ? GetACP() : codePage;
  if (page == CP_UTF8) return true;  // the used-default flag is not allowed there, and nothing needs it
  BOOL usedDefault = FALSE;
  const int n = WideCharToMultiByte(page, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()), nullptr,
                                    0, nullptr, &usedDefault);
  return n > 0 && !usedDefault;
}

std::wstring decimal(long long value) { return std::to_wstring(value); }

}  // namespace lumivex::ui
