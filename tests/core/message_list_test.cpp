// Tests of the message list file codec.
#include "core/message_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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
  };
  for (const auto& c : cases) EXPECT_EQ(parseMessageList(c.bytes), c.expected) << c.bytes;
}

TEST(ParseMessageList, NulEndsTheText) {
  EXPECT_EQ(parseMessageList(std::string("a\r\nb\0c\r\nd", 10)), (Lines{"a", "b"}));
  EXPECT_EQ(parseMessageList(std::string("\0a\r\n", 4)), Lines{});
  EXPECT_EQ(parseMessageList(std::string("a\r\n\0", 4)), (Lines{"a"}));
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

}  // namespace
}  // namespace lumivex::core
