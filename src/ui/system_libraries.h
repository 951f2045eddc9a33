// Where the program loads code from, and the calls into COM, the common controls, the common dialogs and the shell,
// made through libraries loaded at first use. COM and the common dialogs and the shell, with the many libraries
// they load in turn, are needed only by the dialogs, so a splash run never loads them.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <oleauto.h>
#include <shlobj.h>

namespace lumivex::ui::syslib {

// Called first thing at start-up. From then on a library loaded by bare name, by the program or by a library on
// its behalf, comes from the system folder only: never from the program's folder, where a file named like a
// system library may have been put, nor from the current folder. Where Windows lacks the call (Windows 7 without
// update KB2533623) the search stays as it was.
void restrictLibrarySearchToSystemFolder();

// Loads a library from the system folder, or where the program's manifest redirects it (the version 6 common
// controls); null when it is not there. Where Windows refuses the restricted search (Windows 7 without the update),
// loads it by its full path in the system folder, so the program's folder is never searched. `load` is the
// loader's entry; a test passes one that refuses the flag as such a Windows does.
using LoadLibraryExProc = HMODULE(WINAPI*)(LPCWSTR name, HANDLE reserved, DWORD flags);
HMODULE loadSystemLibrary(const wchar_t* name, LoadLibraryExProc load = LoadLibraryExW);

// Each returns the call's own failure value (FALSE, null, -1, E_FAIL) when its library or entry is missing.
HRESULT coInitialize();
void coUninitialize();
HRESULT coCreateInstance(REFCLSID cls, IUnknown* outer, DWORD context, REFIID iid, void** object);
void coTaskMemFree(void* memory);
BSTR sysAllocString(const OLECHAR* text);
void sysFreeString(BSTR text);
BOOL initCommonControls(const INITCOMMONCONTROLSEX* icc);
HIMAGELIST imageListCreate(int cx, int cy, UINT flags, int initial, int grow);
int imageListAdd(HIMAGELIST list, HBITMAP image, HBITMAP mask);
BOOL imageListDestroy(HIMAGELIST list);
BOOL getOpenFileName(OPENFILENAMEW* ofn);
BOOL chooseColor(CHOOSECOLORW* cc);
HRESULT getSpecialFolderLocation(HWND owner, int folder, LPITEMIDLIST* list);
BOOL getPathFromIdList(LPCITEMIDLIST list, LPSTR path);

}  // namespace lumivex::ui::syslib
