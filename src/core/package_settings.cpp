// The machine-wide settings of a Windows Installer package, from its custom action's data.
#include "core/package_settings.h"

#include "core/settings_keys.h"

namespace lumivex::core {
namespace {

std::wstring_view field(std::wstring_view& rest) {
  const size_t tab = rest.find(L'\t');
  const std::wstring_view f = rest.substr(0, tab);
  rest = tab == std::wstring_view::npos ? std::wstring_view() : rest.substr(tab + 1);
  return f;
}

SettingsEntry entry(const SettingsKey& k, std::wstring_view value) { return {k.section, k.key, std::wstring(value)}; }

bool holdsLineBreak(std::wstring_view text) { return text.find_first_of(L"\r\n") != std::wstring_view::npos; }

}  // namespace

std::optional<PackageSettings> parsePackageSettings(std::wstring_view data, std::wstring* error) {
  std::wstring_view rest = data;
  PackageSettings s;
  s.folder = std::wstring(field(rest));
  const std::wstring_view picture = field(rest);
  const std::wstring_view seconds = field(rest);
  const std::wstring_view message = rest;
  if (s.folder.empty()) {
    *error = L"The program folder is missing.";
    return std::nullopt;
  }
  if (holdsLineBreak(picture) || holdsLineBreak(message)) {
    *error = L"PICTURE and MESSAGE must be one line each.";
    return std::nullopt;
  }
  if (!seconds.empty()) {
    long value = 0;
    for (const wchar_t c : seconds) {
      if (c < L'0' || c > L'9' || value > kDisplaySecondsRange.hi) {
        value = -1;
        break;
      }
      value = value * 10 + (c - L'0');
    }
    if (value < kDisplaySecondsRange.lo || value > kDisplaySecondsRange.hi) {
      *error = L"SECONDS must be a whole number from " + std::to_wstring(kDisplaySecondsRange.lo) + L" to " +
               std::to_wstring(kDisplaySecondsRange.hi) + L", not \"" + std::wstring(seconds) + L"\".";
      return std::nullopt;
    }
    s.entries.push_back(entry(keys::displaySeconds, std::to_wstring(value)));
  }
  if (!message.empty()) s.entries.push_back(entry(keys::message, message));
  if (!picture.empty()) s.entries.push_back(entry(keys::picturePath, picture));
  return s;
}

}  // namespace lumivex::core
