// Where code is loaded from: never the program's folder, and the common controls in their version 6.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "test_support.h"
#include "ui/system_libraries.h"
#include "ui/text.h"

using namespace lumivex;

namespace {

constexpr wchar_t kPlanted[] = L"planted_library.dll";

// The planted library lies beside the test program, in the folder a program searched first by default.
std::wstring besideTheProgram(const wchar_t* name) {
  wchar_t exe[MAX_PATH]{};
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring path = exe;
  return path.substr(0, path.rfind(L'\\') + 1) + name;
}

std::wstring lowerCasePath(HMODULE module) {
  wchar_t path[MAX_PATH]{};
  GetModuleFileNameW(module, path, MAX_PATH);
  CharLowerW(path);
  return path;
}

}  // namespace

TEST(SystemLibraries, ALibraryBesideTheProgramIsNeverLoadedByName) {
  const std::wstring planted = besideTheProgram(kPlanted);
  ASSERT_TRUE(lumivex::testing::fileExists(planted)) << "built beside the tests";

  // The program's own loads, and any load by bare name once the start-up has restricted the search (the tests'
  // entry does it as the program does), which covers the splash's load of user32.
  EXPECT_EQ(ui::syslib::loadSystemLibrary(kPlanted), nullptr);
  EXPECT_EQ(LoadLibraryW(kPlanted), nullptr);
  EXPECT_EQ(LoadLibraryA("planted_library.dll"), nullptr);

  const HMODULE direct = LoadLibraryW(planted.c_str());
  EXPECT_NE(direct, nullptr) << "the file itself is a library that loads";
  if (direct) FreeLibrary(direct);
}

TEST(SystemLibraries, SystemLibrariesStillLoadAndTheCommonControlsComeFromTheManifest) {
  for (const wchar_t* name : {L"comdlg32.dll", L"shell32.dll", L"user32.dll"}) {
    const HMODULE module = ui::syslib::loadSystemLibrary(name);
    EXPECT_NE(module, nullptr) << ui::narrow(name);
  }
  // The common controls come through the manifest: its assembly, version 6, from the side-by-side store, not the
  // system folder's copy of an older version (which would keep the old look). Wine's version 6 reports 5.81 to
  // DllGetVersion, so the assembly is told by where the library was loaded from.
  const HMODULE controls = ui::syslib::loadSystemLibrary(L"comctl32.dll");
  ASSERT_NE(controls, nullptr);
  const std::wstring path = lowerCasePath(controls);
  EXPECT_NE(path.find(L"microsoft.windows.common-controls_6595b64144ccf1df_6.0."), std::wstring::npos)
      << ui::narrow(path);
  ACTCTX_SECTION_KEYED_DATA redirected{};
  redirected.cbSize = sizeof(redirected);
  EXPECT_TRUE(FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, L"comctl32.dll",
                                       &redirected))
      << "the program's manifest names the common controls";
}
