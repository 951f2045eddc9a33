// Hostile settings and message files: random bytes, huge lines, NUL bytes, broken code page 932, huge lists.
#include <gtest/gtest.h>

#include <cstdio>

#include "hostile_support.h"
#include "option_fixture.h"
#include "splash_fixture.h"

using namespace lumivex;
using namespace lumivex::testing;
namespace lt = lumivex::testing;
using lt::SplashRun;

namespace {

// What follows the hostile part of each file: a key of the user's own that a save must leave in place.
const std::string kTail = "\r\n[tail]\r\nmine=kept\r\n";

std::string randomBytes(size_t n, unsigned seed) {
  std::string s;
  for (size_t i = 0; i < n; ++i) {
    seed = seed * 1103515245u + 12345u;
    s += static_cast<char>(seed >> 16);
  }
  return s;
}

// Starts the program on a settings file of `ini`. No picture file exists, so the show sequence loads the settings,
// announces the missing picture and opens the option dialog; `inDialog` looks at the loaded values there, then OK
// is pressed, which saves them.
void loadThenSave(SplashRun& run, const std::function<void(OptionDialogControls&)>& inDialog) {
  run.services.queueModalHook([&](ui::Form& f) {
    auto& ctl = controlsOf(static_cast<OptionDialog&>(f));
    inDialog(ctl);
    press(ctl.okButton);
  });
  run.show();
  run.splash().countdown.setEnabled(false);
  ASSERT_EQ(run.services.boxes.size(), 1u) << "only the missing-picture notice";
  EXPECT_EQ(run.services.boxes[0].kind, ui::BoxKind::Notice);
}

void expectSavedWithTheTailKept(const SplashRun& run) {
  lt::expectSettingsReadBack(run.settingsPath(), lt::liveSettings(run));
  char mine[16]{};
  GetPrivateProfileStringA("tail", "mine", "", mine, sizeof(mine), ui::narrow(run.settingsPath()).c_str());
  EXPECT_STREQ(mine, "kept") << "the rest of the file is still there";
}

void expectStartUpValues(const OptionDialogControls& o) {
  EXPECT_EQ(o.displaySecondsEdit.value(), 5);
  EXPECT_EQ(o.borderWidthEdit.value(), 3);
  EXPECT_EQ(o.translucencySlider.position(), 100);
  EXPECT_EQ(o.windowColourSwatch.colour(), ui::kButtonFace);
  EXPECT_EQ(o.messageBackgroundSwatch.colour(), ui::kButtonFace);
  EXPECT_EQ(o.messageTextColourSwatch.colour(), 0);
  EXPECT_EQ(o.placementGroup.itemIndex(), 0);
  EXPECT_EQ(o.fontSizeEdit.value(), 12);
  EXPECT_FALSE(o.messageBackgroundCheck.checked());
  EXPECT_EQ(o.userNameEdit.text(), L"");
}

}  // namespace

TEST(HostileSettings, RandomBytesLoadTheStartUpValuesAndASaveWritesEveryValue) {
  for (unsigned seed : {1u, 2u, 3u}) {
    SCOPED_TRACE(seed);
    SplashRun run(randomBytes(16384, seed) + kTail);
    loadThenSave(run, expectStartUpValues);
    expectSavedWithTheTailKept(run);
  }
}

