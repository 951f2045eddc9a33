// The settings file: the profile behind the settings value, one value at a time through the private-profile
// services of the system, in its ANSI code page.
#pragma once
#include <string>

#include "core/settings.h"

namespace lumivex::app {

// The file is reached by its ANSI path, as always, where that names it; a path that the ANSI code page cannot hold
// goes to the wide services, which keep an ANSI file ANSI, so the file's bytes are the same either way.
class SettingsFile : public core::Profile {
 public:
  explicit SettingsFile(std::wstring path);  // touches nothing on disk
  ~SettingsFile() override;                  // flushes
  SettingsFile(const SettingsFile&) = delete;
  SettingsFile& operator=(const SettingsFile&) = delete;

  const std::wstring& path() const { return path_; }

  // Reads through a 2048-byte buffer: a value comes back cut to 2047 bytes of the ANSI code page.
  std::wstring read(const char* section, const char* key, const std::wstring& fallback) override;
  // Writes the value's ANSI bytes, with the system's best fit for characters the code page lacks, as always.
  bool write(const char* section, const char* key, const std::wstring& value) override;
  bool remove(const char* section, const char* key) override;
  void flush() override;
  core::StoredText stored(const std::wstring& value) override;

 private:
  bool writeBytes(const char* section, const char* key, const std::string* value);

  std::wstring path_;
  std::string ansiPath_;
  bool wide_;  // the ANSI form of the path names another file, or none
};

}  // namespace lumivex::app
