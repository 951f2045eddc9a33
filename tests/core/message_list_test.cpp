// Tests of the message list file codec.
#include "core/message_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "byte_text.h"

namespace lumivex::core {
namespace {

using Lines = std::vector<std::string>;

struct ParseCase {
  std::string bytes;
  Lines expected;
};

TEST(ParseMessageList, LineBreaksAndEnds) {
  const ParseCase cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\n", {"a"}},
      {"a\n", {"a"}},
      {"a\r", {"a"}},
      {"a\r\nb", {"a", "b"}},
      {"a\rb\nc\r\nd", {"a", "b", "c", "d"}},
      {"a\n\rb", {"a", "", "b"}},  // LF then CR: two breaks
      {"a\r\r\nb", {"a", "", "b"}},
      {"a\r\n\r\nb\r\n", {"a", "", "b"}},
      {"\r\n", {""}},
      {"\r\n\r\n", {"", ""}},
      {"\n", {""}},
      {"a\r\n\r\n", {"a", ""}},
      {" lead and trail ", {" lead and trail "}},
      {std::string("a\r\nb\0c\r\nd", 10), {"a", "b"}},  // a NUL ends the text
      {std::string("\0a\r\n", 4), {}},
      {std::string("a\r\n\0", 4), {"a"}},
  };
  for (const auto& c : cases) EXPECT_EQ(parseMessageList(c.bytes), c.expected) << ::testing::PrintToString(c.bytes);
}

TEST(ParseMessageList, KeepsCodePage932BytesIntact) {
  // "表示" (0x95 0x5C 0x8E 0xA6) and "ソ" (0x83 0x5C): trail bytes equal to "\".
  const std::string hyouji = "\x95\x5C\x8E\xA6";
  const std::string so = "\x83\x5C";
  // "しばらくお待ち下さい" and "起動中・・・" as written by the program.
  const std::string wait =
      "\x82\xB5\x82\xCE\x82\xE7\x82\xAD\x82\xA8\x91\xD2\x82\xBF\x89\xBA\x82\xB3\x82\xA2";
  const std::string starting = "\x8B\x4E\x93\xAE\x92\x86\x81\x45\x81\x45\x81\x45";
  const Lines lines = {hyouji, so + "\\", wait, "Now Loading...", starting};
  const std::string bytes = hyouji + "\r\n" + so + "\\\n" + wait + "\r" + "Now Loading...\r\n" + starting;
  EXPECT_EQ(parseMessageList(bytes), lines);
}

TEST(FormatMessageList, EveryLineEndsWithCrLfAndRoundTrips) {
  EXPECT_EQ(formatMessageList({}), "");
  EXPECT_EQ(formatMessageList({""}), "\r\n");
  EXPECT_EQ(formatMessageList({"a", "", "b"}), "a\r\n\r\nb\r\n");
  const Lines samples[] = {
      {},
      {""},
      {"", ""},
      {"Now Loading...", "", "\x8B\x4E\x93\xAE\x69\x6E\x67", "\x95\x5C"},
  };
  for (const auto& lines : samples) EXPECT_EQ(parseMessageList(formatMessageList(lines)), lines);
}

using lumivex::core::testing::bytesAsText;
using lumivex::core::testing::textAsBytes;

TEST(ReadMessageList, AByteOrderMarkNamesUtf8OrUtf16AndAnythingElseIsCodePage932) {
  const std::vector<std::wstring> lines = {L"起動中", L"", L"caf\xE9 \x2615"};
  const struct {
    std::string bytes;
    TextEncoding encoding;
  } cases[] = {
      {"\xEF\xBB\xBF\xE8\xB5\xB7\xE5\x8B\x95\xE4\xB8\xAD\r\n\r\ncaf\xC3\xA9 \xE2\x98\x95", TextEncoding::Utf8},
      {std::string("\xFF\xFE\x77\x8D\xD5\x52\x2D\x4E\r\0\n\0\n\0c\0a\0f\0\xE9\0 \0\x15\x26", 26),
       TextEncoding::Utf16LittleEndian},
      {std::string("\xFE\xFF\x8D\x77\x52\xD5\x4E\x2D\0\r\0\r\0\n\0c\0a\0f\0\xE9\0 \x26\x15\0\n", 28),
       TextEncoding::Utf16BigEndian},
  };
  for (const auto& c : cases) {
    const MessageList list = readMessageList(c.bytes, bytesAsText);
    EXPECT_EQ(list.encoding, c.encoding);
    EXPECT_EQ(list.lines, lines);
  }
  // No mark, or a mark cut short: every byte goes to the code page 932 conversion, as today.
  for (const std::string& bytes : {std::string("\x8B\x4E\x93\xAE\r\n"), std::string("\xEF\xBB" "a"),
                                  std::string("\xFF")}) {
    const MessageList list = readMessageList(bytes, bytesAsText);
    EXPECT_EQ(list.encoding, TextEncoding::CodePage932);
    EXPECT_EQ(textAsBytes(list.lines.at(0)), bytes.substr(0, bytes.find('\r')));
  }
  EXPECT_EQ(readMessageList("\xEF\xBB\xBF" "a\x80" "b\xE2\x98", bytesAsText).lines,
            std::vector<std::wstring>{L"a\xFFFD" L"b\xFFFD"})
      << "broken UTF-8 shows as replacement characters";
  EXPECT_EQ(readMessageList(std::string("\xFF\xFEx\0\0\0y\0", 8), bytesAsText).lines, std::vector<std::wstring>{L"x"})
      << "a NUL ends the text in UTF-16 too";
}

TEST(WriteMessageList, KeepsTheEncodingItWasReadIn) {
  const std::string files[] = {
      "\xEF\xBB\xBF\xE8\xB5\xB7\xE5\x8B\x95\r\n\xE2\x98\x95\r\n",
      std::string("\xFF\xFE\x77\x8D\r\0\n\0\x15\x26\r\0\n\0", 14),
      std::string("\xFE\xFF\x8D\x77\0\r\0\n", 8),
      "\x8B\x4E\x93\xAE\r\nNow Loading...\r\n",
  };
  for (const std::string& file : files)
    EXPECT_EQ(writeMessageList(readMessageList(file, bytesAsText), textAsBytes), file);
  MessageList created;
  created.lines = {L"a", L"b"};
  EXPECT_EQ(writeMessageList(created, textAsBytes), "a\r\nb\r\n") << "a new list is code page 932 without a mark";
}

}  // namespace
}  // namespace lumivex::core
