// The splash picture holder: formats by extension, failure texts, drawing, JPEG decoding by region, and the picture
// loaded ahead on a worker thread.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include <windows.h>

#include "app/settings_file.h"
#include "splash/picture.h"
#include "splash/picture_prefetch.h"
#include "splash_fixture.h"
#include "splash_pictures.h"
#include "test_support.h"
#include "ui/message_box.h"
#include "ui/text.h"

using namespace lumivex;
using namespace lumivex::testing;
namespace lt = lumivex::testing;
using lumivex::pictures::Picture;

namespace {

std::wstring failureOf(const std::wstring& path) {
  try {
    Picture::fromFile(path);
  } catch (const ui::AppError& e) {
    return e.text();
  }
  return L"(loaded)";
}

// A white canvas to draw a picture on, read back as COLORREF values.
class Canvas {
 public:
  Canvas(int w, int h) : w_(w), h_(h) {
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    dc_ = CreateCompatibleDC(nullptr);
    bmp_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    old_ = SelectObject(dc_, bmp_);
    for (int i = 0; i < w * h; ++i) bits_[i] = 0xFFFFFF;
  }
  ~Canvas() {
    SelectObject(dc_, old_);
    DeleteObject(bmp_);
    DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }
  COLORREF at(int x, int y) const {
    GdiFlush();
    const uint32_t v = bits_[y * w_ + x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
  }

 private:
  int w_, h_;
  HDC dc_;
  HBITMAP bmp_;
  HGDIOBJ old_;
  uint32_t* bits_ = nullptr;
};

void expectNear(COLORREF c, int r, int g, int b, int tolerance = 8) {
  EXPECT_NEAR(GetRValue(c), r, tolerance);
  EXPECT_NEAR(GetGValue(c), g, tolerance);
  EXPECT_NEAR(GetBValue(c), b, tolerance);
}

// An icon file with one 16 x 16, 32-bit image, all of it opaque in `argb`'s colour.
std::string iconFile(uint32_t rgb) {
  std::string s;
  auto put = [&](uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  const uint32_t imageSize = 40 + 16 * 16 * 4 + 16 * 4;
  put(0, 2), put(1, 2), put(1, 2);                                   // ICONDIR
  put(16, 1), put(16, 1), put(0, 1), put(0, 1), put(1, 2), put(32, 2);  // ICONDIRENTRY
  put(imageSize, 4), put(22, 4);
  put(40, 4), put(16, 4), put(32, 4), put(1, 2), put(32, 2), put(0, 4), put(0, 4), put(0, 4), put(0, 4), put(0, 4),
      put(0, 4);
  for (int i = 0; i < 16 * 16; ++i) put(0xFF000000u | rgb, 4);
  for (int i = 0; i < 16; ++i) put(0, 4);  // AND mask: all opaque
  return s;
}

// The picture the settings file at `ini` names, loaded ahead as the program's start does.
std::unique_ptr<Picture> prefetched(const std::wstring& ini, const std::wstring& picture) {
  return pictures::PicturePrefetch(ini, std::make_unique<app::SettingsFile>(ini)).take(picture);
}

}  // namespace

TEST(Picture, FormatIsChosenByExtensionWithoutCase) {
  lt::TempFolder dir;
  const std::string bmp = lt::bmpFile(30, 20, lt::solid(0xFF0000)), jpeg = lt::jpegFile(30, 20, lt::solid(0xFF0000));
  for (const auto& [name, bytes] :
       {std::pair{L"a.bmp", bmp}, {L"b.BMP", bmp}, {L"c.jpg", jpeg}, {L"d.JpEg", jpeg}, {L"e.JPG", jpeg}}) {
    SCOPED_TRACE(ui::narrow(name));
    const auto p = Picture::fromFile(lt::writtenFile(dir, name, bytes));
    EXPECT_EQ(p->width(), 30);
    EXPECT_EQ(p->height(), 20);
  }
  // A bitmap named .jpg is read as JPEG, and fails as one.
  EXPECT_EQ(failureOf(lt::writtenFile(dir, L"bitmap.jpg", bmp)),
            L"JPEG エラー #" + std::to_wstring(lt::jpegCodeNoSoi()));
}

TEST(Picture, FailureTexts) {
  lt::TempFolder dir;
  const auto write = [&](const wchar_t* name, const std::string& bytes) { return lt::writtenFile(dir, name, bytes); };
  EXPECT_EQ(failureOf(write(L"logo.gif", "GIF89a")), L"拡張子 .gif の画像形式は処理できません");
  EXPECT_EQ(failureOf(write(L"logo.Tiff", "x")), L"拡張子 .Tiff の画像形式は処理できません") << "as written";
  EXPECT_EQ(failureOf(write(L"logo.Png", "x")), L"PNG エラー #-1: ファイルが途中で切れています") << "a PNG, whatever the case";
  CreateDirectoryW(dir.file(L"v1.0").c_str(), nullptr);
  EXPECT_EQ(failureOf(write(L"v1.0\\logo", "x")), L"拡張子 . の画像形式は処理できません") << "a dot in a folder name";
  EXPECT_EQ(failureOf(write(L"noext", "x")), L"拡張子 . の画像形式は処理できません");
  EXPECT_EQ(failureOf(write(L"empty.bmp", "")), L"ビットマップイメージが不正です");
  EXPECT_EQ(failureOf(write(L"empty.jpg", "")), L"JPEG エラー #" + std::to_wstring(lt::jpegCodeInputEmpty()));
  EXPECT_EQ(failureOf(write(L"bad.ico", "not an icon")), L"アイコンイメージが不正です");
  EXPECT_EQ(failureOf(write(L"bad.emf", "not a metafile")), L"メタファイルが不正です");
  EXPECT_EQ(failureOf(write(L"bad.wmf", std::string("\xD7\xCD\xC6\x9A", 4) + std::string(30, '\0'))),
            L"メタファイルが不正です");
}

TEST(Picture, BitmapDrawsTheRequestedPartAtItsPlace) {
  lt::TempFolder dir;
  auto p = Picture::fromFile(lt::writtenFile(dir, L"q.bmp", lt::bmpFile(40, 30, lt::quadrants(40, 30))));
  Canvas canvas(100, 100);
  ASSERT_TRUE(p->draw(canvas.dc(), POINT{10, 20}, RECT{20, 15, 40, 30}));  // the bottom-right quarter only
  EXPECT_EQ(canvas.at(35, 40), RGB(0, 255, 255));
  EXPECT_EQ(canvas.at(15, 25), RGB(255, 255, 255)) << "outside the requested part";
  ASSERT_TRUE(p->draw(canvas.dc(), POINT{10, 20}, RECT{-50, -50, 500, 500}));  // clipped to the picture
  EXPECT_EQ(canvas.at(10, 20), RGB(255, 0, 0));
  EXPECT_EQ(canvas.at(49, 49), RGB(0, 255, 255));
  EXPECT_EQ(canvas.at(50, 50), RGB(255, 255, 255));
}

TEST(Picture, JpegDecodesOnlyTheRegionsDrawnAndKeepsThem) {
  lt::TempFolder dir;
  auto p = Picture::fromFile(lt::writtenFile(dir, L"p.jpg", lt::jpegFile(1000, 800, lt::quadrants(1000, 800))));
  EXPECT_EQ(p->decodedPixels(), 0u);
  Canvas canvas(200, 200);
  ASSERT_TRUE(p->draw(canvas.dc(), POINT{-600, -500}, RECT{600, 500, 700, 600}));
  const uint64_t first = p->decodedPixels();
  EXPECT_GT(first, 0u);
  EXPECT_LE(first, 512u * 512u) << "the tiles around the region";
  expectNear(canvas.at(50, 50), 0, 255, 255);
  ASSERT_TRUE(p->draw(canvas.dc(), POINT{-600, -500}, RECT{610, 510, 690, 590}));
  EXPECT_EQ(p->decodedPixels(), first) << "drawn again from what was decoded";

  ASSERT_TRUE(p->draw(canvas.dc(), POINT{0, 0}, RECT{0, 0, 200, 200}));
  EXPECT_GT(p->decodedPixels(), first);
  expectNear(canvas.at(100, 100), 255, 0, 0);
  expectNear(canvas.at(50, 50), 255, 0, 0);
}

// A window of this thread that only receives messages; it counts those of one kind.
class MessageCatcher {
 public:
  explicit MessageCatcher(UINT message)
      : message_(message), hwnd_(CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                                 nullptr, nullptr)) {}
  ~MessageCatcher() { DestroyWindow(hwnd_); }
  HWND hwnd() const { return hwnd_; }
  bool waitForOne(DWORD timeoutMs = 5000) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (MSG m; !PeekMessageW(&m, hwnd_, message_, message_, PM_REMOVE);) {
      if (GetTickCount64() >= deadline) return false;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_POSTMESSAGE);
    }
    return true;
  }

 private:
  UINT message_;
  HWND hwnd_;
};

