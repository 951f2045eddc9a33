// Loading and saving the settings value through a profile: order of the calls, conversions, ranges, fallbacks,
// texts the file's encoding cannot hold, and a refused write.
#include "core/settings.h"
#include "core/settings_keys.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <string>
#include <vector>

namespace lumivex::core {
namespace {

// A profile in memory that records every call. A key may answer a queue of texts, one per read, to stand for a
// file that changes between two reads of the same key. Its encoding holds ASCII and Japanese as code page 932
// does; it writes "e" for "é" as the system's best fit does and "?" for any other character.
class FakeProfile : public Profile {
 public:
  std::wstring read(const char* section, const char* key, const std::wstring& fallback) override {
    calls.push_back(std::string("read ") + section + "/" + key);
    auto it = values.find(name(section, key));
    if (it == values.end()) return fallback;
    std::wstring text = it->second.front();
    if (it->second.size() > 1) it->second.pop_front();
    return text;
  }
  bool write(const char* section, const char* key, const std::wstring& value) override {
    calls.push_back(std::string("write ") + section + "/" + key);
    if (name(section, key) == refuseFrom) refusing = true;
    if (refusing) return false;
    values[name(section, key)] = {value};
    return true;
  }
  bool remove(const char* section, const char* key) override {
    calls.push_back(std::string("remove ") + section + "/" + key);
    if (refusing) return false;
    values.erase(name(section, key));
    return true;
  }
  void flush() override { calls.push_back("flush"); }
  StoredText stored(const std::wstring& value) override {
    StoredText kept{L"", true};
    for (wchar_t c : value) {
      const bool held = c < 0x80 || (c >= 0x3000 && c <= 0x9FFF) || (c >= 0xFF01 && c <= 0xFF9F);
      kept.readBack += held ? c : c == L'\xE9' ? L'e' : L'?';
      kept.exact = kept.exact && held;
    }
    return kept;
  }

  void set(const char* section, const char* key, std::wstring text) { values[name(section, key)] = {std::move(text)}; }
  void set(const SettingsKey& k, std::wstring text) { set(k.section, k.key, std::move(text)); }
  std::wstring get(const char* section, const char* key) const {
    auto it = values.find(name(section, key));
    return it == values.end() ? L"<missing>" : it->second.front();
  }
  std::wstring get(const SettingsKey& k) const { return get(k.section, k.key); }
  static std::string name(const char* section, const char* key) { return std::string(section) + "/" + key; }

