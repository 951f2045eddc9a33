// Tests of the error message box text.
#include "core/error_text.h"

#include <gtest/gtest.h>

namespace lumivex::core {
namespace {

TEST(ErrorBoxText, FullStopAfterCharactersThatSortAboveIt) {
  const struct {
    std::wstring text;
    const wchar_t* expected;
  } cases[] = {
      {L"", L""},
      {jpegErrorText(JpegError(42)), L"JPEG \u30A8\u30E9\u30FC #42."},  // the library's number, then the stop
      {L"\u62E1\u5F35\u5B50 .gif \u306E\u753B\u50CF\u5F62\u5F0F\u306F\u51E6\u7406\u3067\u304D\u307E\u305B\u3093",
       L"\u62E1\u5F35\u5B50 .gif \u306E\u753B\u50CF\u5F62\u5F0F\u306F\u51E6\u7406\u3067\u304D\u307E\u305B\u3093."},
      {L"Access is denied", L"Access is denied."},
      {L"done.", L"done."},
      {L"what?", L"what?."},   // '?' sorts after '.'
      {L"a-", L"a-"},          // '-' sorts before '.'
      {L"a ", L"a "},
      {L"a)", L"a)"},
      {L"a/", L"a/."},
      {L"\u3002", L"\u3002."},  // ideographic full stop is not "."
  };
  for (const auto& c : cases) EXPECT_EQ(errorBoxText(c.text), c.expected);
}

}  // namespace
}  // namespace lumivex::core