TEST(HostileSettings, MegabyteLinesAreCutToTheReadBufferAndTheKeysAfterThemStillLoad) {
  const std::string megabyte(1 << 20, 'n');
  std::string longJapanese;
  while (longJapanese.size() < 100000) longJapanese += lt::cp932(L"起動中");
  SplashRun run("[Window]\r\nTop=40\r\n" + std::string(100000, 'x') + "\r\n[option]\r\nname=" + megabyte +
                "\r\nsplashtime=7\r\nwinpos=1\r\n[message]\r\nmessage=" + longJapanese + "\r\n[" + std::string(100000, 's') +
                "]\r\nb_size=9" + kTail);
  loadThenSave(run, [&](OptionDialogControls& ctl) {
    EXPECT_EQ(run.splash().top(), 40) << "a stored place after the long lines";
    EXPECT_EQ(ctl.displaySecondsEdit.value(), 7);
    EXPECT_EQ(ctl.borderWidthEdit.value(), 3) << "the key belongs to another section";
    EXPECT_TRUE(ctl.userNameEdit.text() == std::wstring(2047, L'n')) << ctl.userNameEdit.text().size() << " characters";
    const std::wstring message = ctl.messageCombo.text();
    EXPECT_GE(message.size(), 680u);
    EXPECT_LE(message.size(), 1024u);
    EXPECT_EQ(message.substr(0, 6), L"起動中起動中");
    EXPECT_TRUE(run.splash().messageLabel.caption() == message)
        << "the splash shows what the dialog holds: " << run.splash().messageLabel.caption().size() << " against " << message.size()
        << " characters, the last one U+" << std::hex << static_cast<int>(run.splash().messageLabel.caption().back());
  });
  expectSavedWithTheTailKept(run);
}

TEST(HostileSettings, NulBytesNeitherStopTheLoadNorCutTheSavedFile) {
  const std::string nul(1, '\0');
  SplashRun run("[Window]\r\nTop=3" + nul + "9\r\n" + nul + nul + nul + "\r\n[option]\r\nsplashtime=" + nul +
                "7\r\nname=ab" + nul + "cd\r\nfs" + nul + "iz=20\r\nb_size=4\r\n" + nul + "=" + nul + kTail);
  loadThenSave(run, [&](OptionDialogControls& ctl) {
    EXPECT_EQ(ctl.borderWidthEdit.value(), 4) << "a line after the NUL bytes";
    EXPECT_NE(ctl.displaySecondsEdit.value(), 7) << "a value behind a NUL byte is not a number";
    EXPECT_NE(ctl.fontSizeEdit.value(), 20) << "nor is a key with a NUL byte in it the font size";
  });
  expectSavedWithTheTailKept(run);
}

TEST(HostileSettings, BrokenCodePage932SequencesLoadAsTextOrDefaults) {
  struct Case {
    const char* what;
    std::string ini;
    bool tail;
  };
  const Case cases[] = {
      {"lead bytes before CR LF",
       "[option]\r\nname=abc\x81\r\nsplashtime=7\x81\r\nfsiz=\x81\x40\x31\x32\r\nb_size=4\r\n[message]\r\n"
       "message=\x81\r\n[pic]\r\npicture=C:\\\x81\\x.bmp" + kTail,
       true},
      {"lead bytes before a bare LF", "[option]\nb_size=4\nname=\x81\nfsiz=\xFC\n[mess\x81]\nmessage=x" + kTail, true},
      {"trail bytes alone and unused codes", "[option]\r\nb_size=4\r\nname=\x40\xA0\xFD\xFE\xFF\x80" + kTail, true},
      {"a lead byte as the file's last byte", "[option]\r\nb_size=4\r\nname=\x81", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SplashRun run(c.ini);
    loadThenSave(run, [&](OptionDialogControls& ctl) {
      EXPECT_EQ(ctl.borderWidthEdit.value(), 4);
      EXPECT_EQ(ctl.fontSizeEdit.value(), 12) << "no number";
      EXPECT_NE(ctl.displaySecondsEdit.value(), 7) << "no number";
    });
    if (c.tail)
      expectSavedWithTheTailKept(run);
    else
      lt::expectSettingsReadBack(run.settingsPath(), lt::liveSettings(run));
  }
}

TEST(HostileSettings, FileSavedAsUtf16ByAnEditorLoadsAndSaves) {
  const std::wstring text = L"\xFEFF[option]\r\nsplashtime=9\r\nname=山田\r\n[tail]\r\nmine=kept\r\n";
  SplashRun run(std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t)));
  loadThenSave(run, [&](OptionDialogControls& ctl) {
    EXPECT_EQ(ctl.displaySecondsEdit.value(), 9);
    EXPECT_EQ(ctl.userNameEdit.text(), L"山田");
  });
  expectSavedWithTheTailKept(run);
}

