// PNG pictures on the splash window: the desktop through transparent pixels (read from the screen), and opaque PNGs
// drawn as before. That every kind of PNG decodes to its pixels is checked natively, against libpng.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "../core/png_test_support.h"
#include "splash/picture.h"
#include "ui/handles.h"
#include "splash_fixture.h"

using namespace lumivex;
namespace lt = lumivex::testing;
using lt::SplashRun;

namespace {

// A PNG from straight 0xAARRGGBB pixels: 8-bit RGBA.
std::string pngFile(int w, int h, const std::function<uint32_t(int, int)>& argb) {
  const std::vector<uint8_t> png = core::testing::rgbaPng(w, h, [&](int x, int y) {
    const uint32_t c = argb(x, y);
    return (c << 8) | (c >> 24);
  });
  return {png.begin(), png.end()};
}

COLORREF screenPixel(int x, int y) { return GetPixel(ui::WindowDc(nullptr).get(), x, y); }

constexpr COLORREF kBackdrop = RGB(0xFF, 0x00, 0xFF);

// A plain window in the backdrop colour over the whole desktop, shown before the splash so that it lies behind it:
// what shows through a transparent pixel is then known.
class Backdrop {
 public:
  Backdrop() {
    static const ATOM kClass = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = DefWindowProcW;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = L"LumivexTestBackdrop";
      wc.hbrBackground = CreateSolidBrush(kBackdrop);  // lives as long as the class, to the end of the tests
      return RegisterClassW(&wc);
    }();
    hwnd_ = CreateWindowExW(0, MAKEINTATOM(kClass), L"", WS_POPUP | WS_VISIBLE, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                            GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    UpdateWindow(hwnd_);
    lt::pumpFor(50);
  }
  ~Backdrop() { DestroyWindow(hwnd_); }
  Backdrop(const Backdrop&) = delete;
  Backdrop& operator=(const Backdrop&) = delete;

 private:
  HWND hwnd_ = nullptr;
};

// Settles the run and reads the screen, given where the splash window's top-left corner is, until `read` finds what
// it wants there or the deadline passes.
void readScreenUntil(const SplashRun& run, const std::function<bool(POINT corner)>& read) {
  lt::pumpUntil([&] {
    run.settle();
    RECT w{};
    GetWindowRect(run.splash().hwnd(), &w);
    return read({w.left, w.top});
  });
}

// The screen at the splash window's (x, y), polled until it is `want` or the deadline passes.
COLORREF settledScreenPixel(const SplashRun& run, int x, int y, COLORREF want) {
  COLORREF got = CLR_INVALID;
  readScreenUntil(run, [&](POINT corner) { return (got = screenPixel(corner.x + x, corner.y + y)) == want; });
  return got;
}

// Left half clear, right half opaque red; a ring of half-transparent green at the edge of the red.
uint32_t logo(int x, int y) {
  (void)y;
  if (x < 100) return 0x00000000;
  if (x < 104) return 0x8000FF00;
  return 0xFFFF0000;
}

// The backdrop, and the 200 x 120 logo in a folder of its own.
struct Logo {
  Backdrop backdrop;
  lt::TempFolder pics;
  std::wstring path = lt::writtenFile(pics, L"logo.png", pngFile(200, 120, logo));
};

// The logo on the splash window, over the backdrop, with the given settings file.
struct LogoRun : Logo, SplashRun {
  explicit LogoRun(const std::function<std::string(const std::wstring&)>& ini) : SplashRun(ini(path)) { show(); }
  explicit LogoRun(const std::string& options)
      : LogoRun([&](const std::wstring& pic) { return lt::splashIni(pic, options); }) {}
};

}  // namespace

TEST(PngSplash, TransparentPixelsShowTheDesktopAndOpaqueOnesThePicture) {
  const LogoRun shown("b_size=3\r\ncolo=255\r\nfsiz=9\r\nlbltrans=1\r\nbcol=65280\r\n");
  ASSERT_TRUE(shown.splash().showsThroughLayer());
  EXPECT_EQ(lt::outerSize(shown.splash().hwnd()).cx, 200) << "the window keeps the picture's size";
  EXPECT_EQ(lt::outerSize(shown.splash().hwnd()).cy, 120);
  EXPECT_EQ(shown.splash().left(), 1024 / 2 - 100) << "and its placement";

  EXPECT_EQ(settledScreenPixel(shown, 40, 40, kBackdrop), kBackdrop) << "a clear pixel shows what lies behind";
  EXPECT_EQ(settledScreenPixel(shown, 97, 20, kBackdrop), kBackdrop);
  EXPECT_EQ(settledScreenPixel(shown, 150, 40, RGB(255, 0, 0)), RGB(255, 0, 0)) << "an opaque pixel shows the picture";
  EXPECT_EQ(settledScreenPixel(shown, 1, 40, RGB(255, 0, 0)), RGB(255, 0, 0))
      << "the frame is opaque, in the window colour";
  EXPECT_EQ(settledScreenPixel(shown, 100, 1, RGB(255, 0, 0)), RGB(255, 0, 0));
  // A message label with a background is opaque over the clear half too (no text: the settings give none).
  const RECT label = shown.splash().messageRect();
  const int stripY = label.top + 3 + (label.bottom - label.top) / 2;
  EXPECT_EQ(settledScreenPixel(shown, 60, stripY, RGB(0, 255, 0)), RGB(0, 255, 0));
  EXPECT_EQ(screenPixel(shown.splash().left() + 40, shown.splash().top() + label.top + 3 - 2), kBackdrop)
      << "just above it";
}

