// Leak checks: each dialog opened and closed, pictures loaded and drawn, settings saved and loaded, 200 times each,
// with the process's GDI objects, windows and private memory staying flat.
#include <gtest/gtest.h>

#include <cstdio>

#include "hostile_support.h"
#include "option_fixture.h"
#include "splash_fixture.h"
#include "dialogs/about_dialog.h"
#include "dialogs/position_dialog.h"
#include "dialogs/startup_registration_dialog.h"

using namespace lumivex;
using namespace lumivex::testing;
namespace lt = lumivex::testing;
using lt::ResourceUsage;

namespace {

constexpr int kRounds = 200;
constexpr int kWarmUp = 5;
// What may come and go without a leak: a cached object or two, and the heap rounding its growth up.
constexpr long kObjectSlack = 2;
constexpr long long kMemorySlack = 3ll << 20;

// Runs `once` a few times to let caches fill, then kRounds times, and checks that nothing kept growing.
void expectFlat(const char* what, const std::function<void(int round)>& once) {
  for (int i = 0; i < kWarmUp; ++i) once(i);
  const ULONGLONG start = GetTickCount64();
  const ResourceUsage before = ResourceUsage::now();
  for (int i = 0; i < kRounds; ++i) once(i);
  const ResourceUsage after = ResourceUsage::now();
  const ULONGLONG took = GetTickCount64() - start;
  std::printf("  %-28s %4llu ms  GDI %ld -> %ld  windows/USER %ld -> %ld  private %lld -> %lld KiB\n", what, took,
              before.gdiObjects, after.gdiObjects, before.userObjects, after.userObjects, before.privateBytes >> 10,
              after.privateBytes >> 10);
  EXPECT_LE(after.gdiObjects - before.gdiObjects, kObjectSlack) << what;
  EXPECT_LE(after.userObjects - before.userObjects, kObjectSlack) << what;
  EXPECT_LE(after.privateBytes - before.privateBytes, kMemorySlack) << what;
}

// A round that opens the dialog, paints it and its controls on every fourth round (a full paint of the option
// dialog takes tens of milliseconds under Wine), then presses `button` (or the close box).
std::function<void(int round)> openAndLeave(FakeServices& services, ui::Form& dialog, ui::Button* button) {
  return [&services, &dialog, button](int round) {
    services.queueModalHook([button, round](ui::Form& f) {
      if (round % 4 == 0)
        RedrawWindow(f.hwnd(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
      if (button)
        press(*button);
      else
        PostMessageW(f.hwnd(), WM_CLOSE, 0, 0);
    });
    dialog.showModal();
  };
}

// Whether a file can be opened with no sharing at all, which fails while any other handle to it is open.
bool noHandleOpen(const std::wstring& path) {
  const HANDLE h = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  CloseHandle(h);
  return true;
}

}  // namespace

TEST(Leaks, CountersSeeWhatTheyMeasure) {
  // The fallbacks used where the system does not report GUI resources must really count.
  const ResourceUsage before = ResourceUsage::now();
  std::vector<HBRUSH> brushes;
  for (int i = 0; i < 20; ++i) brushes.push_back(CreateSolidBrush(RGB(i, 0, 0)));
  const HWND w = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  std::vector<char> block(8 << 20, 1);
  const ResourceUsage during = ResourceUsage::now();
  EXPECT_GE(during.gdiObjects - before.gdiObjects, 20);
  EXPECT_GE(during.userObjects - before.userObjects, 1);
  EXPECT_GE(during.privateBytes - before.privateBytes, 7ll << 20);
  DestroyWindow(w);
  for (HBRUSH b : brushes) DeleteObject(b);
  EXPECT_EQ(ResourceUsage::now().gdiObjects, before.gdiObjects);
}

TEST(Leaks, DialogsOpenedAndClosed) {
  lt::OptionRun run;
  expectFlat("option dialog (close box)", openAndLeave(run.services, run.option(), nullptr));
  expectFlat("About (OK)", openAndLeave(run.services, run.about(), &controlsOf(run.about()).okButton));
  expectFlat("start-up registration (Cancel)",
             openAndLeave(run.services, run.registration(), &controlsOf(run.registration()).cancelButton));
  expectFlat("logo position (Cancel)",
             openAndLeave(run.services, run.positionDialog(), &controlsOf(run.positionDialog()).cancelButton));
  EXPECT_TRUE(run.services.boxes.empty());
}

TEST(Leaks, SplashPictureLoadedAndDrawn) {
  lt::TempFolder pics;
  const auto pattern = [](int x, int y) -> uint32_t { return static_cast<uint32_t>(x * 3) << 8 | (y & 0xFF); };
  const std::wstring bmp = lt::writtenFile(pics, L"a.bmp", lt::bmpFile(300, 200, pattern));
  const std::wstring jpeg = lt::writtenFile(pics, L"a.jpg", lt::jpegFile(300, 200, pattern));
  const std::wstring broken =
      lt::writtenFile(pics, L"broken.jpg", lt::withoutQuantTables(lt::jpegFile(300, 200, pattern)));
  const std::wstring bad = lt::writtenFile(pics, L"bad.bmp", lt::bmpFile(300, 200, pattern).substr(0, 5000));
  lt::SplashRun run(lt::splashIni(bmp, "b_size=0\r\n"));
  run.show();
  const auto loadAndDraw = [&](const std::wstring& path) {
    try {
      run.splash().image.loadFromFile(path);
    } catch (const ui::AppError&) {
    }
    RedrawWindow(run.splash().hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    run.settle();
  };
  expectFlat("bitmap", [&](int) { loadAndDraw(bmp); });
  expectFlat("JPEG", [&](int) { loadAndDraw(jpeg); });
  const size_t boxesBefore = run.services.boxes.size();
  expectFlat("JPEG failing when drawn", [&](int) { loadAndDraw(broken); });
  EXPECT_EQ(run.services.boxes.size() - boxesBefore, static_cast<size_t>(kWarmUp + kRounds)) << "one box per load";
  expectFlat("bitmap failing when loaded", [&](int) { loadAndDraw(bad); });
  run.services.boxes.clear();
  for (const std::wstring& p : {bmp, jpeg, broken, bad}) EXPECT_TRUE(noHandleOpen(p)) << ui::narrow(p);
}

TEST(Leaks, SettingsSavedAndLoaded) {
  lt::OptionRun run({lt::OptionRun::Mode::Normal, "[option]\r\nname=" + lt::cp932(L"山田") + "\r\n", true, L""});
  run.app().loadSettings();
  run.controls().messageCombo.setText(L"起動中・・・");
  run.settings().picturePath = run.dir.file(L"ロゴ.bmp");
  expectFlat("saveSettings + loadSettings", [&](int) {
    run.app().saveSettings();
    run.app().loadSettings();
  });
  EXPECT_EQ(run.controls().userNameEdit.text(), L"山田");
  EXPECT_EQ(run.controls().messageCombo.text(), L"起動中・・・");
  EXPECT_TRUE(noHandleOpen(run.iniPath)) << "no handle to the settings file is left open";
  EXPECT_TRUE(run.services.boxes.empty());
}
