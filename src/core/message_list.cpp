// The message list file "mes.txt": lines, encodings and their byte-order marks.
#include "core/message_list.h"

#include "core/unicode_text.h"

namespace lumivex::core {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LittleEndianMark = "\xFF\xFE";
constexpr std::string_view kUtf16BigEndianMark = "\xFE\xFF";

bool startsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

template <typename Char>
std::vector<std::basic_string<Char>> splitLines(std::basic_string_view<Char> text) {
  text = text.substr(0, text.find(Char(0)));
  std::vector<std::basic_string<Char>> lines;
  typename std::basic_string_view<Char>::size_type start = 0, i = 0;
  while (i < text.size()) {
    const Char c = text[i];
    if (c != Char('\r') && c != Char('\n')) {
      ++i;
      continue;
    }
    lines.emplace_back(text.substr(start, i - start));
    ++i;
    if (c == Char('\r') && i < text.size() && text[i] == Char('\n')) ++i;
    start = i;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

}  // namespace

std::vector<std::string> parseMessageList(std::string_view bytes) { return splitLines(bytes); }

std::string formatMessageList(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

MarkedText detectEncoding(std::string_view bytes) {
  if (startsWith(bytes, kUtf8Mark)) return {TextEncoding::Utf8, bytes.substr(kUtf8Mark.size())};
  if (startsWith(bytes, kUtf16LittleEndianMark))
    return {TextEncoding::Utf16LittleEndian, bytes.substr(kUtf16LittleEndianMark.size())};
  if (startsWith(bytes, kUtf16BigEndianMark))
    return {TextEncoding::Utf16BigEndian, bytes.substr(kUtf16BigEndianMark.size())};
  return {TextEncoding::CodePage932, bytes};
}

MessageList readMessageList(std::string_view bytes, const FromCodePage932& fromCodePage932) {
  const MarkedText marked = detectEncoding(bytes);
  MessageList list;
  list.encoding = marked.encoding;
  switch (marked.encoding) {
    case TextEncoding::CodePage932:
      for (const auto& line : parseMessageList(marked.body)) list.lines.push_back(fromCodePage932(line));
      break;
    case TextEncoding::Utf8:
      for (const auto& line : parseMessageList(marked.body)) list.lines.push_back(fromUtf8(line));
      break;
    case TextEncoding::Utf16LittleEndian:
    case TextEncoding::Utf16BigEndian: {
      const std::wstring text = fromUtf16(marked.body, marked.encoding == TextEncoding::Utf16BigEndian);
      list.lines = splitLines(std::wstring_view(text));
      break;
    }
  }
  return list;
}

std::string writeMessageList(const MessageList& list, const ToCodePage932& toCodePage932) {
  std::wstring text;
  for (const auto& line : list.lines) text += line + L"\r\n";
  switch (list.encoding) {
    case TextEncoding::CodePage932: {
      std::vector<std::string> lines;
      for (const auto& line : list.lines) lines.push_back(toCodePage932(line));
      return formatMessageList(lines);
    }
    case TextEncoding::Utf8:
      return std::string(kUtf8Mark) + toUtf8(text);
    case TextEncoding::Utf16LittleEndian:
      return std::string(kUtf16LittleEndianMark) + toUtf16(text, false);
    case TextEncoding::Utf16BigEndian:
      return std::string(kUtf16BigEndianMark) + toUtf16(text, true);
  }
  return {};
}

}  // namespace lumivex::core
