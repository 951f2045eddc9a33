// Reading and writing single values of the settings file through the private-profile services.
#include "app/settings_file.h"

#include <cstring>

#include <windows.h>

#include "ui/text.h"

namespace lumivex::app {
namespace {

constexpr size_t kReadBuffer = 2048;

// The bytes a read through the 2048-byte buffer gives: at most 2047, a double-byte character not split.
std::string cutAsARead(const std::string& bytes) {
  if (bytes.size() < kReadBuffer) return bytes;
  size_t end = 0;
  while (end < bytes.size()) {
    const size_t next = end + (IsDBCSLeadByte(static_cast<BYTE>(bytes[end])) ? 2 : 1);
    if (next > kReadBuffer - 1) break;
    end = next;
  }
  return bytes.substr(0, end);
}

std::wstring ascii(const char* name) { return name ? std::wstring(name, name + std::strlen(name)) : std::wstring(); }

}  // namespace

SettingsFile::SettingsFile(std::wstring path)
    : path_(std::move(path)), ansiPath_(ui::narrow(path_)), wide_(!ui::holdsExactly(path_)) {}

SettingsFile::~SettingsFile() { flush(); }

std::wstring SettingsFile::read(const char* section, const char* key, const std::wstring& fallback) {
  if (wide_) {
    // Up to the longest value a line can hold, then cut as the ANSI read would cut it.
    std::wstring buffer(32768, L'\0');
    const DWORD n = GetPrivateProfileStringW(ascii(section).c_str(), ascii(key).c_str(), fallback.c_str(),
                                             buffer.data(), static_cast<DWORD>(buffer.size()), path_.c_str());
    return ui::widen(cutAsARead(ui::narrow(std::wstring_view(buffer.data(), wcsnlen(buffer.data(), n)))));
  }
  char buffer[kReadBuffer];
  const DWORD n = GetPrivateProfileStringA(section, key, ui::narrow(fallback).c_str(), buffer, sizeof(buffer),
                                           ansiPath_.c_str());
  // A value cut at the buffer's end may stop short of the count returned (a double-byte character is not split),
  // so the text ends at its terminator.
  return ui::widen(std::string(buffer, strnlen(buffer, n)));
}

bool SettingsFile::write(const char* section, const char* key, const std::wstring& value) {
  const std::string bytes = ui::narrow(value);
  return writeBytes(section, key, &bytes);
}

bool SettingsFile::remove(const char* section, const char* key) { return writeBytes(section, key, nullptr); }

void SettingsFile::flush() { writeBytes(nullptr, nullptr, nullptr); }

core::StoredText SettingsFile::stored(const std::wstring& value) {
  return {ui::widen(cutAsARead(ui::narrow(value))), ui::holdsExactly(value)};
}

// The wide services get the text of the ANSI bytes, which the system turns back into those same bytes.
bool SettingsFile::writeBytes(const char* section, const char* key, const std::string* value) {
  if (!wide_)
    return WritePrivateProfileStringA(section, key, value ? value->c_str() : nullptr, ansiPath_.c_str()) != FALSE;
  const std::wstring s = ascii(section), k = ascii(key), v = value ? ui::widen(*value) : std::wstring();
  return WritePrivateProfileStringW(section ? s.c_str() : nullptr, key ? k.c_str() : nullptr,
                                    value ? v.c_str() : nullptr, path_.c_str()) != FALSE;
}

}  // namespace lumivex::app