TEST(Picture, JpegDrawsAfterTheFirstLeaveMissingPixelsToAWorkerAndSayWhenTheyAreReady) {
  constexpr UINT kReady = WM_APP + 7;
  lt::TempFolder dir;
  for (const lt::JpegKind kind : {lt::JpegKind::Baseline, lt::JpegKind::Progressive}) {
    SCOPED_TRACE(kind == lt::JpegKind::Baseline ? "baseline" : "progressive");
    auto p = Picture::fromFile(lt::writtenFile(dir, kind == lt::JpegKind::Baseline ? L"b.jpg" : L"p.jpg",
                                               lt::jpegFile(1000, 800, lt::quadrants(1000, 800), 90, kind)));
    MessageCatcher window(kReady);
    p->notifyWhenReady(window.hwnd(), kReady);
    Canvas canvas(200, 200);
    ASSERT_TRUE(p->draw(canvas.dc(), POINT{-600, -500}, RECT{600, 500, 700, 600}));
    expectNear(canvas.at(50, 50), 0, 255, 255);  // the first draw decodes what it needs at once

    ASSERT_TRUE(p->draw(canvas.dc(), POINT{0, 0}, RECT{0, 0, 200, 200}));
    EXPECT_EQ(canvas.at(150, 150), RGB(255, 255, 255)) << "left as it was while the worker decodes";
    ASSERT_TRUE(window.waitForOne()) << "the window is told when the pixels are ready";
    ASSERT_TRUE(p->draw(canvas.dc(), POINT{0, 0}, RECT{0, 0, 200, 200}));
    expectNear(canvas.at(150, 150), 255, 0, 0);
    expectNear(canvas.at(50, 50), 255, 0, 0);

    // A picture given up while its worker still has pixels to decode ends with it.
    ASSERT_TRUE(p->draw(canvas.dc(), POINT{-800, -600}, RECT{800, 600, 1000, 800}));
    p.reset();
  }
}

