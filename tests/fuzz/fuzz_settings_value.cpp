// Fuzz harness for settings value conversion, against an independent reading of the accepted forms, and for the
// companion texts of values the file's encoding cannot hold.
#include <cerrno>
#include <cinttypes>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "core/settings_value.h"
#include "fuzz_check.h"

using namespace lumivex::core;

namespace {

bool allOf(std::string_view s, std::string_view set) {
  return s.find_first_not_of(set) == std::string_view::npos;
}

// Leading spaces, then [+-]digits within 32 bits, or "$"/"x"/"X"/"0x"/"0X" and 1 to 8 hex digits; a text
// longer than 2 characters starting "0x" or "0X" has those two replaced by "$" first.
std::optional<int32_t> expected(std::string_view text) {
  std::string s(text);
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) s = "$" + s.substr(2);
  const size_t first = s.find_first_not_of(' ');
  if (first == std::string::npos) return std::nullopt;
  s.erase(0, first);

  size_t prefix = 0;
  if (s[0] == '$' || s[0] == 'x' || s[0] == 'X') prefix = 1;
  else if (s.size() >= 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) prefix = 2;
  if (prefix > 0) {
    const std::string digits = s.substr(prefix);
    if (digits.empty() || digits.size() > 8 || !allOf(digits, "0123456789abcdefABCDEF")) return std::nullopt;
    return static_cast<int32_t>(static_cast<uint32_t>(std::strtoul(digits.c_str(), nullptr, 16)));
  }

  const size_t sign = s[0] == '+' || s[0] == '-' ? 1 : 0;
  if (s.size() == sign || !allOf(std::string_view(s).substr(sign), "0123456789")) return std::nullopt;
  errno = 0;
  const long long v = std::strtoll(s.c_str(), nullptr, 10);
  if (errno == ERANGE || v < INT32_MIN || v > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(v);
}

std::string format(const char* pattern, uint32_t v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, pattern, v);
  return buf;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::optional<int32_t> want = expected(text);
  for (const int32_t def : {INT32_MIN, -1, 0, 1, 12, INT32_MAX}) FUZZ_CHECK(toIntDef(text, def) == want.value_or(def));

  // Every number, whichever way the program or a user writes it, reads back as itself.
  uint32_t bits = 0;
  for (size_t i = 0; i < size && i < 4; ++i) bits = bits << 8 | data[i];
  const auto v = static_cast<int32_t>(bits);
  const int32_t other = v ^ 0x5A5A5A5A;
  FUZZ_CHECK(toIntDef(intToText(v), other) == v);
  for (const char* pattern : {"$%X", "$%08x", "0x%x", "0X%08X", "x%x", "X%X", "   $%X", "  0x%X"})
    FUZZ_CHECK(toIntDef(format(pattern, bits), other) == v);
  if (v >= 0) FUZZ_CHECK(toIntDef(format("+%" PRIu32, bits), other) == v);
  FUZZ_CHECK(toIntDef("  " + intToText(v), other) == v);
  FUZZ_CHECK(toIntDef(format("$%X", bits) + " ", other) == other);
  FUZZ_CHECK(toIntDef(format("$1%08X", bits), other) == other);

  const int32_t lo = static_cast<int32_t>(bits >> 16) - 0x8000, hi = lo + static_cast<int32_t>(bits & 0xFFFF);
  const int32_t c = clampToRange(v, lo, hi);
  FUZZ_CHECK(c >= lo && c <= hi && (c == v || (v < lo && c == lo) || (v > hi && c == hi)));

  // A companion text read from the file: printable ASCII only when it decodes, and its text escapes back to a
  // companion that decodes to the same text.
  const std::wstring stored(text.begin(), text.end());
  if (const std::optional<std::wstring> value = fromEscapedUtf8(stored)) {
    FUZZ_CHECK(stored.find_first_not_of(L" !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`"
                                        L"abcdefghijklmnopqrstuvwxyz{|}~") == std::wstring::npos);
    const std::string again = toEscapedUtf8(*value);
    FUZZ_CHECK(fromEscapedUtf8(std::wstring(again.begin(), again.end())) == value);
  }
  // Any text, as UTF-16 units taken two bytes at a time, makes a companion of printable ASCII that reads back.
  std::wstring units;
  for (size_t i = 0; i + 1 < size; i += 2) units += static_cast<wchar_t>(data[i] << 8 | data[i + 1]);
  const std::string escaped = toEscapedUtf8(units);
  for (const char ch : escaped) FUZZ_CHECK(ch >= 0x20 && ch <= 0x7E);
  const std::optional<std::wstring> back = fromEscapedUtf8(std::wstring(escaped.begin(), escaped.end()));
  FUZZ_CHECK(back.has_value());
  bool unpaired = false;
  for (size_t i = 0; i < units.size(); ++i) {
    const bool high = units[i] >= 0xD800 && units[i] <= 0xDBFF, low = units[i] >= 0xDC00 && units[i] <= 0xDFFF;
    if (high && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) ++i;
    else if (high || low) unpaired = true;
  }
  if (!unpaired) FUZZ_CHECK(*back == units);
  return 0;
}
