// Custom actions of the Windows Installer package: write the machine-wide settings file at install, and remove it at
// uninstall only while it still holds exactly what the package wrote (a file changed since stays, with its changes).
#include <windows.h>
#include <msi.h>
#include <msiquery.h>

#include <cstring>
#include <string>

#include "core/package_settings.h"

namespace {

// What the package wrote, byte for byte, so that uninstall can tell an unchanged file from a changed one.
constexpr wchar_t kKey[] = L"SOFTWARE\\Lumivex";
constexpr wchar_t kWrittenValue[] = L"PackageSettingsFile";
constexpr REGSAM kView = KEY_WOW64_64KEY;

std::wstring actionData(MSIHANDLE install) {
  wchar_t none[1] = L"";
  DWORD size = 0;
  if (MsiGetPropertyW(install, L"CustomActionData", none, &size) != ERROR_MORE_DATA) return {};
  std::wstring data(++size, L'\0');
  if (MsiGetPropertyW(install, L"CustomActionData", data.data(), &size) != ERROR_SUCCESS) return {};
  data.resize(size);
  return data;
}

void report(MSIHANDLE install, INSTALLMESSAGE kind, const std::wstring& text) {
  const MSIHANDLE record = MsiCreateRecord(0);
  MsiRecordSetStringW(record, 0, (L"Lumivex: " + text).c_str());
  MsiProcessMessage(install, kind, record);
  MsiCloseHandle(record);
}

std::wstring systemText(DWORD code) {
  wchar_t* text = nullptr;
  FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                 code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring result = text ? text : L"error " + std::to_wstring(code);
  LocalFree(text);
  return result;
}

std::wstring settingsFileIn(std::wstring folder) {
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  return folder + L"lumivex.ini";
}

bool readWhole(const std::wstring& path, std::string* bytes) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  bool ok = GetFileSizeEx(file, &size) && size.QuadPart < (1 << 20);
  if (ok) {
    bytes->resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    ok = ReadFile(file, bytes->data(), static_cast<DWORD>(bytes->size()), &read, nullptr) && read == bytes->size();
  }
  CloseHandle(file);
  return ok;
}

UINT failed(MSIHANDLE install, const std::wstring& text) {
  report(install, INSTALLMESSAGE(INSTALLMESSAGE_ERROR | MB_OK | MB_ICONERROR), text);
  return ERROR_INSTALL_FAILURE;
}

}  // namespace

// Data: the program folder and the settings given, as core::parsePackageSettings reads them.
extern "C" __declspec(dllexport) UINT __stdcall WriteSettings(MSIHANDLE install) {
  std::wstring error;
  const auto settings = lumivex::core::parsePackageSettings(actionData(install), &error);
  if (!settings) return failed(install, error);
  const std::wstring path = settingsFileIn(settings->folder);
  for (const auto& e : settings->entries) {
    const std::wstring section(e.section, e.section + strlen(e.section)), key(e.key, e.key + strlen(e.key));
    if (!WritePrivateProfileStringW(section.c_str(), key.c_str(), e.value.c_str(), path.c_str()))
      return failed(install, L"cannot write " + path + L": " + systemText(GetLastError()));
  }
  WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str());
  std::string written;
  if (!readWhole(path, &written)) return failed(install, L"cannot read back " + path + L": " + systemText(GetLastError()));
  HKEY key = nullptr;
  LSTATUS status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_SET_VALUE | kView, nullptr, &key, nullptr);
  if (status == ERROR_SUCCESS) {
    status = RegSetValueExW(key, kWrittenValue, 0, REG_BINARY, reinterpret_cast<const BYTE*>(written.data()),
                            static_cast<DWORD>(written.size()));
    RegCloseKey(key);
  }
  if (status != ERROR_SUCCESS) return failed(install, L"cannot note the settings file written: " + systemText(status));
  report(install, INSTALLMESSAGE_INFO, L"wrote " + path);
  return ERROR_SUCCESS;
}

// Data: the program folder. Removes what WriteSettings noted; a settings file changed since then stays.
extern "C" __declspec(dllexport) UINT __stdcall RemoveSettings(MSIHANDLE install) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE | kView, &key) != ERROR_SUCCESS)
    return ERROR_SUCCESS;
  DWORD size = 0;
  std::string noted;
  if (RegQueryValueExW(key, kWrittenValue, nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS) {
    noted.resize(size);
    if (RegQueryValueExW(key, kWrittenValue, nullptr, nullptr, reinterpret_cast<BYTE*>(noted.data()), &size) !=
        ERROR_SUCCESS)
      noted.clear();
    const std::wstring path = settingsFileIn(actionData(install));
    std::string now;
    if (!noted.empty() && readWhole(path, &now)) {
      if (now == noted) {
        DeleteFileW(path.c_str());
        report(install, INSTALLMESSAGE_INFO, L"removed " + path);
      } else {
        report(install, INSTALLMESSAGE_INFO, L"kept " + path + L", changed since it was installed");
      }
    }
    RegDeleteValueW(key, kWrittenValue);
  }
  DWORD subkeys = 1, values = 1;
  RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr, nullptr,
                   nullptr);
  RegCloseKey(key);
  if (subkeys == 0 && values == 0) RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kKey, kView, 0);
  return ERROR_SUCCESS;
}
