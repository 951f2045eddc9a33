// The message list file "mes.txt": one start-up message per line, code page 932 bytes.
#include "core/message_list.h"

namespace lumivex::core {

std::vector<std::string> parseMessageList(std::string_view bytes) {
  bytes = bytes.substr(0, bytes.find('\0'));
  std::vector<std::string> lines;
  std::string_view::size_type start = 0;
  std::string_view::size_type i = 0;
  while (i < bytes.size()) {
    const char c = bytes[i];
    if (c != '\r' && c != '\n') {
      ++i;
      continue;
    }
    lines.emplace_back(bytes.substr(start, i - start));
    ++i;
    if (c == '\r' && i < bytes.size() && bytes[i] == '\n') ++i;
    start = i;
  }
  if (start < bytes.size()) lines.emplace_back(bytes.substr(start));
  return lines;
}

std::string formatMessageList(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

}  // namespace lumivex::core