  std::map<std::string, std::deque<std::wstring>> values;
  std::vector<std::string> calls;
  std::string refuseFrom;  // "section/key": this write and every later one is refused
  bool refusing = false;
};

const std::vector<std::string> kLoadOrder = {
    "flush",
    "read Window/Top", "read Window/Left",
    "read option/splashtime", "read option/b_size", "read option/trans", "read option/colo", "read option/bcol",
    "read option/fcol", "read option/winpos", "read option/fsiz", "read option/colo", "read option/lbltrans",
    "read message/message", "read message/message_utf8", "read message/message", "read message/message_utf8",
    "read pic/picture", "read pic/picture_utf8", "read option/name", "read option/name_utf8", "read option/fadein",
    "read option/fadeout", "read Window/Maxmize"};

// Window/Maxmize is read but never saved: the user's own value stays.
const std::vector<std::string> kSaveOrder = {
    "write Window/Top", "write Window/Left",
    "write option/splashtime", "write option/b_size", "write option/trans", "write option/colo",
    "write option/bcol", "write option/fcol", "write option/winpos", "write option/fsiz", "write option/lbltrans",
    "write message/message", "remove message/message_utf8", "write pic/picture", "remove pic/picture_utf8",
    "write option/name", "remove option/name_utf8", "write option/fadein",
    "write option/fadeout", "flush"};

Settings edited() {
  Settings s;
  s.top = 130;
  s.left = -5;
  s.displaySeconds = 7;
  s.borderWidth = 10;
  s.opacityPercent = 40;
  s.windowColour = 0x00332211;
  s.messageTextColour = 0x00FFFFFF;
  s.placement = kAtStoredPosition;
  s.messageFontSize = 20;
  s.messageHasBackground = true;
  s.message = L"起動中・・・";
  s.picturePath = L"C:\\写真\\logo.jpg";
  s.userName = L"山田 太郎";
  s.fadeInMs = 500;
  s.fadeOutMs = 5000;
  return s;
}

TEST(LoadSettings, AnEmptyProfileKeepsEveryValueAndReadsEachKeyInTheFilesOrder) {
  FakeProfile p;
  Settings s;
  const SplashStart start = loadSettings(p, s);
  EXPECT_EQ(p.calls, kLoadOrder);
  EXPECT_EQ(s, Settings{});
  EXPECT_EQ(start.windowColour, kButtonFaceColour) << "the window colour, not the splash window's own blue";
  EXPECT_EQ(start.message, L"");
  EXPECT_FALSE(start.maximized) << "not maximized by default";
}

TEST(LoadSettings, EveryKeyReachesItsField) {
  FakeProfile p;
  const Settings want = edited();
  ASSERT_TRUE(saveSettings(p, want));
  p.set(keys::maximized, L"1");
  Settings s;
  const SplashStart start = loadSettings(p, s);
  EXPECT_EQ(s, want);
  EXPECT_EQ(start.windowColour, want.windowColour);
  EXPECT_EQ(start.message, want.message);
  EXPECT_TRUE(start.maximized);
}

TEST(LoadSettings, NumbersOutsideAFieldsRangeGoToTheNearestBound) {
  const struct {
    const SettingsKey& key;
    const wchar_t *below, *above;
    int32_t lo, hi;
  } cases[] = {
      {keys::displaySeconds, L"0", L"500", 1, 180}, {keys::borderWidth, L"-1", L"11", 0, 10},
      {keys::opacityPercent, L"0", L"101", 5, 100}, {keys::placement, L"-7", L"2", -1, 1},
      {keys::messageFontSize, L"0", L"65", 1, 64},  {keys::fadeInMs, L"-1", L"5001", 0, 5000},
      {keys::fadeOutMs, L"-2147483648", L"$7FFFFFFF", 0, 5000},
  };
  for (const auto& c : cases) {
    for (const auto& [text, bound] : {std::pair{c.below, c.lo}, std::pair{c.above, c.hi}}) {
      FakeProfile p;
      p.set(c.key, text);
      Settings s;
      loadSettings(p, s);
      EXPECT_EQ(s.*c.key.number, bound) << c.key.key << "=" << ::testing::PrintToString(std::wstring(text));
    }
  }
}

TEST(LoadSettings, ColourTextsAndTheSecondReadFallingBackToTheFirst) {
  const std::pair<const wchar_t*, int32_t> cases[] = {
      {L"$FF", 255}, {L"0xFF", 255}, {L"-2147483633", kButtonFaceColour}, {L"$80000005", int32_t(0x80000005u)}};
  for (const auto& [text, colour] : cases) {
    FakeProfile p;
    p.set(keys::windowColour, text);
    Settings s;
    EXPECT_EQ(loadSettings(p, s).windowColour, colour) << text;
    EXPECT_EQ(s.windowColour, colour) << text;
  }
  // The file changes between the two reads: an unreadable second text keeps the colour of the first.
  FakeProfile p;
  p.values["option/colo"] = {L"255", L"junk"};
  Settings s;
  EXPECT_EQ(loadSettings(p, s).windowColour, 255);
}

TEST(LoadSettings, UnreadableTextsKeepTheCurrentValue) {
  for (const wchar_t* text : {L"12pt", L"", L"99999999999", L"0x", L"１２", L"1\x30FB"}) {
    FakeProfile p;
    p.set(keys::messageFontSize, text);
    p.set(keys::messageHasBackground, L"yes");
    p.set(keys::opacityPercent, L"abc");
    p.set(keys::fadeInMs, text);
    Settings s;
    s.messageFontSize = 20;
    s.messageHasBackground = true;
    s.opacityPercent = 30;
    loadSettings(p, s);
    EXPECT_EQ(s.messageFontSize, 20);
    EXPECT_TRUE(s.messageHasBackground);
    EXPECT_EQ(s.opacityPercent, 30);
    EXPECT_EQ(s.fadeInMs, 0) << "an unreadable fade is no fade";
  }
  FakeProfile p;
  p.set(keys::messageHasBackground, L"2");
  Settings s;
  loadSettings(p, s);
  EXPECT_TRUE(s.messageHasBackground);
}

TEST(LoadSettings, BothMessageReadsFallBackToTheCurrentMessage) {
  FakeProfile missing;
  Settings kept;
  kept.message = L"keep";
  EXPECT_EQ(loadSettings(missing, kept).message, L"keep");
  EXPECT_EQ(kept.message, L"keep");

  Settings cleared;
  cleared.message = L"keep";
  // A present empty value is the empty text, not the fallback.
  FakeProfile p;
  p.set(keys::message, L"");
  EXPECT_EQ(loadSettings(p, cleared).message, L"");
  EXPECT_EQ(cleared.message, L"");
}

TEST(SaveSettings, WritesEveryValueInOrderWithItsTextThenFlushes) {
  FakeProfile p;
  Settings s = edited();
  s.placement = kNoPlacement;
  s.messageHasBackground = false;
  ASSERT_TRUE(saveSettings(p, s));
  EXPECT_EQ(p.calls, kSaveOrder);
  EXPECT_EQ(p.get(keys::top), L"130");
  EXPECT_EQ(p.get(keys::left), L"-5");
  EXPECT_EQ(p.get(keys::windowColour), L"3351057");
  EXPECT_EQ(p.get(keys::messageBackColour), L"-2147483633") << "a system colour is written negative";
  EXPECT_EQ(p.get(keys::messageTextColour), L"16777215");
  EXPECT_EQ(p.get(keys::placement), L"-1");
  EXPECT_EQ(p.get(keys::messageHasBackground), L"0");
  EXPECT_EQ(p.get(keys::message), L"起動中・・・");
  EXPECT_EQ(p.get(keys::userName), L"山田 太郎");
  EXPECT_EQ(p.get(keys::fadeInMs), L"500");
  EXPECT_EQ(p.get(keys::fadeOutMs), L"5000");
}

TEST(SaveSettings, TextsTheFileCannotHoldGetACompanionAndLoadBackAsTheyWere) {
  FakeProfile p;
  Settings s = edited();
  s.message = L"\x2026" L"caf\xE9 \x2615 100%";
  s.picturePath = L"C:\\Users\\Zo\xEB\\Caf\xE9 Logos\\logo.bmp";
  s.userName = L"山田 \xC5sa";
  ASSERT_TRUE(saveSettings(p, s));
  std::vector<std::string> order = kSaveOrder;
  for (auto& call : order)
    if (call.rfind("remove ", 0) == 0) call = "write " + call.substr(7);
  EXPECT_EQ(p.calls, order);
  EXPECT_EQ(p.get(keys::message), L"\x2026" L"caf\xE9 \x2615 100%") << "the key keeps the text as today";
  EXPECT_EQ(p.get("message", "message_utf8"), L"%E2%80%A6caf%C3%A9 %E2%98%95 100%25");
  EXPECT_EQ(p.get("pic", "picture_utf8"), L"C:\\Users\\Zo%C3%AB\\Caf%C3%A9 Logos\\logo.bmp");
  EXPECT_EQ(p.get("option", "name_utf8"), L"%E5%B1%B1%E7%94%B0 %C3%85sa");

  // The fake keeps what it is given; the file keeps what the encoding makes of it, as older versions read it.
  p.set(keys::message, p.stored(s.message).readBack);
  p.set(keys::picturePath, p.stored(s.picturePath).readBack);
  p.set(keys::userName, p.stored(s.userName).readBack);
  Settings loaded;
  const SplashStart start = loadSettings(p, loaded);
  EXPECT_EQ(loaded, s);
  EXPECT_EQ(start.message, s.message);

  // A text the file holds again: the companion left from the earlier save goes.
  loaded.userName = L"山田";
  ASSERT_TRUE(saveSettings(p, loaded));
  EXPECT_EQ(p.get("option", "name_utf8"), L"<missing>");
  EXPECT_NE(p.get("pic", "picture_utf8"), L"<missing>");
}

TEST(LoadSettings, AHandEditedKeyOrABrokenCompanionWinsOverTheCompanion) {
  const struct {
    const wchar_t *key, *companion, *loads;
  } cases[] = {
      {L"C:\\Cafe\\logo.bmp", L"C:\\Caf%C3%A9\\logo.bmp", L"C:\\Caf\xE9\\logo.bmp"},  // as written
      {L"D:\\other.bmp", L"C:\\Caf%C3%A9\\logo.bmp", L"D:\\other.bmp"},             // the key edited by hand
      {L"C:\\Cafe\\logo.bmp", L"C:\\Caf%C3%A\\logo.bmp", L"C:\\Cafe\\logo.bmp"},     // a cut escape
      {L"C:\\Cafe\\logo.bmp", L"C:\\Caf%C3\\logo.bmp", L"C:\\Cafe\\logo.bmp"},       // not UTF-8
      {L"C:\\Cafe\\logo.bmp", L"C:\\Caf\xE9\\logo.bmp", L"C:\\Cafe\\logo.bmp"},     // not escaped
  };
  for (const auto& c : cases) {
    FakeProfile p;
    p.set(keys::picturePath, c.key);
    p.set("pic", "picture_utf8", c.companion);
    Settings s;
    loadSettings(p, s);
    EXPECT_EQ(s.picturePath, c.loads) << ::testing::PrintToString(std::wstring(c.companion));
  }
}

TEST(SaveSettings, ARefusedWriteStopsTheSaveThereWithoutTheFlush) {
  FakeProfile p;
  p.refuseFrom = "message/message";
  EXPECT_FALSE(saveSettings(p, edited()));
  const std::vector<std::string> tried(kSaveOrder.begin(), kSaveOrder.begin() + 12);
  EXPECT_EQ(p.calls, tried) << "nothing after the refused write, not even the flush";
  EXPECT_EQ(p.get(keys::messageHasBackground), L"1");

  FakeProfile first;
  first.refuseFrom = "Window/Top";
  EXPECT_FALSE(saveSettings(first, edited()));
  EXPECT_EQ(first.calls, std::vector<std::string>{"write Window/Top"});
}

}  // namespace
}  // namespace lumivex::core
