// The message list file "mes.txt": one start-up message per line, code page 932 bytes.
#pragma once

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

}  // namespace lumivex::core
