// Reading and writing single values of the settings file through the private-profile services.
#include "app/settings_file.h"

#include <cstring>

#include <windows.h>

#include "core/settings_value.h"
#include "ui/message_box.h"
#include "ui/text.h"

namespace lumivex::app {
namespace {
std::unique_ptr<SettingsFile> g_settings;
}

SettingsFile* settingsFile() { return g_settings.get(); }
void openSettingsFile(const std::wstring& path) { g_settings = std::make_unique<SettingsFile>(path); }
void releaseSettingsFile() { g_settings.reset(); }

SettingsFile::SettingsFile(std::wstring path) : path_(std::move(path)), ansiPath_(ui::narrow(path_)) {}

SettingsFile::~SettingsFile() { flush(); }

std::string SettingsFile::readRaw(const char* section, const char* key, const std::string& def) const {
  char buffer[2048];
  const DWORD n = GetPrivateProfileStringA(section, key, def.c_str(), buffer, sizeof(buffer), ansiPath_.c_str());
  // A value cut at the buffer's end may stop short of the count returned (a double-byte character is not split),
  // so the text ends at its terminator.
  return std::string(buffer, strnlen(buffer, n));
}

std::wstring SettingsFile::readString(const char* section, const char* key, const std::wstring& def) const {
  return ui::widen(readRaw(section, key, ui::narrow(def)));
}

int32_t SettingsFile::readInteger(const char* section, const char* key, int32_t def) const {
  return core::toIntDef(readRaw(section, key, ""), def);
}

bool SettingsFile::readBool(const char* section, const char* key, bool def) const {
  return core::toBoolDef(readRaw(section, key, ""), def);
}

void SettingsFile::writeRaw(const char* section, const char* key, const std::string& value) const {
  if (!WritePrivateProfileStringA(section, key, value.c_str(), ansiPath_.c_str()))
    throw ui::AppError(path_ + L" に書き込めません");
}

void SettingsFile::writeString(const char* section, const char* key, const std::wstring& value) const {
  writeRaw(section, key, ui::narrow(value));
}

void SettingsFile::writeInteger(const char* section, const char* key, int32_t value) const {
  writeRaw(section, key, core::intToText(value));
}

void SettingsFile::writeBool(const char* section, const char* key, bool value) const {
  writeRaw(section, key, value ? "1" : "0");
}

void SettingsFile::flush() const { WritePrivateProfileStringA(nullptr, nullptr, nullptr, ansiPath_.c_str()); }

}  // namespace lumivex::app
