// The settings file object: holds only the path; every value is read and written at the moment it is asked for.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

namespace lumivex::app {

class SettingsFile {
 public:
  explicit SettingsFile(std::wstring path);
  ~SettingsFile();  // flushes
  SettingsFile(const SettingsFile&) = delete;
  SettingsFile& operator=(const SettingsFile&) = delete;

  const std::wstring& path() const { return path_; }

  // Reads through a 2048-byte buffer: a value comes back cut to 2047 bytes of the ANSI code page.
  std::wstring readString(const char* section, const char* key, const std::wstring& def) const;
  int32_t readInteger(const char* section, const char* key, int32_t def) const;
  bool readBool(const char* section, const char* key, bool def) const;

  // A refused write raises the error "<path> に書き込めません".
  void writeString(const char* section, const char* key, const std::wstring& value) const;
  void writeInteger(const char* section, const char* key, int32_t value) const;
  void writeBool(const char* section, const char* key, bool value) const;
  void flush() const;

 private:
  std::string readRaw(const char* section, const char* key, const std::string& def) const;
  void writeRaw(const char* section, const char* key, const std::string& value) const;

  std::wstring path_;
  std::string ansiPath_;
};

// The one settings file object of the run: created with the splash window, released when it closes.
SettingsFile* settingsFile();
void openSettingsFile(const std::wstring& path);
void releaseSettingsFile();

}  // namespace lumivex::app
