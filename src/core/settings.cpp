// Loading and saving the settings value, key by key, in the settings file's order.
#include "core/settings.h"

#include "core/settings_keys.h"
#include "core/settings_value.h"

namespace lumivex::core {
namespace {

// Number texts are ASCII; any other character makes the text unreadable, as its bytes would in the file.
int32_t readInteger(Profile& p, const SettingsKey& k, int32_t current) {
  const std::wstring text = p.read(k.section, k.key, L"");
  std::string ascii;
  for (wchar_t c : text) {
    if (static_cast<uint32_t>(c) > 0x7F) return current;
    ascii += static_cast<char>(c);
  }
  return toIntDef(ascii, current);
}

bool readBool(Profile& p, const SettingsKey& k, bool current) { return readInteger(p, k, current ? 1 : 0) != 0; }

std::string companionKey(const SettingsKey& k) { return std::string(k.key) + "_utf8"; }

std::wstring readText(Profile& p, const SettingsKey& k, const std::wstring& current) {
  const std::wstring text = p.read(k.section, k.key, current);
  const std::wstring companion = p.read(k.section, companionKey(k).c_str(), L"");
  if (companion.empty()) return text;
  const std::optional<std::wstring> value = fromEscapedUtf8(companion);
  if (!value || p.stored(*value).readBack != text) return text;
  return *value;
}

std::wstring numberText(int32_t v) {
  const std::string text = intToText(v);
  return std::wstring(text.begin(), text.end());
}

// The companion of a text that the file cannot hold; otherwise none, and one left from an earlier save goes.
bool writeCompanion(Profile& p, const SettingsKey& k, const std::wstring& value) {
  const std::string companion = companionKey(k);
  if (p.stored(value).exact) return p.remove(k.section, companion.c_str());
  const std::string escaped = toEscapedUtf8(value);
  return p.write(k.section, companion.c_str(), std::wstring(escaped.begin(), escaped.end()));
}

}  // namespace

void readSetting(Profile& p, const SettingsKey& k, Settings& s) {
  switch (k.kind) {
    case SettingsKey::Kind::Number:
      s.*k.number = clampToRange(readInteger(p, k, s.*k.number), k.range.lo, k.range.hi);
      break;
    case SettingsKey::Kind::Switch:
      s.*k.flag = readBool(p, k, s.*k.flag);
      break;
    case SettingsKey::Kind::Text:
      s.*k.text = readText(p, k, s.*k.text);
      break;
  }
}

std::wstring settingText(const SettingsKey& k, const Settings& s) {
  switch (k.kind) {
    case SettingsKey::Kind::Number:
      return numberText(s.*k.number);
    case SettingsKey::Kind::Switch:
      return s.*k.flag ? L"1" : L"0";
    case SettingsKey::Kind::Text:
      break;
  }
  return s.*k.text;
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
  for (const SettingsKey* key : kSavedKeys) {
    // The splash window's own start values are read where the file's order has always had them.
    if (key == &keys::messageHasBackground) start.windowColour = readInteger(p, keys::windowColour, s.windowColour);
    if (key == &keys::message) start.message = readText(p, keys::message, s.message);
    readSetting(p, *key, s);
  }
  start.maximized = readBool(p, keys::maximized, false);
  return start;
}

bool saveSettings(Profile& p, const Settings& s) {
  for (const SettingsKey* key : kSavedKeys) {
    const std::wstring text = settingText(*key, s);
    if (!p.write(key->section, key->key, text)) return false;
    if (key->kind == SettingsKey::Kind::Text && !writeCompanion(p, *key, text)) return false;
  }
  p.flush();
  return true;
}

}  // namespace lumivex::core
