// The machine-wide settings a Windows Installer package writes at install time: read from the data the package
// hands its custom action, checked, and turned into the settings file's entries.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumivex::core {

struct SettingsEntry {
  const char* section;
  const char* key;
  std::wstring value;
};

struct PackageSettings {
  std::wstring folder;  // the program folder, where the settings file goes
  std::vector<SettingsEntry> entries;  // only the settings the package was given, in the file's order
};

// data: "folder<TAB>picture<TAB>seconds<TAB>message", each setting empty when not given; the message is the rest
// and may hold tabs. A display time that is not a whole number of seconds in range, a folder missing, or a line
// break (which would end the value inside the file) give nothing and the reason in *error.
std::optional<PackageSettings> parsePackageSettings(std::wstring_view data, std::wstring* error);

}  // namespace lumivex::core
