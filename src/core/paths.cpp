// Path rules for the files the program keeps beside its executable.
#include "core/paths.h"

namespace lumivex::core {
namespace {

// Index just past the last "\" or ":", or 0 when there is none.
std::wstring::size_type nameStart(const std::wstring& path) {
  const auto sep = path.find_last_of(L"\\:");
  return sep == std::wstring::npos ? 0 : sep + 1;
}

// Index of the last "." within the file-name part, or npos.
std::wstring::size_type extensionDot(const std::wstring& path) {
  const auto dot = path.rfind(L'.');
  if (dot == std::wstring::npos || dot < nameStart(path)) return std::wstring::npos;
  return dot;
}

std::wstring replaceExtension(const std::wstring& path, const wchar_t* extension) {
  const auto dot = extensionDot(path);
  return (dot == std::wstring::npos ? path : path.substr(0, dot)) + extension;
}

wchar_t foldedAscii(wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c; }

}  // namespace

std::wstring settingsPathFor(const std::wstring& exePath) { return replaceExtension(exePath, L".ini"); }

std::wstring programFolderOf(const std::wstring& exePath) {
  const auto start = nameStart(exePath);
  if (start == 0) return std::wstring();
  const auto sep = start - 1;
  if (exePath[sep] == L':') return exePath.substr(0, start);
  if (sep == 0 || exePath[sep - 1] == L':') return exePath.substr(0, start);
  return exePath.substr(0, sep);
}

std::wstring fileNamePart(const std::wstring& path) { return path.substr(nameStart(path)); }

std::wstring shortcutNameFor(const std::wstring& exeFileName) {
  return replaceExtension(exeFileName, L".lnk");
}

std::wstring extensionOf(const std::wstring& path) {
  const auto dot = extensionDot(path);
  return dot == std::wstring::npos ? std::wstring() : path.substr(dot + 1);
}

std::wstring joinFolder(const std::wstring& folder, const std::wstring& name) {
  if (folder.empty()) return name;
  if (folder.back() == L'\\') return folder + name;
  return folder + L'\\' + name;
}

std::wstring instanceNameFor(const std::wstring& exePath) {
  // 64-bit FNV-1a over the folded UTF-16 code units.
  unsigned long long hash = 14695981039346656037ull;
  for (wchar_t c : exePath) {
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    if (c == L'/') c = L'\\';
    hash = (hash ^ static_cast<unsigned long long>(static_cast<unsigned short>(c))) * 1099511628211ull;
  }
  static const wchar_t digits[] = L"0123456789abcdef";
  std::wstring name = L"Local\\Lumivex-";
  for (int shift = 60; shift >= 0; shift -= 4) name += digits[(hash >> shift) & 0xF];
  return name;
}

bool isRelativePath(const std::wstring& path) {
  if (path.empty() || path[0] == L'\\' || path[0] == L'/') return false;
  return !(path.size() >= 2 && path[1] == L':');
}

std::wstring resolveInFolder(const std::wstring& folder, const std::wstring& path) {
  return isRelativePath(path) ? joinFolder(folder, path) : path;
}

std::wstring relativeToFolder(const std::wstring& folder, const std::wstring& path) {
  if (folder.empty()) return path;
  const std::wstring prefix = folder.back() == L'\\' ? folder : folder + L'\\';
  if (path.size() <= prefix.size()) return path;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (foldedAscii(path[i]) != foldedAscii(prefix[i])) return path;
  return path.substr(prefix.size());
}

}  // namespace lumivex::core
