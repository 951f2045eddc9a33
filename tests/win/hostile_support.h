// Helpers for the robustness tests: the process's resource counters, and the saved settings read back.
#pragma once
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <windows.h>
#include <psapi.h>

#include "app_under_test.h"
#include "core/settings_keys.h"
#include "dialogs/option_dialog.h"
#include "splash/splash_window.h"
#include "ui/text.h"

namespace lumivex::testing {

// GDI objects, USER objects and private bytes of this process. Where the system does not report GUI resources
// (Wine's GetGuiResources is a stub), GDI objects are counted in the process's own GDI handle table and USER
// objects stand for the windows of this thread; where private bytes read 0, the committed private memory counts.
struct ResourceUsage {
  long gdiObjects = 0;
  long userObjects = 0;
  long long privateBytes = 0;

  static ResourceUsage now() {
    ResourceUsage u;
    u.gdiObjects = static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
    if (u.gdiObjects == 0) u.gdiObjects = gdiHandlesInTable();
    u.userObjects = static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS));
    if (u.userObjects == 0) u.userObjects = threadWindows();
    PROCESS_MEMORY_COUNTERS_EX pmc{};
    pmc.cb = sizeof(pmc);
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof(pmc));
    u.privateBytes = static_cast<long long>(pmc.PrivateUsage ? pmc.PrivateUsage : pmc.PagefileUsage);
    return u;
  }

 private:
  // Wine keeps a table of its own for each process, pointed to from the process environment block as on Windows.
  static long gdiHandlesInTable() {
#ifdef _WIN64
    struct Entry {
      UINT64 object;
      ULONG owner;
      USHORT unique;
      UCHAR type;
      UCHAR flags;
      UINT64 user;
    };
    static_assert(sizeof(Entry) == 24, "GDI handle table entry");
    struct BasicInformation {
      LONG_PTR exitStatus;
      void* peb;
      ULONG_PTR rest[4];
    };
    using Query = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    const auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    BasicInformation info{};
    if (!query || query(GetCurrentProcess(), 0, &info, sizeof(info), nullptr) != 0 || !info.peb) return 0;
    const auto* table = *reinterpret_cast<const Entry* const*>(static_cast<const char*>(info.peb) + 0xF8);
    if (!table) return 0;
    long n = 0;
    for (int i = 0; i < 0x10000; ++i) n += table[i].type != 0;
    return n;
#else
    return 0;
#endif
  }

  static long threadWindows() {
    long n = 0;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND h, LPARAM p) -> BOOL {
          auto& count = *reinterpret_cast<long*>(p);
          ++count;
          EnumChildWindows(h, [](HWND, LPARAM q) -> BOOL { return ++*reinterpret_cast<long*>(q), TRUE; }, p);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&n));
    return n;
  }
};

// The values a save writes, as the live settings hold them now: the splash window's place, what the option
// dialog's controls show, and the picture and fade times beside them.
struct SavedValue {
  const char* section;
  const char* key;
  std::string text;  // in the file's ANSI code page
};

inline std::vector<SavedValue> liveSettings(const ProgramRun& run) {
  const OptionDialogControls& o = run.controls();
  core::Settings live = run.settings();
  live.top = run.splash().top();
  live.left = run.splash().left();
  live.displaySeconds = o.displaySecondsEdit.value();
  live.borderWidth = o.borderWidthEdit.value();
  live.opacityPercent = o.translucencySlider.position();
  live.windowColour = static_cast<int32_t>(o.windowColourSwatch.colour());
  live.messageBackColour = static_cast<int32_t>(o.messageBackgroundSwatch.colour());
  live.messageTextColour = static_cast<int32_t>(o.messageTextColourSwatch.colour());
  live.placement = o.placementGroup.itemIndex();
  live.messageFontSize = o.fontSizeEdit.value();
  live.messageHasBackground = o.messageBackgroundCheck.checked();
  live.message = o.messageCombo.text();
  live.userName = o.userNameEdit.text();
  std::vector<SavedValue> values;
  for (const core::SettingsKey* key : core::kSavedKeys)
    values.push_back({key->section, key->key, ui::narrow(core::settingText(*key, live))});
  return values;
}

// Every one of the values can be read back from the file at `iniPath` as `expected` gives it.
inline void expectSettingsReadBack(const std::wstring& iniPath, const std::vector<SavedValue>& expected) {
  const std::string path = ui::narrow(iniPath);
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
  for (const SavedValue& v : expected) {
    char buffer[4096];
    const DWORD n = GetPrivateProfileStringA(v.section, v.key, "\x01missing", buffer, sizeof(buffer), path.c_str());
    const std::string got(buffer, n);
    EXPECT_TRUE(got == v.text) << "[" << v.section << "] " << v.key << ": " << got.substr(0, 80) << " ("
                               << got.size() << " bytes) against " << v.text.substr(0, 80) << " (" << v.text.size()
                               << " bytes)";
  }
}

// Milliseconds taken by `f`.
template <typename F>
ULONGLONG millisecondsFor(F&& f) {
  const ULONGLONG start = GetTickCount64();
  f();
  return GetTickCount64() - start;
}

}  // namespace lumivex::testing