// Loaded when shown or loaded ahead: the header reads, the pixels fail at the first draw, once, as they would have.
TEST(Picture, JpegWhosePixelsCannotBeDecodedFailsOnceAndThenDrawsNothing) {
  lt::TempFolder dir;
  const std::wstring jpg = lt::writtenFile(dir, L"q.jpg", lt::withoutQuantTables(lt::jpegFile(64, 48, lt::solid(0))));
  const std::wstring ini = lt::writtenFile(dir, L"lumivex.ini", lt::splashIni(jpg));
  const std::pair<const char*, std::function<std::unique_ptr<Picture>()>> loads[] = {
      {"loaded when shown", [&] { return Picture::fromFile(jpg); }},
      {"loaded ahead", [&] { return prefetched(ini, jpg); }}};
  for (const auto& [how, load] : loads) {
    SCOPED_TRACE(how);
    const auto p = load();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->width(), 64);
    EXPECT_FALSE(p->failed());
    Canvas canvas(64, 48);
    EXPECT_FALSE(p->draw(canvas.dc(), POINT{0, 0}, RECT{0, 0, 64, 48}));
    EXPECT_TRUE(p->failed());
    EXPECT_EQ(p->failureText(), L"JPEG エラー #" + std::to_wstring(lt::jpegCodeNoQuantTable()));
    EXPECT_FALSE(p->draw(canvas.dc(), POINT{0, 0}, RECT{0, 0, 64, 48}));
    EXPECT_EQ(canvas.at(10, 10), RGB(255, 255, 255));
  }
}

// Drawn at (5, 5): the colour at the middle of the picture, the canvas just right of it untouched.
TEST(Picture, IconsAndMetafilesAtTheirNaturalSize) {
  lt::TempFolder dir;
  const int ppi = lt::screenDpi();
  const auto filled = [](COLORREF colour, const RECT& r) {
    return [colour, r](HDC dc) {
      HBRUSH brush = CreateSolidBrush(colour);
      FillRect(dc, &r, brush);
      DeleteObject(brush);
    };
  };
  struct Case {
    const wchar_t* name;
    std::string bytes;
    int width, height, tolerance;
    COLORREF inside;
  };
  const Case cases[] = {
      {L"i.ICO", iconFile(0x00FF00), 16, 16, 0, RGB(0, 255, 0)},
      {L"e.emf", lt::emfFile(filled(RGB(255, 0, 0), {0, 0, ppi, ppi / 2})), ppi, ppi / 2, 1, RGB(255, 0, 0)},
      {L"p.Wmf", lt::placeableWmfFile(filled(RGB(0, 0, 255), {0, 0, 144, 72})), ppi, ppi / 2, 0, RGB(0, 0, 255)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ui::narrow(c.name));
    const auto p = Picture::fromFile(lt::writtenFile(dir, c.name, c.bytes));
    EXPECT_NEAR(p->width(), c.width, c.tolerance);
    EXPECT_NEAR(p->height(), c.height, c.tolerance);
    Canvas canvas(ppi + 20, ppi);
    ASSERT_TRUE(p->draw(canvas.dc(), POINT{5, 5}, RECT{0, 0, p->width(), p->height()}));
    EXPECT_EQ(canvas.at(5 + c.width / 2, 5 + c.height / 2), c.inside);
    EXPECT_EQ(canvas.at(5 + c.width + 3, 5 + c.height / 2), RGB(255, 255, 255));
  }
}

