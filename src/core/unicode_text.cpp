// UTF-8 and UTF-16 bytes to and from the program's UTF-16 text.
#include "core/unicode_text.h"

#include <cstdint>

namespace lumivex::core {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// A character of the program's text: units above U+10FFFF exist only where wchar_t has 32 bits.
char32_t inRange(char32_t c) { return c > 0x10FFFF ? kReplacement : c; }

bool isHighSurrogate(char32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool isLowSurrogate(char32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

void appendUtf16(std::wstring& out, char32_t c) {
  if (c < 0x10000) {
    out += static_cast<wchar_t>(c);
  } else {
    c -= 0x10000;
    out += static_cast<wchar_t>(0xD800 + (c >> 10));
    out += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
  }
}

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

std::string toUtf8(std::wstring_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = static_cast<char32_t>(text[i]);
    if (isHighSurrogate(c) && i + 1 < text.size() && isLowSurrogate(static_cast<char32_t>(text[i + 1]))) {
      c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(text[i + 1]) - 0xDC00);
      ++i;
    } else if (isHighSurrogate(c) || isLowSurrogate(c)) {
      c = kReplacement;
    }
    c = inRange(c);
    appendUtf8(out, c);
  }
  return out;
}

std::wstring fromUtf8(std::string_view bytes, bool* wellFormed) {
  std::wstring out;
  out.reserve(bytes.size());
  if (wellFormed) *wellFormed = true;
  const auto bad = [&] {
    if (wellFormed) *wellFormed = false;
    appendUtf16(out, kReplacement);
  };
  size_t i = 0;
  while (i < bytes.size()) {
    const auto b = static_cast<uint8_t>(bytes[i]);
    if (b < 0x80) {
      out += static_cast<wchar_t>(b);
      ++i;
      continue;
    }
    size_t length = 0;
    char32_t c = 0, least = 0;
    if (b >= 0xC2 && b <= 0xDF) length = 2, c = b & 0x1F, least = 0x80;
    else if (b >= 0xE0 && b <= 0xEF) length = 3, c = b & 0x0F, least = 0x800;
    else if (b >= 0xF0 && b <= 0xF4) length = 4, c = b & 0x07, least = 0x10000;
    size_t n = 1;
    while (length > 0 && n < length && i + n < bytes.size() && (static_cast<uint8_t>(bytes[i + n]) & 0xC0) == 0x80) {
      c = (c << 6) | (static_cast<uint8_t>(bytes[i + n]) & 0x3F);
      ++n;
    }
    if (length == 0 || n < length || c < least || c > 0x10FFFF || isHighSurrogate(c) || isLowSurrogate(c)) {
      bad();
      i += length == 0 ? 1 : n;  // the bytes of the broken sequence, or the stray byte, stand for one U+FFFD
      continue;
    }
    appendUtf16(out, c);
    i += n;
  }
  return out;
}

std::string toUtf16(std::wstring_view text, bool bigEndian) {
  std::string out;
  out.reserve(text.size() * 2);
  std::wstring units;
  for (wchar_t w : text) appendUtf16(units, inRange(static_cast<char32_t>(w)));
  for (wchar_t w : units) {
    const auto u = static_cast<uint16_t>(w);
    const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
    out += bigEndian ? hi : lo;
    out += bigEndian ? lo : hi;
  }
  return out;
}

std::wstring fromUtf16(std::string_view bytes, bool bigEndian) {
  std::wstring out;
  out.reserve(bytes.size() / 2 + 1);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto a = static_cast<uint8_t>(bytes[i]), b = static_cast<uint8_t>(bytes[i + 1]);
    out += static_cast<wchar_t>(bigEndian ? (a << 8 | b) : (b << 8 | a));
  }
  if (bytes.size() % 2) out += static_cast<wchar_t>(kReplacement);
  return out;
}

}  // namespace lumivex::core
