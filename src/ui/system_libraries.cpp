// Where the program loads code from, and the calls into COM, the common controls, the common dialogs and the shell.
#include "ui/system_libraries.h"

#include <string>

namespace lumivex::ui::syslib {

void restrictLibrarySearchToSystemFolder() {
  using SetDefaultDllDirectoriesProc = BOOL(WINAPI*)(DWORD);
  const auto set = reinterpret_cast<SetDefaultDllDirectoriesProc>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
  if (set) set(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

HMODULE loadSystemLibrary(const wchar_t* name, LoadLibraryExProc load) {
  HMODULE module = load(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  // A Windows without the restricted search refuses the flag as an invalid parameter, and would search the
  // program's folder first for a bare name. A name the manifest redirects is found in the side-by-side store before
  // any folder is searched, and a full path would bypass that redirection; every other one goes by its full path.
  if (module || GetLastError() != ERROR_INVALID_PARAMETER) return module;
  ACTCTX_SECTION_KEYED_DATA redirected{};
  redirected.cbSize = sizeof(redirected);
  if (FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, name, &redirected))
    return load(name, nullptr, 0);
  wchar_t folder[MAX_PATH]{};
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  return load((std::wstring(folder, length) + L"\\" + name).c_str(), nullptr, 0);
}

namespace {

// The entry `name` of `library`, loaded on first use and kept for the rest of the run. With the program's
// manifest active, "comctl32.dll" is the version 6 common controls.
template <typename Fn>
Fn entry(const wchar_t* library, const char* name) {
  HMODULE module = GetModuleHandleW(library);
  if (!module) module = loadSystemLibrary(library);
  return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

constexpr wchar_t kCom[] = L"ole32.dll";
constexpr wchar_t kAutomation[] = L"oleaut32.dll";
constexpr wchar_t kCommonControls[] = L"comctl32.dll";
constexpr wchar_t kCommonDialogs[] = L"comdlg32.dll";
constexpr wchar_t kShell[] = L"shell32.dll";

}  // namespace

#define LUMIVEX_ENTRY(library, function) \
  static const auto call = entry<decltype(&::function)>(library, #function)

HRESULT coInitialize() {
  LUMIVEX_ENTRY(kCom, CoInitialize);
  return call ? call(nullptr) : E_FAIL;
}

void coUninitialize() {
  LUMIVEX_ENTRY(kCom, CoUninitialize);
  if (call) call();
}

HRESULT coCreateInstance(REFCLSID cls, IUnknown* outer, DWORD context, REFIID iid, void** object) {
  LUMIVEX_ENTRY(kCom, CoCreateInstance);
  return call ? call(cls, outer, context, iid, object) : E_FAIL;
}

void coTaskMemFree(void* memory) {
  LUMIVEX_ENTRY(kCom, CoTaskMemFree);
  if (call) call(memory);
}

BSTR sysAllocString(const OLECHAR* text) {
  LUMIVEX_ENTRY(kAutomation, SysAllocString);
  return call ? call(text) : nullptr;
}

void sysFreeString(BSTR text) {
  LUMIVEX_ENTRY(kAutomation, SysFreeString);
  if (call) call(text);
}

BOOL initCommonControls(const INITCOMMONCONTROLSEX* icc) {
  LUMIVEX_ENTRY(kCommonControls, InitCommonControlsEx);
  return call ? call(icc) : FALSE;
}

HIMAGELIST imageListCreate(int cx, int cy, UINT flags, int initial, int grow) {
  LUMIVEX_ENTRY(kCommonControls, ImageList_Create);
  return call ? call(cx, cy, flags, initial, grow) : nullptr;
}

int imageListAdd(HIMAGELIST list, HBITMAP image, HBITMAP mask) {
  LUMIVEX_ENTRY(kCommonControls, ImageList_Add);
  return call ? call(list, image, mask) : -1;
}

BOOL imageListDestroy(HIMAGELIST list) {
  LUMIVEX_ENTRY(kCommonControls, ImageList_Destroy);
  return call ? call(list) : FALSE;
}

BOOL getOpenFileName(OPENFILENAMEW* ofn) {
  LUMIVEX_ENTRY(kCommonDialogs, GetOpenFileNameW);
  return call ? call(ofn) : FALSE;
}

BOOL chooseColor(CHOOSECOLORW* cc) {
  LUMIVEX_ENTRY(kCommonDialogs, ChooseColorW);
  return call ? call(cc) : FALSE;
}

HRESULT getSpecialFolderLocation(HWND owner, int folder, LPITEMIDLIST* list) {
  LUMIVEX_ENTRY(kShell, SHGetSpecialFolderLocation);
  return call ? call(owner, folder, list) : E_FAIL;
}

BOOL getPathFromIdList(LPCITEMIDLIST list, LPSTR path) {
  LUMIVEX_ENTRY(kShell, SHGetPathFromIDListA);
  return call ? call(list, path) : FALSE;
}

#undef LUMIVEX_ENTRY

}  // namespace lumivex::ui::syslib
