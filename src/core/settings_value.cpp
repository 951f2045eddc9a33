// Conversion between settings-file value texts and integers, colours, switches and companion texts.
#include "core/settings_value.h"

#include "core/unicode_text.h"

namespace lumivex::core {
namespace {

int hexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<int32_t> parseHex(std::string_view digits) {
  if (digits.empty() || digits.size() > 8) return std::nullopt;
  uint32_t value = 0;
  for (char c : digits) {
    const int d = hexDigitValue(c);
    if (d < 0) return std::nullopt;
    value = (value << 4) | static_cast<uint32_t>(d);
  }
  return static_cast<int32_t>(value);
}

std::optional<int32_t> parseDecimal(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  const int64_t limit = negative ? int64_t{1} << 31 : (int64_t{1} << 31) - 1;
  int64_t magnitude = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > limit) return std::nullopt;
  }
  return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

}  // namespace

int32_t toIntDef(std::string_view text, int32_t def) {
  std::string replaced;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    replaced = "$";
    replaced.append(text.substr(2));
    text = replaced;
  }
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);

  std::optional<int32_t> value;
  if (!text.empty() && (text[0] == '$' || text[0] == 'x' || text[0] == 'X')) {
    value = parseHex(text.substr(1));
  } else if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    value = parseHex(text.substr(2));
  } else {
    value = parseDecimal(text);
  }
  return value.value_or(def);
}

int32_t clampToRange(int32_t v, int32_t lo, int32_t hi) {
  if (v < lo) return lo;
  if (v > hi) return hi;
  return v;
}

std::string intToText(int32_t v) { return std::to_string(v); }

std::string toEscapedUtf8(std::wstring_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char byte : toUtf8(text)) {
    const auto b = static_cast<unsigned char>(byte);
    if (b >= 0x20 && b <= 0x7E && b != '%') {
      out += byte;
    } else {
      out += '%';
      out += kHex[b >> 4];
      out += kHex[b & 0xF];
    }
  }
  return out;
}

std::optional<std::wstring> fromEscapedUtf8(std::wstring_view text) {
  std::string bytes;
  for (size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    if (c < 0x20 || c > 0x7E) return std::nullopt;
    if (c != L'%') {
      bytes += static_cast<char>(c);
      continue;
    }
    const int hi = i + 1 < text.size() && text[i + 1] <= 0x7F ? hexDigitValue(static_cast<char>(text[i + 1])) : -1;
    const int lo = i + 2 < text.size() && text[i + 2] <= 0x7F ? hexDigitValue(static_cast<char>(text[i + 2])) : -1;
    if (hi < 0 || lo < 0) return std::nullopt;
    bytes += static_cast<char>(hi << 4 | lo);
    i += 2;
  }
  bool wellFormed = true;
  std::wstring decoded = fromUtf8(bytes, &wellFormed);
  if (!wellFormed) return std::nullopt;
  return decoded;
}

}  // namespace lumivex::core