// The mouse over a fully transparent pixel goes to what is behind.
TEST(PngSplash, ClearPixelsLeaveTheMouseToWhatIsBehind) {
  const LogoRun shown("b_size=0\r\ntrans=50\r\n");
  ASSERT_TRUE(shown.splash().showsThroughLayer());
  const HWND h = shown.splash().hwnd();
  const int left = shown.splash().left(), top = shown.splash().top();
  const POINT clear{left + 40, top + 40}, opaque{left + 150, top + 40};
  EXPECT_EQ(SendMessageW(h, WM_NCHITTEST, 0, MAKELPARAM(clear.x, clear.y)), HTTRANSPARENT);
  EXPECT_EQ(SendMessageW(h, WM_NCHITTEST, 0, MAKELPARAM(opaque.x, opaque.y)), HTCLIENT);
  EXPECT_NE(WindowFromPoint(clear), h);
  EXPECT_EQ(WindowFromPoint(opaque), h);
}

// Without a background, the message's text is opaque and the desktop shows between its letters.
TEST(PngSplash, MessageTextWithoutBackgroundIsOpaqueOverClearPixels) {
  const LogoRun shown([](const std::wstring& pic) {
    return lt::splashIni(pic, "b_size=0\r\nfsiz=12\r\nlbltrans=0\r\nfcol=65535\r\n") +
           "[message]\r\nmessage=\x81\xa1 \x81\xa1\r\n";  // "■ ■" in code page 932
  });
  ASSERT_TRUE(shown.splash().showsThroughLayer());
  const RECT label = shown.splash().messageRect();
  int ink = 0, desktop = 0;
  readScreenUntil(shown, [&](POINT corner) {
    ink = desktop = 0;
    for (int y = label.top; y < label.bottom; ++y)
      for (int x = 0; x < 100; ++x) {
        const COLORREF c = screenPixel(corner.x + x, corner.y + y);
        ink += c == RGB(255, 255, 0);
        desktop += c == kBackdrop;
      }
    return ink > 20;
  });
  EXPECT_GT(ink, 20) << "the squares, in the text colour";
  EXPECT_GT(desktop, 100) << "around and between them, the desktop";
}

TEST(PngSplash, TranslucencyKeepsClearPixelsClearAndTheDialogFollowsTheLayer) {
  const LogoRun shown("b_size=0\r\ntrans=50\r\n");
  ASSERT_TRUE(shown.splash().showsThroughLayer());
  EXPECT_EQ(settledScreenPixel(shown, 40, 40, kBackdrop), kBackdrop);
  // Wine shows a partly transparent pixel as its premultiplied colour: the opaque red at alpha 134.
  const COLORREF dimmed = settledScreenPixel(shown, 150, 40, RGB(134, 0, 0));
  EXPECT_NE(dimmed, kBackdrop);
  EXPECT_NE(dimmed, RGB(255, 0, 0)) << "the translucency applies to the picture's opaque pixels";
  // The option dialog's scroll bar previews on the layer too: fully opaque again.
  shown.controls().translucencySlider.setPosition(100);
  EXPECT_EQ(settledScreenPixel(shown, 150, 40, RGB(255, 0, 0)), RGB(255, 0, 0));
  EXPECT_EQ(settledScreenPixel(shown, 40, 40, kBackdrop), kBackdrop);
}

// An opaque PNG is drawn by the usual path, pixel for pixel as the same picture in a bitmap.
TEST(PngSplash, OpaquePngIsDrawnExactlyLikeTheSameBitmap) {
  const auto colour = [](int x, int y) -> uint32_t { return (x * 7 & 0xFF) << 16 | (y * 5 & 0xFF) << 8 | 0x40; };
  lt::TempFolder pics;
  const std::wstring png = pics.file(L"a.png"), bmp = pics.file(L"a.bmp");
  lt::writeFileBytes(png, pngFile(90, 70, [&](int x, int y) { return 0xFF000000 | colour(x, y); }));
  lt::writeFileBytes(bmp, lt::bmpFile(90, 70, colour));
  std::vector<COLORREF> seen[2];
  int i = 0;
  for (const std::wstring& pic : {png, bmp}) {
    SplashRun run(lt::splashIni(pic, "b_size=2\r\ncolo=255\r\n"));
    run.show();
    EXPECT_FALSE(run.splash().showsThroughLayer());
    const lt::WindowPixels px(run.splash().hwnd());
    for (int y = 0; y < px.height(); ++y)
      for (int x = 0; x < px.width(); ++x) seen[i].push_back(px.at(x, y));
    ++i;
  }
  EXPECT_TRUE(seen[0] == seen[1]);
}
