// Entry of the Windows tests: the library search, common controls and COM as the program has them, then GoogleTest.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "ui/system_libraries.h"

int main(int argc, char** argv) {
  lumivex::ui::syslib::restrictLibrarySearchToSystemFolder();
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  const HRESULT com = CoInitialize(nullptr);
  testing::InitGoogleTest(&argc, argv);
  const int rc = RUN_ALL_TESTS();
  if (SUCCEEDED(com)) CoUninitialize();
  return rc;
}
