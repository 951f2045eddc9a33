// Fuzz harness for the message list codec: lines against a plain reading of the rules, the round trip, and the
// encodings that a byte-order mark names.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "../core/byte_text.h"
#include "core/message_list.h"
#include "fuzz_check.h"

using namespace lumivex::core;

namespace {

// CR LF and lone CR become LF, the text ends at a NUL, and each LF ends a line.
std::vector<std::string> expected(std::string_view bytes) {
  std::string text;
  for (size_t i = 0; i < bytes.size() && bytes[i] != '\0'; ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    text += bytes[i] == '\r' ? '\n' : bytes[i];
  }
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t lf; (lf = text.find('\n', start)) != std::string::npos; start = lf + 1)
    lines.push_back(text.substr(start, lf - start));
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

using lumivex::core::testing::bytesAsText;
using lumivex::core::testing::textAsBytes;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> lines = parseMessageList(bytes);
  FUZZ_CHECK(lines == expected(bytes));

  size_t total = 0;
  for (const std::string& line : lines) {
    FUZZ_CHECK(line.find_first_of(std::string_view("\r\n\0", 3)) == std::string::npos);
    total += line.size() + 2;
  }
  const std::string file = formatMessageList(lines);
  FUZZ_CHECK(file.size() == total);
  FUZZ_CHECK(file.empty() || file.compare(file.size() - 2, 2, "\r\n") == 0);
  FUZZ_CHECK(parseMessageList(file) == lines);
  FUZZ_CHECK(formatMessageList(parseMessageList(file)) == file);

  // Whatever the encoding, the lines hold no line break, and writing them in it reads back the same lines.
  const MessageList list = readMessageList(bytes, bytesAsText);
  for (const std::wstring& line : list.lines)
    FUZZ_CHECK(line.find_first_of(std::wstring_view(L"\r\n\0", 3)) == std::wstring::npos);
  const std::string written = writeMessageList(list, textAsBytes);
  const MessageList again = readMessageList(written, bytesAsText);
  FUZZ_CHECK(again.encoding == list.encoding);
  FUZZ_CHECK(again.lines == list.lines);
  FUZZ_CHECK(writeMessageList(again, textAsBytes) == written);
  if (list.encoding == TextEncoding::CodePage932) FUZZ_CHECK(list.lines.size() == lines.size());
  return 0;
}
