// What the file system holds at a path.
#pragma once
#include <string>

#include <windows.h>

namespace lumivex::ui {

// True when `path` names a file (not a folder) that exists now.
inline bool isFile(const std::wstring& path) {
  if (path.empty()) return false;
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace lumivex::ui
