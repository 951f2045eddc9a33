// Tests of the settings value conversions.
#include "core/settings_value.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace lumivex::core {
namespace {

struct IntCase {
  std::string_view text;
  int32_t expected;  // kDef when the default must come back
};

constexpr int32_t kDef = 4242;

TEST(ToIntDef, AcceptedAndRejectedForms) {
  const IntCase cases[] = {
      // decimal
      {"0", 0},
      {"130", 130},
      {"-5", -5},
      {"+5", 5},
      {" 12", 12},
      {"   -7", -7},
      {"007", 7},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"-2147483633", -2147483633},
      {"2147483648", kDef},
      {"-2147483649", kDef},
      {"99999999999999999999", kDef},
      {"", kDef},
      {" ", kDef},
      {"+", kDef},
      {"-", kDef},
      {"12px", kDef},
      {"12 ", kDef},
      {"1 2", kDef},
      {"1.5", kDef},
      {"\t12", kDef},
      {"--1", kDef},
      // hexadecimal
      {"$FF", 255},
      {"$ff", 255},
      {" $ff", 255},
      {"0xFF", 255},
      {"0X1", 1},
      {"x1f", 31},
      {"X1F", 31},
      {" 0x1f", 31},
      {"$7FFFFFFF", INT32_MAX},
      {"$80000005", static_cast<int32_t>(0x80000005u)},
      {"0x80000005", static_cast<int32_t>(0x80000005u)},
      {"$8000000F", -2147483633},
      {"$FFFFFFFF", -1},
      {"$00000001", 1},
      {"$", kDef},
      {"x", kDef},
      {"0x", kDef},  // too short for the "$" replacement, and "0x" has no digits
      {"0X", kDef},
      {"$123456789", kDef},
      {"$000000001", kDef},
      {"-$1", kDef},
      {"+$1", kDef},
      {"$FG", kDef},
      {"$ 1", kDef},
      {"0x0x5", kDef},  // becomes "$0x5"
      {"0$1", kDef},
      {"$1 ", kDef},
      {std::string_view("12\0", 3), kDef},  // an embedded NUL is no digit
  };
  for (const auto& c : cases) {
    EXPECT_EQ(toIntDef(c.text, kDef), c.expected) << "text " << ::testing::PrintToString(c.text);
  }
}

TEST(IntToText, RoundTripsThroughTheConversion) {
  for (int32_t v : {0, 5, -5, 130, INT32_MAX, INT32_MIN, -2147483633, 0x00FF8080}) {
    const std::string text = intToText(v);
    EXPECT_EQ(toIntDef(text, kDef), v) << text;
  }
  EXPECT_EQ(intToText(static_cast<int32_t>(0x8000000Fu)), "-2147483633");
  EXPECT_EQ(intToText(INT32_MIN), "-2147483648");
}

TEST(EscapedUtf8, PrintableAsciiStaysAndEverythingElseIsEscapedAndReadBack) {
  EXPECT_EQ(toEscapedUtf8(L"C:\\Caf\xE9 Logos\\logo.bmp"), "C:\\Caf%C3%A9 Logos\\logo.bmp");
  EXPECT_EQ(toEscapedUtf8(L"100% \x2615\t"), "100%25 %E2%98%95%09");
  EXPECT_EQ(toEscapedUtf8(L"\xD83D\xDE00"), "%F0%9F%98%80") << "a surrogate pair is one character";
  for (const std::wstring& text : {std::wstring(L""), std::wstring(L"C:\\写真\\ロゴ.bmp"), std::wstring(L"%41 \x7F\x01"),
                                  std::wstring(L"\xD83D\xDE00 ok")}) {
    const std::string escaped = toEscapedUtf8(text);
    const std::optional<std::wstring> back = fromEscapedUtf8(std::wstring(escaped.begin(), escaped.end()));
    ASSERT_TRUE(back.has_value()) << escaped;
    EXPECT_EQ(*back, text) << escaped;
  }
  EXPECT_EQ(fromEscapedUtf8(L"%e2%98%95"), std::wstring(L"\x2615")) << "lower-case hex too";
  for (const wchar_t* broken : {L"%", L"%4", L"%G1", L"caf\xE9", L"%C3", L"%C0%AF", L"%ED%A0%80", L"a\tb"})
    EXPECT_FALSE(fromEscapedUtf8(broken).has_value()) << ::testing::PrintToString(std::wstring(broken));
}

}  // namespace
}  // namespace lumivex::core
