// The settings file's keys: where each value of the settings is kept and how its text is read and written.
#pragma once
#include <cstdint>
#include <string>

#include "core/settings.h"

namespace lumivex::core {

struct SettingsKey {
  enum class Kind {
    Number,  // a decimal or hexadecimal integer; outside `range` it goes to the nearest bound
    Switch,  // "1" or "0"; any other number reads as on
    // Where the file's encoding cannot hold a text, its key holds what the encoding makes of it (what older
    // versions read) and a companion key beside it ("picture_utf8" beside "picture") holds the text itself. The
    // companion counts only while the key still holds what the text was written as: a hand edit of the key wins
    // over a companion left behind.
    Text,
  };
  const char* section;
  const char* key;
  Kind kind;
  int32_t Settings::*number = nullptr;
  bool Settings::*flag = nullptr;
  std::wstring Settings::*text = nullptr;
  Range range{INT32_MIN, INT32_MAX};
};

constexpr SettingsKey numberKey(const char* section, const char* key, int32_t Settings::*field,
                                Range range = {INT32_MIN, INT32_MAX}) {
  return {section, key, SettingsKey::Kind::Number, field, nullptr, nullptr, range};
}
constexpr SettingsKey switchKey(const char* section, const char* key, bool Settings::*field = nullptr) {
  return {section, key, SettingsKey::Kind::Switch, nullptr, field};
}
constexpr SettingsKey textKey(const char* section, const char* key, std::wstring Settings::*field) {
  return {section, key, SettingsKey::Kind::Text, nullptr, nullptr, field};
}

namespace keys {
inline constexpr SettingsKey top = numberKey("Window", "Top", &Settings::top);
inline constexpr SettingsKey left = numberKey("Window", "Left", &Settings::left);
inline constexpr SettingsKey displaySeconds =
    numberKey("option", "splashtime", &Settings::displaySeconds, kDisplaySecondsRange);
inline constexpr SettingsKey borderWidth = numberKey("option", "b_size", &Settings::borderWidth, kBorderWidthRange);
inline constexpr SettingsKey opacityPercent =
    numberKey("option", "trans", &Settings::opacityPercent, kOpacityRange);
inline constexpr SettingsKey windowColour = numberKey("option", "colo", &Settings::windowColour);
inline constexpr SettingsKey messageBackColour = numberKey("option", "bcol", &Settings::messageBackColour);
inline constexpr SettingsKey messageTextColour = numberKey("option", "fcol", &Settings::messageTextColour);
inline constexpr SettingsKey placement = numberKey("option", "winpos", &Settings::placement, kPlacementRange);
inline constexpr SettingsKey messageFontSize =
    numberKey("option", "fsiz", &Settings::messageFontSize, kFontSizeRange);
inline constexpr SettingsKey messageHasBackground =
    switchKey("option", "lbltrans", &Settings::messageHasBackground);
inline constexpr SettingsKey message = textKey("message", "message", &Settings::message);
inline constexpr SettingsKey picturePath = textKey("pic", "picture", &Settings::picturePath);
inline constexpr SettingsKey userName = textKey("option", "name", &Settings::userName);
inline constexpr SettingsKey fadeInMs = numberKey("option", "fadein", &Settings::fadeInMs, kFadeRange);
inline constexpr SettingsKey fadeOutMs = numberKey("option", "fadeout", &Settings::fadeOutMs, kFadeRange);

// The maximized switch: read at start-up into the splash start, never saved.
inline constexpr SettingsKey maximized = switchKey("Window", "Maxmize");
}  // namespace keys

// Every saved value, in the file's order: the order a save writes them and a load reads them.
inline constexpr const SettingsKey* kSavedKeys[] = {
    &keys::top, &keys::left, &keys::displaySeconds, &keys::borderWidth, &keys::opacityPercent, &keys::windowColour,
    &keys::messageBackColour, &keys::messageTextColour, &keys::placement, &keys::messageFontSize,
    &keys::messageHasBackground, &keys::message, &keys::picturePath, &keys::userName, &keys::fadeInMs,
    &keys::fadeOutMs,
};

// Reads the key into its field of `settings`, which stays as it is where the key is missing or its text is not a
// value of the key's kind.
void readSetting(Profile& profile, const SettingsKey& key, Settings& settings);

// The text a save writes for the key's field of `settings`.
std::wstring settingText(const SettingsKey& key, const Settings& settings);

}  // namespace lumivex::core
