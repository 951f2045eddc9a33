// Whether the program may write in a folder: a trial file, and the program-files folders of the system.
#include "ui/folder_access.h"

#include <windows.h>

#include "core/paths.h"

namespace lumivex::ui {
namespace {

bool underProgramFiles(const std::wstring& folder) {
  for (const wchar_t* name : {L"ProgramFiles", L"ProgramFiles(x86)", L"ProgramW6432"}) {
    wchar_t value[MAX_PATH];
    const DWORD n = GetEnvironmentVariableW(name, value, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) continue;
    const std::wstring root(value, n);
    if (core::relativeToFolder(root, folder) != folder || CompareStringOrdinal(root.c_str(), -1, folder.c_str(), -1, TRUE) == CSTR_EQUAL)
      return true;
  }
  return false;
}

}  // namespace

core::FolderAccess folderAccess(const std::wstring& folder) {
  const std::wstring trial = core::joinFolder(folder, L"~lumivex-write-check.tmp");
  const HANDLE f = CreateFileW(trial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (f != INVALID_HANDLE_VALUE) {
    CloseHandle(f);
    return core::FolderAccess::Writable;
  }
  const DWORD error = GetLastError();
  if (error != ERROR_ACCESS_DENIED && error != ERROR_WRITE_PROTECT) return core::FolderAccess::Writable;
  return underProgramFiles(folder) ? core::FolderAccess::Managed : core::FolderAccess::ReadOnly;
}

}  // namespace lumivex::ui
