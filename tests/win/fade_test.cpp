// The splash window's fades, read back over time: a fade in to the translucency alpha (also on a per-pixel-alpha
// layer), a fade out that ends the program, no fade where animations are off or translucency is unavailable, and
// the keys and clicks that stop a fade; the effects dialog that sets the two times.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "dialogs/effects_dialog.h"
#include "option_fixture.h"
#include "splash_fixture.h"

using namespace lumivex;
namespace lt = lumivex::testing;
using lt::SplashRun;

namespace {

// A loaded machine may hold a 600 ms fade up by this much before it ends.
constexpr ULONGLONG kLateness = 3000;

struct Reading {
  ULONGLONG atMs;
  int alpha;
};

int layeredAlpha(const lt::ProgramRun& run) {
  BYTE alpha = 0;
  return GetLayeredWindowAttributes(run.splash().hwnd(), nullptr, &alpha, nullptr) ? alpha : -1;
}

// Reads `alpha` now and after every message until `done`, or until the deadline; the times count from `start`.
std::vector<Reading> readUntil(ULONGLONG start, const std::function<int()>& alpha, const std::function<bool()>& done,
                               ULONGLONG deadlineMs) {
  std::vector<Reading> readings{{GetTickCount64() - start, alpha()}};
  lt::pumpUntil(
      [&] {
        const int a = alpha();
        if (readings.empty() || readings.back().alpha != a) readings.push_back({GetTickCount64() - start, a});
        return done();
      },
      static_cast<DWORD>(deadlineMs));
  return readings;
}

void print(const char* what, const std::vector<Reading>& readings) {
  std::string line;
  for (const Reading& r : readings) line += " " + std::to_string(r.alpha) + "@" + std::to_string(r.atMs);
  std::printf("[ readings ] %s (alpha@ms):%s\n", what, line.c_str());
}

// Every step goes one way, from `first` to `last`, through several levels between them.
void expectEvenCourse(const std::vector<Reading>& readings, int first, int last) {
  ASSERT_GE(readings.size(), 2u);
  EXPECT_EQ(readings.front().alpha, first);
  EXPECT_EQ(readings.back().alpha, last);
  for (size_t i = 1; i < readings.size(); ++i)
    EXPECT_EQ(readings[i].alpha > readings[i - 1].alpha, last > first) << "step " << i;
  EXPECT_GE(readings.size(), 5u) << "a fade in a few steps is no fade";
}

// A green bitmap, for the run's folder.
SplashRun::Picture bmpPicture() { return {L"a.bmp", lt::bmpFile(100, 60, lt::solid(0x00C000))}; }

// Turns "Show animations in Windows" off for as long as it lives.
class AnimationsOff {
 public:
  AnimationsOff() {
    SystemParametersInfoW(SPI_GETCLIENTAREAANIMATION, 0, &before_, 0);
    SystemParametersInfoW(SPI_SETCLIENTAREAANIMATION, 0, reinterpret_cast<void*>(static_cast<UINT_PTR>(FALSE)), 0);
  }
  ~AnimationsOff() {
    SystemParametersInfoW(SPI_SETCLIENTAREAANIMATION, 0, reinterpret_cast<void*>(static_cast<UINT_PTR>(before_)), 0);
  }
  AnimationsOff(const AnimationsOff&) = delete;
  AnimationsOff& operator=(const AnimationsOff&) = delete;

 private:
  BOOL before_ = TRUE;
};

}  // namespace

TEST(SplashFade, FadeInRisesEvenlyFromTransparentToTheTranslucencyAlphaWhileTheCountdownRuns) {
  SplashRun run(bmpPicture(), "trans=50\r\nfadein=600\r\n");
  const ULONGLONG start = GetTickCount64();
  run.splash().show();
  EXPECT_EQ(layeredAlpha(run), 0) << "the window appears fully transparent";
  EXPECT_TRUE(run.splash().fading());
  EXPECT_TRUE(run.splash().countdown.enabled()) << "the fade in is part of the display time";
  const auto readings = readUntil(start, [&] { return layeredAlpha(run); }, [&] { return !run.splash().fading(); }, 600 + kLateness);
  print("fade in, 50 %, 600 ms", readings);
  expectEvenCourse(readings, 0, 134);
  for (const Reading& r : readings)
    EXPECT_LE(r.alpha, 134 * static_cast<int>(r.atMs) / 600 + 1) << "never ahead of time, at " << r.atMs << " ms";
  EXPECT_GE(readings.back().atMs, 550u);
}

TEST(SplashFade, OnAPerPixelAlphaLayerTheFadeSetsTheLayersConstantAlpha) {
  const std::filesystem::path suite = std::filesystem::path(LUMIVEX_TESTDATA) / "pngsuite" / "basn6a08.png";
  SplashRun run({L"a.png", lt::readFileBytes(suite.wstring())}, "fadein=600\r\n");
  const ULONGLONG start = GetTickCount64();
  run.splash().show();
  ASSERT_TRUE(run.splash().showsThroughLayer());
  // The window keeps the per-pixel alpha its layer was given: a whole-window alpha would take its place, and the
  // window system would then give it back.
  bool wholeWindowAlpha = false;
  const auto readings = readUntil(
      start,
      [&] {
        wholeWindowAlpha |= layeredAlpha(run) != -1;
        return static_cast<int>(run.splash().fadeLevel());
      },
      [&] { return !run.splash().fading(); }, 600 + kLateness);
  expectEvenCourse(readings, 0, 255);
  EXPECT_FALSE(wholeWindowAlpha);
}

