// The settings the program keeps between runs: one value with its defaults, loaded from and saved to a profile.
#pragma once
#include <cstdint>
#include <string>

namespace lumivex::core {

// The window system's button-face colour (a system colour: top bit set), as the settings file keeps it.
inline constexpr int32_t kButtonFaceColour = static_cast<int32_t>(0x8000000Fu);

struct Range {
  int32_t lo, hi;
};
inline constexpr Range kDisplaySecondsRange{1, 180};
inline constexpr Range kBorderWidthRange{0, 10};
inline constexpr Range kOpacityRange{5, 100};
inline constexpr Range kPlacementRange{-1, 1};
inline constexpr Range kFontSizeRange{1, 64};
inline constexpr Range kFadeRange{0, 5000};  // milliseconds

enum Placement : int32_t { kNoPlacement = -1, kCentred = 0, kAtStoredPosition = 1 };

// The program's one copy of the settings during a run. The defaults are the values the program starts from when
// nothing is loaded (a first run).
struct Settings {
  int32_t top = 0, left = 0;  // the splash window's place; filled from the window when loading and saving
  int32_t displaySeconds = 5;
  int32_t borderWidth = 3;
  int32_t opacityPercent = 100;
  int32_t windowColour = kButtonFaceColour;
  int32_t messageBackColour = kButtonFaceColour;
  int32_t messageTextColour = 0;
  int32_t placement = kCentred;
  int32_t messageFontSize = 12;
  bool messageHasBackground = false;
  std::wstring message;
  std::wstring picturePath;
  std::wstring userName;
  int32_t fadeInMs = 0;  // 0: the splash appears and vanishes at once
  int32_t fadeOutMs = 0;

  bool operator==(const Settings& other) const;
};

// What a store keeps of a text: what a read gives back once it is written, and whether that is the text itself.
struct StoredText {
  std::wstring readBack;
  bool exact = true;
};

// Single values of an INI-like store, read and written at the moment they are asked for.
class Profile {
 public:
  virtual ~Profile() = default;
  // The value's text, or `fallback` when the key or its section is missing; a present empty value is "".
  virtual std::wstring read(const char* section, const char* key, const std::wstring& fallback) = 0;
  // False when the store refuses the write.
  virtual bool write(const char* section, const char* key, const std::wstring& value) = 0;
  // Removes the key; true when it is gone, also when it never was. False when the store refuses.
  virtual bool remove(const char* section, const char* key) = 0;
  virtual void flush() = 0;
  // Asks nothing of the file: how the store's encoding keeps `value`.
  virtual StoredText stored(const std::wstring& value) = 0;
};

// What loading gives the splash window beside the settings: the window colour and the message from their second
// and first reads, and the maximized switch, which is read but never saved.
struct SplashStart {
  int32_t windowColour = 0;
  std::wstring message;
  bool maximized = false;
};

// Flushes, then reads every key in the file's order (settings_keys.h) into `settings`. Each key falls back to the
// current value of its field, numbers outside a field's range go to the nearest bound, and "colo" and "message"
// are read twice.
SplashStart loadSettings(Profile& profile, Settings& settings);

// Writes every value, then flushes. A text that the file's encoding cannot hold gets its companion key; one that
// it holds has the companion removed. Stops at a refused write and returns false: the values before it are
// written, the rest and the flush are not.
bool saveSettings(Profile& profile, const Settings& settings);

}  // namespace lumivex::core
