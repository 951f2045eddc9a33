// Loading and saving the settings value, key by key, in the settings file's order.
#include "core/settings.h"

#include "core/settings_value.h"

namespace lumivex::core {
// Number texts are ASCII; any other character makes the text unreadable, as its bytes would in the file.
int32_t readInteger(Profile& p, const char* section, const char* key, int32_t current) {
  const std::wstring text = p.read(section, key, L"");
  std::string ascii;
  for (wchar_t c : text) {
    if (static_cast<uint32_t>(c) > 0x7F) return current;
    ascii += static_cast<char>(c);
  }
  return toIntDef(ascii, current);
}

namespace {

int32_t readInRange(Profile& p, const char* section, const char* key, int32_t current, Range r) {
  return clampToRange(readInteger(p, section, key, current), r.lo, r.hi);
}

bool readBool(Profile& p, const char* section, const char* key, bool current) {
  return readInteger(p, section, key, current ? 1 : 0) != 0;
}

std::wstring numberText(int32_t v) {
  const std::string text = intToText(v);
  return std::wstring(text.begin(), text.end());
}

std::string companionKey(const char* key) { return std::string(key) + "_utf8"; }

// The companion of a text that the file cannot hold; otherwise none, and one left from an earlier save goes.
bool writeCompanion(Profile& p, const char* section, const char* key, const std::wstring& value) {
  const std::string companion = companionKey(key);
  if (p.stored(value).exact) return p.remove(section, companion.c_str());
  const std::string escaped = toEscapedUtf8(value);
  return p.write(section, companion.c_str(), std::wstring(escaped.begin(), escaped.end()));
}

}  // namespace

std::wstring readText(Profile& p, const char* section, const char* key, const std::wstring& current) {
  const std::wstring text = p.read(section, key, current);
  const std::wstring companion = p.read(section, companionKey(key).c_str(), L"");
  if (companion.empty()) return text;
  const std::optional<std::wstring> value = fromEscapedUtf8(companion);
  if (!value || p.stored(*value).readBack != text) return text;
  return *value;
}

bool Settings::operator==(const Settings& o) const {
  return top == o.top && left == o.left && displaySeconds == o.displaySeconds && borderWidth == o.borderWidth &&
         opacityPercent == o.opacityPercent && windowColour == o.windowColour &&
         messageBackColour == o.messageBackColour && messageTextColour == o.messageTextColour &&
         placement == o.placement && messageFontSize == o.messageFontSize &&
         messageHasBackground == o.messageHasBackground && message == o.message && picturePath == o.picturePath &&
         userName == o.userName && fadeInMs == o.fadeInMs && fadeOutMs == o.fadeOutMs;
}

SplashStart loadSettings(Profile& p, Settings& s) {
  SplashStart start;
  p.flush();
  s.top = readInteger(p, "Window", "Top", s.top);
  s.left = readInteger(p, "Window", "Left", s.left);
  s.displaySeconds = readInRange(p, "option", "splashtime", s.displaySeconds, kDisplaySecondsRange);
  s.borderWidth = readInRange(p, "option", "b_size", s.borderWidth, kBorderWidthRange);
  s.opacityPercent = readInRange(p, "option", "trans", s.opacityPercent, kOpacityRange);
  s.windowColour = readInteger(p, "option", "colo", s.windowColour);
  s.messageBackColour = readInteger(p, "option", "bcol", s.messageBackColour);
  s.messageTextColour = readInteger(p, "option", "fcol", s.messageTextColour);
  s.placement = readInRange(p, "option", "winpos", s.placement, kPlacementRange);
  s.messageFontSize = readInRange(p, "option", "fsiz", s.messageFontSize, kFontSizeRange);
  start.windowColour = readInteger(p, "option", "colo", s.windowColour);
  s.messageHasBackground = readBool(p, "option", "lbltrans", s.messageHasBackground);
  start.message = readText(p, "message", "message", s.message);
  s.message = readText(p, "message", "message", s.message);
  s.picturePath = readText(p, "pic", "picture", s.picturePath);
  s.userName = readText(p, "option", "name", s.userName);
  s.fadeInMs = readInRange(p, "option", "fadein", s.fadeInMs, kFadeRange);
  s.fadeOutMs = readInRange(p, "option", "fadeout", s.fadeOutMs, kFadeRange);
  start.maximized = readBool(p, "Window", "Maxmize", false);
  return start;
}

bool saveSettings(Profile& p, const Settings& s) {
  const struct {
    const char* section;
    const char* key;
    std::wstring value;
    bool text = false;  // a text, with its companion key where the file's encoding cannot hold it
  } values[] = {
      {"Window", "Top", numberText(s.top)},
      {"Window", "Left", numberText(s.left)},
      {"option", "splashtime", numberText(s.displaySeconds)},
      {"option", "b_size", numberText(s.borderWidth)},
      {"option", "trans", numberText(s.opacityPercent)},
      {"option", "colo", numberText(s.windowColour)},
      {"option", "bcol", numberText(s.messageBackColour)},
      {"option", "fcol", numberText(s.messageTextColour)},
      {"option", "winpos", numberText(s.placement)},
      {"option", "fsiz", numberText(s.messageFontSize)},
      {"option", "lbltrans", s.messageHasBackground ? L"1" : L"0"},
      {"message", "message", s.message, true},
      {"pic", "picture", s.picturePath, true},
      {"option", "name", s.userName, true},
      {"option", "fadein", numberText(s.fadeInMs)},
      {"option", "fadeout", numberText(s.fadeOutMs)},
  };
  for (const auto& v : values) {
    if (!p.write(v.section, v.key, v.value)) return false;
    if (v.text && !writeCompanion(p, v.section, v.key, v.value)) return false;
  }
  p.flush();
  return true;
}

}  // namespace lumivex::core
