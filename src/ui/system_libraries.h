// The calls into the common controls, the common dialogs and the shell, made through libraries loaded at first use.
// The common dialogs and the shell, with the many libraries they load in turn, are needed only when the user opens
// a chooser or registers the start-up shortcut, so a splash run never loads them.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shlobj.h>

namespace lumivex::ui::syslib {

// Each returns the call's own failure value (FALSE, null, -1, E_FAIL) when its library or entry is missing.
BOOL initCommonControls(const INITCOMMONCONTROLSEX* icc);
HIMAGELIST imageListCreate(int cx, int cy, UINT flags, int initial, int grow);
int imageListAdd(HIMAGELIST list, HBITMAP image, HBITMAP mask);
BOOL imageListDestroy(HIMAGELIST list);
BOOL getOpenFileName(OPENFILENAMEW* ofn);
BOOL chooseColor(CHOOSECOLORW* cc);
HRESULT getSpecialFolderLocation(HWND owner, int folder, LPITEMIDLIST* list);
BOOL getPathFromIdList(LPCITEMIDLIST list, LPSTR path);

}  // namespace lumivex::ui::syslib
