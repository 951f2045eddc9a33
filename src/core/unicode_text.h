// UTF-8 and UTF-16 bytes to and from the program's text: UTF-16 code units, one per wchar_t on every platform.
#pragma once

#include <string>
#include <string_view>

namespace lumivex::core {

// A pair of surrogates becomes one character; an unpaired surrogate becomes U+FFFD.
std::string toUtf8(std::wstring_view text);
// A malformed sequence (a stray byte, an overlong form, a surrogate, beyond U+10FFFF) becomes U+FFFD and clears
// `wellFormed` when given. Characters beyond U+FFFF become a pair of surrogates.
std::wstring fromUtf8(std::string_view bytes, bool* wellFormed = nullptr);

std::string toUtf16(std::wstring_view text, bool bigEndian);
// A last odd byte becomes U+FFFD.
std::wstring fromUtf16(std::string_view bytes, bool bigEndian);

}  // namespace lumivex::core
