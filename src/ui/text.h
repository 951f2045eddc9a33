// Conversions between the program's UTF-16 text and the byte encodings at its edges (ANSI code page, code page 932).
#pragma once
#include <string>
#include <string_view>
#include <windows.h>

namespace lumivex::ui {

std::wstring widen(std::string_view bytes, UINT codePage = CP_ACP);
std::string narrow(std::wstring_view text, UINT codePage = CP_ACP);
// Whether every character of the text has bytes of its own in the code page, so that the bytes name the same text:
// no best-fit substitute ("e" for "é") and no default character. UTF-8 holds every text.
bool holdsExactly(std::wstring_view text, UINT codePage = CP_ACP);
inline std::wstring fromUtf8(std::string_view s) { return widen(s, CP_UTF8); }
std::wstring decimal(long long value);

}  // namespace lumivex::ui
