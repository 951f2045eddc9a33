// Where code is loaded from: never the program's folder, and the common controls in their version 6.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

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

// Whether `module` is the common controls' version 6 as the manifest brings them: their assembly from the
// side-by-side store, not the system folder's copy of an older version (which would keep the old look). Wine's
// version 6 reports 5.81 to DllGetVersion, so the assembly is told by where the library was loaded from.
::testing::AssertionResult version6Controls(HMODULE module) {
  wchar_t path[MAX_PATH]{};
  if (module) GetModuleFileNameW(module, path, MAX_PATH);
  CharLowerW(path);
  if (std::wstring(path).find(L"microsoft.windows.common-controls_6595b64144ccf1df_6.0.") != std::wstring::npos)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "the common controls loaded from \"" << ui::narrow(path) << "\"";
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

namespace {

// A loader as on Windows 7 without update KB2533623: the restricted search is refused as an invalid parameter.
std::vector<std::wstring> askedFor;
HMODULE WINAPI loadWithoutRestrictedSearch(LPCWSTR name, HANDLE, DWORD flags) {
  askedFor.emplace_back(name);
  if (flags & LOAD_LIBRARY_SEARCH_SYSTEM32) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return LoadLibraryExW(name, nullptr, flags);
}

// The search such a Windows has, the program's folder first, for as long as it lives.
struct SearchWithoutRestriction {
  SearchWithoutRestriction() { SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_DEFAULT_DIRS); }
  ~SearchWithoutRestriction() { SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32); }
};

}  // namespace

TEST(SystemLibraries, WithoutTheRestrictedSearchALibraryComesFromTheSystemFolderByItsFullPath) {
  const SearchWithoutRestriction search;
  const HMODULE byName = LoadLibraryW(kPlanted);
  EXPECT_NE(byName, nullptr) << "with that search a bare name finds the planted library";
  if (byName) FreeLibrary(byName);

  askedFor.clear();
  EXPECT_EQ(ui::syslib::loadSystemLibrary(kPlanted, loadWithoutRestrictedSearch), nullptr);
  wchar_t system[MAX_PATH]{};
  GetSystemDirectoryW(system, MAX_PATH);
  ASSERT_EQ(askedFor.size(), 2u);
  EXPECT_EQ(askedFor[1], std::wstring(system) + L"\\" + kPlanted);
  const HMODULE user32 = ui::syslib::loadSystemLibrary(L"user32.dll", loadWithoutRestrictedSearch);
  EXPECT_EQ(user32, GetModuleHandleW(L"user32.dll"));
  EXPECT_TRUE(version6Controls(ui::syslib::loadSystemLibrary(L"comctl32.dll", loadWithoutRestrictedSearch)))
      << "the manifest still brings version 6";
}

TEST(SystemLibraries, SystemLibrariesStillLoadAndTheCommonControlsComeFromTheManifest) {
  for (const wchar_t* name : {L"comdlg32.dll", L"shell32.dll", L"user32.dll"}) {
    const HMODULE module = ui::syslib::loadSystemLibrary(name);
    EXPECT_NE(module, nullptr) << ui::narrow(name);
  }
  EXPECT_TRUE(version6Controls(ui::syslib::loadSystemLibrary(L"comctl32.dll")));
  ACTCTX_SECTION_KEYED_DATA redirected{};
  redirected.cbSize = sizeof(redirected);
  EXPECT_TRUE(FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, L"comctl32.dll",
                                       &redirected))
      << "the program's manifest names the common controls";
}
