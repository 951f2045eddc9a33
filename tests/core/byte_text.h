// Stands for the system's code page 932 conversion in tests: each byte one character and back, so a test sees which
// bytes reached the conversion and a round trip gives every byte back.
#pragma once
#include <string>
#include <string_view>

namespace lumivex::core::testing {

inline std::wstring bytesAsText(std::string_view bytes) {
  std::wstring out;
  for (char c : bytes) out += static_cast<wchar_t>(static_cast<unsigned char>(c));
  return out;
}

inline std::string textAsBytes(std::wstring_view text) {
  std::string out;
  for (wchar_t c : text) out += static_cast<char>(c);
  return out;
}

}  // namespace lumivex::core::testing
