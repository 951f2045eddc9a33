// Reading and writing single values of the settings file through the private-profile services.
#include "app/settings_file.h"

#include <cstring>

#include <windows.h>

#include "ui/text.h"

namespace lumivex::app {

SettingsFile::SettingsFile(std::wstring path) : path_(std::move(path)), ansiPath_(ui::narrow(path_)) {}

SettingsFile::~SettingsFile() { flush(); }

std::wstring SettingsFile::read(const char* section, const char* key, const std::wstring& fallback) {
  char buffer[2048];
  const DWORD n = GetPrivateProfileStringA(section, key, ui::narrow(fallback).c_str(), buffer, sizeof(buffer),
                                           ansiPath_.c_str());
  // A value cut at the buffer's end may stop short of the count returned (a double-byte character is not split),
  // so the text ends at its terminator.
  return ui::widen(std::string(buffer, strnlen(buffer, n)));
}

bool SettingsFile::write(const char* section, const char* key, const std::wstring& value) {
  return WritePrivateProfileStringA(section, key, ui::narrow(value).c_str(), ansiPath_.c_str()) != FALSE;
}

void SettingsFile::flush() { WritePrivateProfileStringA(nullptr, nullptr, nullptr, ansiPath_.c_str()); }

}  // namespace lumivex::app
