// Conversion between settings-file value texts and integers, colours and switches.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace lumivex::core {

// Reads a settings value as a 32-bit integer. Accepted: leading spaces, then a
// signed decimal number within the 32-bit range, or a hexadecimal number of 1 to
// 8 digits introduced by "$", "x", "X", "0x" or "0X" and read as the 32-bit
// pattern it spells, with nothing after the last digit. Anything else gives def.
int32_t toIntDef(std::string_view text, int32_t def);

// Reads a switch: as an integer with default 1 or 0; zero is false, any other number true.
bool toBoolDef(std::string_view text, bool def);

int32_t clampToRange(int32_t v, int32_t lo, int32_t hi);

// Signed decimal text, as written to the settings file ("-2147483633").
std::string intToText(int32_t v);

}  // namespace lumivex::core