// ---- The picture loaded ahead on a worker thread ----

TEST(PicturePrefetch, TakenOverOnlyForTheSameUnchangedFile) {
  lt::TempFolder dir;
  const std::wstring bmp = lt::writtenFile(dir, L"a.bmp", lt::bmpFile(8, 6, lt::solid(0xFF0000)));
  const std::wstring ini = lt::writtenFile(dir, L"lumivex.ini", lt::splashIni(bmp, "winpos=0\r\n"));
  const auto prefetchOf = [](const std::wstring& path) {
    return std::make_unique<pictures::PicturePrefetch>(path, std::make_unique<app::SettingsFile>(path));
  };

  auto prefetch = prefetchOf(ini);
  EXPECT_EQ(prefetch->take(dir.file(L"other.bmp")), nullptr);
  EXPECT_EQ(prefetch->take(bmp), nullptr) << "given up by the first take";

  prefetch = prefetchOf(ini);
  auto p = prefetch->take(bmp);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->width(), 8);

  // Changed while or after it is read: never the picture of the file as it was.
  prefetch = prefetchOf(ini);
  lt::pumpFor(100);
  lt::writeFileBytes(bmp, lt::bmpFile(12, 5, lt::solid(0xFF0000)));
  p = prefetch->take(bmp);
  EXPECT_TRUE(p == nullptr || p->width() == 12) << "the file changed after it was read";

  lt::writeFileBytes(ini, lt::splashIni(dir.file(L"missing.bmp"), "winpos=0\r\n"));
  EXPECT_EQ(prefetched(ini, dir.file(L"missing.bmp")), nullptr);
  EXPECT_EQ(prefetched(dir.file(L"no-settings.ini"), bmp), nullptr);
  EXPECT_EQ(pictures::PicturePrefetch().take(bmp), nullptr) << "nothing loaded ahead";
}

TEST(PicturePrefetch, JpegDecodesOnlyThePartTheDesktopShowsAndDrawsTheSamePixels) {
  lt::TempFolder dir;
  const std::wstring jpg = lt::writtenFile(dir, L"big.jpg", lt::jpegFile(4000, 3000, lt::quadrants(4000, 3000), 80));
  const std::wstring ini = dir.file(L"lumivex.ini");
  const int desktopW = GetSystemMetrics(SM_CXVIRTUALSCREEN), desktopH = GetSystemMetrics(SM_CYVIRTUALSCREEN);

  // Centred: the middle of the picture, about a desktop's worth of it.
  lt::writeFileBytes(ini, lt::splashIni(jpg, "winpos=0\r\n"));
  auto centred = prefetched(ini, jpg);
  ASSERT_NE(centred, nullptr);
  EXPECT_GE(centred->decodedPixels(), static_cast<uint64_t>(desktopW) * desktopH);
  EXPECT_LE(centred->decodedPixels(), static_cast<uint64_t>(desktopW + 256) * (desktopH + 256));
  const uint64_t before = centred->decodedPixels();
  Canvas canvas(40, 40);
  ASSERT_TRUE(centred->draw(canvas.dc(), POINT{-1980, -1480}, RECT{1980, 1480, 2020, 1520}));
  EXPECT_EQ(centred->decodedPixels(), before) << "the paint found its pixels decoded";
  expectNear(canvas.at(5, 5), 255, 0, 0, 24);
  expectNear(canvas.at(35, 35), 0, 255, 255, 24);

  // Placed so that only the picture's bottom-right corner is on the desktop.
  lt::writeFileBytes(ini, lt::splashIni(jpg, "winpos=1\r\n", "Left=-3900\r\nTop=-2900\r\n"));
  auto corner = prefetched(ini, jpg);
  ASSERT_NE(corner, nullptr);
  EXPECT_GT(corner->decodedPixels(), 0u);
  EXPECT_LE(corner->decodedPixels(), 300u * 300u);
}
