// The message list file "mes.txt": one start-up message per line, in code page 932 unless a byte-order mark names
// UTF-8 or UTF-16.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lumivex::core {

// Splits the file's bytes into lines. CR, LF and CR LF each end a line; a last
// line without a break counts; a break at the end adds no empty line; a NUL byte
// ends the text. Scanning bytes is safe for code page 932: its trail bytes are
// 0x40..0x7E and 0x80..0xFC, so 0x00, 0x0A and 0x0D only ever stand for themselves.
std::vector<std::string> parseMessageList(std::string_view bytes);

// Each line followed by CR LF, the last one included.
std::string formatMessageList(const std::vector<std::string>& lines);

enum class TextEncoding { CodePage932, Utf8, Utf16LittleEndian, Utf16BigEndian };

// The encoding that the file's byte-order mark names, and the bytes after the mark; without a mark, code page 932
// and every byte, as files have always been read.
struct MarkedText {
  TextEncoding encoding;
  std::string_view body;
};
MarkedText detectEncoding(std::string_view bytes);

// The code page 932 conversions belong to the system; the message list asks for them.
using FromCodePage932 = std::function<std::wstring(std::string_view)>;
using ToCodePage932 = std::function<std::string(std::wstring_view)>;

struct MessageList {
  TextEncoding encoding = TextEncoding::CodePage932;  // the one it was read in, kept when it is written again
  std::vector<std::wstring> lines;
};

// The lines by the rules of parseMessageList, in the encoding the file's mark names.
MessageList readMessageList(std::string_view bytes, const FromCodePage932& fromCodePage932);
// The file's bytes in the list's encoding, with its byte-order mark; lines closed by CR LF.
std::string writeMessageList(const MessageList& list, const ToCodePage932& toCodePage932);

}  // namespace lumivex::core
