// Hostile message files: broken code page 932, huge lists.
#include <gtest/gtest.h>

#include <cstdio>

#include "hostile_support.h"
#include "option_fixture.h"

using namespace lumivex;
namespace lt = lumivex::testing;

TEST(HostileMessageFile, BrokenCodePage932LinesAreListedAsTheyConvert) {
  lt::OptionRun run;
  lt::writeFileBytes(run.messagePath,
                     std::string("\x81\r\nabc\x82\r\n\xFF\xFE\xFD\r\n\x81\x40ok\r\n") + '\0' + "\x81\r\nhidden\r\n");
  run.withDialogOpen([](TOption& o) {
    const std::vector<std::wstring> items = o.mesCmb.items();
    ASSERT_EQ(items.size(), 4u) << "a NUL byte ends the text";
    EXPECT_EQ(items[1].substr(0, 3), L"abc");
    EXPECT_EQ(items[3].substr(0, 1), L"\x3000");
    EXPECT_EQ(items[3].substr(1), L"ok");
  });
  EXPECT_TRUE(run.boxes.boxes.empty());
}

TEST(HostileMessageFile, HundredThousandLinesOpenTheDialogInAFractionOfASecond) {
  lt::OptionRun run;
  std::string text;
  for (int i = 0; i < 100000; ++i) text += lt::cp932(L"メッセージ ") + std::to_string(i) + "\r\n";
  lt::writeFileBytes(run.messagePath, text);
  Option->mesCmb.setText(L"起動中");
  for (int showing = 1; showing <= 2; ++showing) {
    size_t count = 0;
    std::wstring last;
    const ULONGLONG ms = lt::millisecondsFor([&] {
      run.withDialogOpen([&](TOption& o) {
        count = static_cast<size_t>(SendMessageW(o.mesCmb.hwnd(), CB_GETCOUNT, 0, 0));
        std::wstring item(static_cast<size_t>(SendMessageW(o.mesCmb.hwnd(), CB_GETLBTEXTLEN, count - 1, 0)), L'\0');
        SendMessageW(o.mesCmb.hwnd(), CB_GETLBTEXT, count - 1, reinterpret_cast<LPARAM>(item.data()));
        last = item;
      });
    });
    std::printf("  option dialog with a 100000-line message file, showing %d: %llu ms\n", showing, ms);
    EXPECT_LT(ms, 1500u);
    EXPECT_EQ(count, 100000u);
    EXPECT_EQ(last, L"メッセージ 99999");
    EXPECT_EQ(Option->mesCmb.text(), L"起動中") << "the message text stays";
  }
}
