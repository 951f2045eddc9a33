// What keeps the start cheap: up to the splash window's first paint a normal run makes nothing but what that paint
// needs, and each dialog is made at its first use.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "dialogs/about_dialog.h"
#include "splash_fixture.h"

using namespace lumivex;
using namespace lumivex::testing;

namespace {

int childWindows(HWND parent) {
  int n = 0;
  EnumChildWindows(
      parent,
      [](HWND, LPARAM p) -> BOOL {
        ++*reinterpret_cast<int*>(p);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&n));
  return n;
}

// The class names of the thread's top-level windows, without the input method's own.
std::multiset<std::wstring> topLevelWindows() {
  std::multiset<std::wstring> found;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND h, LPARAM p) -> BOOL {
        wchar_t name[64]{};
        GetClassNameW(h, name, 64);
        if (std::wstring(name) != L"IME") reinterpret_cast<std::multiset<std::wstring>*>(p)->insert(name);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

}  // namespace

// Up to the splash window's first paint a normal run makes the owner window and the splash window and nothing
// else; each dialog is made, with its controls, when it is first asked for.
TEST(StartupCost, ANormalRunMakesTheDialogsAtTheirFirstUse) {
  ProgramRun run;
  writeFileBytes(run.dir.file(L"lumivex.ini"),
                 splashIni(writtenFile(run.dir, L"logo.bmp", bmpFile(64, 48, solid(0x336699)))));
  const std::multiset<std::wstring> before = topLevelWindows();
  run.start(run.dir.file(L"lumivex.exe"));
  run.splash().show();
  UpdateWindow(run.splash().hwnd());
  std::multiset<std::wstring> made = topLevelWindows();
  for (const std::wstring& name : before) made.erase(made.find(name));
  std::wstring names;
  for (const std::wstring& name : made) names += name + L" ";
  EXPECT_EQ(made.size(), 2u) << "the owner window and the splash window, not " << ui::narrow(names);
  EXPECT_FALSE(run.app().optionDialogMade());

  bool seen = false;
  run.services.queueModalHook([&](ui::Form&) {
    seen = controlsOf(run.about()).versionLabel.text() == L"Version 0.006" && childWindows(run.about().hwnd()) == 4;
    press(controlsOf(run.about()).okButton);
  });
  EXPECT_EQ(run.about().showModal(), ui::kResultOk);
  EXPECT_TRUE(seen);
  EXPECT_FALSE(run.app().optionDialogMade()) << "one dialog does not bring the others";
  EXPECT_GT(childWindows(run.option().hwnd()), 40);
}
