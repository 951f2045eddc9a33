// Conversion between settings-file value texts and integers, colours, switches and companion texts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lumivex::core {

// Reads a settings value as a 32-bit integer. Accepted: leading spaces, then a
// signed decimal number within the 32-bit range, or a hexadecimal number of 1 to
// 8 digits introduced by "$", "x", "X", "0x" or "0X" and read as the 32-bit
// pattern it spells, with nothing after the last digit. Anything else gives def.
int32_t toIntDef(std::string_view text, int32_t def);

int32_t clampToRange(int32_t v, int32_t lo, int32_t hi);

// Signed decimal text, as written to the settings file ("-2147483633").
std::string intToText(int32_t v);

// A companion value: the text's UTF-8 form with "%" and every byte outside printable ASCII written as "%XX"
// (upper-case hex), so that it passes any ANSI code page unchanged: "Caf%C3%A9 %E2%98%95".
std::string toEscapedUtf8(std::wstring_view text);
// Null when the text is not such a value: a character outside printable ASCII, a "%" without two hex digits, or
// bytes that are not UTF-8.
std::optional<std::wstring> fromEscapedUtf8(std::wstring_view text);

}  // namespace lumivex::core
