// The settings file: the profile behind the settings value, one value at a time through the private-profile
// services of the system, in its ANSI code page.
#pragma once
#include <string>

#include "core/settings.h"

namespace lumivex::app {

class SettingsFile : public core::Profile {
 public:
  explicit SettingsFile(std::wstring path);  // touches nothing on disk
  ~SettingsFile() override;                  // flushes
  SettingsFile(const SettingsFile&) = delete;
  SettingsFile& operator=(const SettingsFile&) = delete;

  const std::wstring& path() const { return path_; }

  // Reads through a 2048-byte buffer: a value comes back cut to 2047 bytes of the ANSI code page.
  std::wstring read(const char* section, const char* key, const std::wstring& fallback) override;
  bool write(const char* section, const char* key, const std::wstring& value) override;
  void flush() override;

 private:
  std::wstring path_;
  std::string ansiPath_;
};

}  // namespace lumivex::app
