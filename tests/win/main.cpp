// Entry of the Windows tests: the library search, common controls and COM as the program has them, then GoogleTest.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "ui/form.h"
#include "ui/system_libraries.h"

namespace {
// A test that ends the program's loop leaves its quit request behind; the next test starts without it.
class QuitReset : public testing::EmptyTestEventListener {
  void OnTestEnd(const testing::TestInfo&) override { lumivex::ui::Form::resetQuit(); }
};
}  // namespace

int main(int argc, char** argv) {
  lumivex::ui::syslib::restrictLibrarySearchToSystemFolder();
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  const HRESULT com = CoInitialize(nullptr);
  testing::InitGoogleTest(&argc, argv);
  testing::UnitTest::GetInstance()->listeners().Append(new QuitReset);
  const int rc = RUN_ALL_TESTS();
  if (SUCCEEDED(com)) CoUninitialize();
  return rc;
}