TEST(SplashFade, FadeOutFallsToTransparentAfterTheDisplayTimeThenEndsTheProgram) {
  SplashRun run(bmpPicture(), "splashtime=1\r\nfadeout=600\r\n");
  const ULONGLONG start = GetTickCount64();
  run.splash().show();
  bool faded = false, countdownDuringFade = false, hiddenDuringFade = false;
  const auto readings = readUntil(
      start, [&] { return layeredAlpha(run); },
      [&] {
        if (run.splash().fading()) {
          faded = true;
          countdownDuringFade |= run.splash().countdown.enabled();
          hiddenDuringFade |= !run.splash().visible();
        }
        return run.app().settingsFile() == nullptr;
      },
      1000 + 600 + kLateness);
  print("fade out, 100 %, 600 ms", readings);
  expectEvenCourse(readings, 255, 0);
  EXPECT_TRUE(faded);
  EXPECT_FALSE(countdownDuringFade) << "the countdown has ended";
  EXPECT_FALSE(hiddenDuringFade);
  EXPECT_GE(readings.back().atMs, 1500u) << "the display time, then the fade";
  EXPECT_FALSE(run.splash().visible());
}

TEST(SplashFade, NoFadeWhereAnimationsAreOffOrTranslucencyIsUnavailable) {
  {
    AnimationsOff off;
    SplashRun run(bmpPicture(), "splashtime=1\r\nfadein=600\r\nfadeout=600\r\n");
    run.splash().show();
    EXPECT_FALSE(run.splash().fading());
    EXPECT_EQ(layeredAlpha(run), 255) << "the picture appears at once";
    const auto readings =
        readUntil(GetTickCount64(), [&] { return layeredAlpha(run); }, [&] { return run.app().settingsFile() == nullptr; },
                  1000 + kLateness);
    print("animations off, 600 ms both ways", readings);
    EXPECT_EQ(readings.size(), 1u) << "it closes at full alpha";
    EXPECT_FALSE(run.splash().visible());
  }
  SplashRun run(bmpPicture(), "fadein=600\r\n");
  run.services.layeredEntryName = "NoSuchLayeredWindowEntry";
  run.splash().show();
  EXPECT_FALSE(run.splash().fading());
  EXPECT_EQ(run.splash().fadeLevel(), core::kFadeFull);
}

TEST(SplashFade, EscapeClosesAtOnceAndF1OrADoubleClickStopsTheFadeAtFullAlpha) {
  {
    SplashRun run(bmpPicture(), "fadein=5000\r\nfadeout=5000\r\n");
    run.splash().show();
    ASSERT_TRUE(run.splash().fading());
    PostMessageW(run.splash().hwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(lt::pumpUntil([&] { return run.app().settingsFile() == nullptr; }));
    EXPECT_FALSE(run.splash().fading());
  }
  for (const bool byKey : {true, false}) {
    SCOPED_TRACE(byKey ? "F1" : "double-click");
    SplashRun run(bmpPicture(), "fadein=5000\r\n");
    run.splash().show();
    ASSERT_TRUE(lt::pumpUntil([&] { return layeredAlpha(run) > 0; }));
    run.expectModal();
    if (byKey) PostMessageW(run.splash().hwnd(), WM_KEYDOWN, VK_F1, 0);
    else PostMessageW(run.splash().hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 10));
    ASSERT_TRUE(lt::pumpUntil([&] { return run.modalShowings == 1; }));
    EXPECT_FALSE(run.splash().fading());
    EXPECT_EQ(layeredAlpha(run), 255);
  }
}

TEST(SplashFade, TheOptionDialogsCloseStopsARunningFadeAtFullAlphaAsItRestartsTheCountdown) {
  SplashRun run(bmpPicture(), "fadein=5000\r\n");
  run.splash().show();
  ASSERT_TRUE(run.splash().fading());
  run.controls().closeButton.click();
  EXPECT_FALSE(run.splash().fading());
  EXPECT_EQ(layeredAlpha(run), 255);
  EXPECT_TRUE(run.splash().countdown.enabled());
}

// The effects dialog, opened from the option dialog's button: the arrows step by 100, a typed time outside the
// range is given out at its bound, OK writes both times into the settings and Close leaves them.
TEST(EffectsDialog, EditsTheFadeTimesInStepsOf100AndOnlyOkKeepsThem) {
  lt::OptionRun run;
  run.settings().fadeInMs = 300;
  for (const bool ok : {false, true}) {
    SCOPED_TRACE(ok ? "OK" : "Close");
    run.services.queueModalHook([ok](ui::Form& f) {
      auto& e = controlsOf(static_cast<EffectsDialog&>(f));
      EXPECT_EQ(e.fadeInEdit.value(), 300);
      EXPECT_EQ(e.fadeOutEdit.value(), 0);
      SendMessageW(e.fadeInEdit.hwnd(), WM_KEYDOWN, VK_UP, 0);
      EXPECT_EQ(e.fadeInEdit.text(), L"400");
      SetWindowTextW(e.fadeOutEdit.hwnd(), L"9999");
      lt::press(ok ? e.okButton : e.closeButton);
    });
    SendMessageW(run.controls().effectsButton.hwnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(run.services.pendingModalHooks(), 0u) << "the button opened the dialog";
  }
  EXPECT_EQ(run.settings().fadeInMs, 400);
  EXPECT_EQ(run.settings().fadeOutMs, 5000);
}