TEST(HostileSettings, PlacementAndSizesBeyondWhatTheWindowSystemTakes) {
  // A one-pixel picture framed by the widest border with the largest font: no client area is left at all.
  lt::TempFolder pics;
  const std::wstring pic = pics.file(L"dot.bmp");
  lt::writeFileBytes(pic, lt::bmpFile(1, 1, [](int, int) -> uint32_t { return 0xFF0000; }));
  for (const char* window : {"Top=-2147483648\r\nLeft=2147483647\r\n", "Top=99999\r\nLeft=-99999\r\nMaxmize=1\r\n"}) {
    SCOPED_TRACE(window);
    SplashRun run(lt::splashIni(pic, "winpos=1\r\nb_size=10\r\nfsiz=64\r\nlbltrans=1\r\ntrans=5\r\n", window));
    EXPECT_LT(lt::millisecondsFor([&] { run.show(); }), 2000u);
    for (WORD code : {WORD{SB_PAGEDOWN}, WORD{SB_BOTTOM}, WORD{SB_LINEUP}}) {
      SendMessageW(run.splash().hwnd(), WM_VSCROLL, code, 0);
      InvalidateRect(run.splash().hwnd(), nullptr, FALSE);
      run.settle();
    }
    EXPECT_TRUE(run.services.boxes.empty());
    EXPECT_TRUE(run.splash().visible());
    run.app().saveSettings();
    lt::expectSettingsReadBack(run.settingsPath(), lt::liveSettings(run));
  }
}

TEST(HostileMessageFile, BrokenCodePage932LinesAreListedAsTheyConvert) {
  lt::OptionRun run;
  lt::writeFileBytes(run.messagePath,
                     std::string("\x81\r\nabc\x82\r\n\xFF\xFE\xFD\r\n\x81\x40ok\r\n") + '\0' + "\x81\r\nhidden\r\n");
  run.withDialogOpen([](OptionDialogControls& ctl) {
    const std::vector<std::wstring> items = ctl.messageCombo.items();
    ASSERT_EQ(items.size(), 4u) << "a NUL byte ends the text";
    EXPECT_EQ(items[1].substr(0, 3), L"abc");
    EXPECT_EQ(items[3].substr(0, 1), L"\x3000");
    EXPECT_EQ(items[3].substr(1), L"ok");
  });
  EXPECT_TRUE(run.services.boxes.empty());
}

TEST(HostileMessageFile, HundredThousandLinesOpenTheDialogInAFractionOfASecond) {
  lt::OptionRun run;
  std::string text;
  for (int i = 0; i < 100000; ++i) text += lt::cp932(L"メッセージ ") + std::to_string(i) + "\r\n";
  lt::writeFileBytes(run.messagePath, text);
  run.controls().messageCombo.setText(L"起動中");
  for (int showing = 1; showing <= 2; ++showing) {
    size_t count = 0;
    std::wstring last;
    const ULONGLONG ms = lt::millisecondsFor([&] {
      run.withDialogOpen([&](OptionDialogControls& ctl) {
        count = static_cast<size_t>(SendMessageW(ctl.messageCombo.hwnd(), CB_GETCOUNT, 0, 0));
        std::wstring item(static_cast<size_t>(SendMessageW(ctl.messageCombo.hwnd(), CB_GETLBTEXTLEN, count - 1, 0)), L'\0');
        SendMessageW(ctl.messageCombo.hwnd(), CB_GETLBTEXT, count - 1, reinterpret_cast<LPARAM>(item.data()));
        last = item;
      });
    });
    std::printf("  option dialog with a 100000-line message file, showing %d: %llu ms\n", showing, ms);
    EXPECT_LT(ms, 1500u);
    EXPECT_EQ(count, 100000u);
    EXPECT_EQ(last, L"メッセージ 99999");
    EXPECT_EQ(run.controls().messageCombo.text(), L"起動中") << "the message text stays";
  }
}
