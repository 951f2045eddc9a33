// The splash picture holder: formats by extension, failure texts, drawing, JPEG decoding by region, and the picture
// loaded ahead on a worker thread.
#include <gtest/gtest.h>

#include <memory>

#include <windows.h>

#include "app/settings_file.h"
#include "splash/picture.h"
#include "splash/picture_prefetch.h"
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

}  // namespace

TEST(Picture, FormatIsChosenByExtensionWithoutCase) {
  lt::TempFolder dir;
  const std::string bmp = lt::bmpFile(30, 20, [](int, int) -> uint32_t { return 0xFF0000; });
  const std::string jpeg = lt::jpegFile(30, 20, [](int, int) -> uint32_t { return 0xFF0000; });
  for (const auto& [name, bytes] :
       {std::pair{L"a.bmp", bmp}, {L"b.BMP", bmp}, {L"c.jpg", jpeg}, {L"d.JpEg", jpeg}, {L"e.JPG", jpeg}}) {
    SCOPED_TRACE(ui::narrow(name));
    lt::writeFileBytes(dir.file(name), bytes);
    const auto p = Picture::fromFile(dir.file(name));
    EXPECT_EQ(p->width(), 30);
    EXPECT_EQ(p->height(), 20);
  }
  // A bitmap named .jpg is read as JPEG, and fails as one.
  lt::writeFileBytes(dir.file(L"bitmap.jpg"), bmp);
  EXPECT_EQ(failureOf(dir.file(L"bitmap.jpg")), L"JPEG エラー #" + std::to_wstring(lt::jpegCodeNoSoi()));
}

TEST(Picture, FailureTexts) {
  lt::TempFolder dir;
  const auto write = [&](const wchar_t* name, const std::string& bytes) {
    lt::writeFileBytes(dir.file(name), bytes);
    return dir.file(name);
  };
  EXPECT_EQ(failureOf(write(L"logo.gif", "GIF89a")), L"拡張子 .gif の画像形式は処理できません");
  EXPECT_EQ(failureOf(write(L"logo.Tiff", "x")), L"拡張子 .Tiff の画像形式は処理できません") << "as written";
  EXPECT_EQ(failureOf(write(L"logo.Png", "x")), L"PNG エラー #-1: ファイルが途中で切れています") << "a PNG, whatever the case";
  CreateDirectoryW(dir.file(L"v1.0").c_str(), nullptr);
  EXPECT_EQ(failureOf(write(L"v1.0\\logo", "x")), L"拡張子 . の画像形式は処理できません") << "a dot in a folder name";
  EXPECT_EQ(failureOf(write(L"noext", "x")), L"拡張子 . の画像形式は処理できません");
  EXPECT_EQ(failureOf(write(L"empty.bmp", "")), L"ビットマップイメージが不正です");
  EXPECT_EQ(failureOf(write(L"text.bmp", "BM not really")), L"ビットマップイメージが不正です");
  EXPECT_EQ(failureOf(write(L"empty.jpg", "")), L"JPEG エラー #" + std::to_wstring(lt::jpegCodeInputEmpty()));
  EXPECT_EQ(failureOf(write(L"bad.ico", "not an icon")), L"アイコンイメージが不正です");
  EXPECT_EQ(failureOf(write(L"bad.emf", "not a metafile")), L"メタファイルが不正です");
  EXPECT_EQ(failureOf(write(L"bad.wmf", std::string("\xD7\xCD\xC6\x9A", 4) + std::string(30, '\0'))),
            L"メタファイルが不正です");
}

TEST(Picture, BitmapDrawsTheRequestedPartAtItsPlace) {
  lt::TempFolder dir;
  lt::writeFileBytes(dir.file(L"q.bmp"), lt::bmpFile(40, 30, [](int x, int y) -> uint32_t {
    return (x < 20 ? 0xFF0000 : 0x0000FF) | (y < 15 ? 0 : 0x00FF00);
  }));
  auto p = Picture::fromFile(dir.file(L"q.bmp"));
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
  lt::writeFileBytes(dir.file(L"p.jpg"), lt::jpegFile(1000, 800, [](int x, int y) -> uint32_t {
    return (x < 500 ? 0xFF0000 : 0x0000FF) | (y < 400 ? 0 : 0x00FF00);
  }));
  auto p = Picture::fromFile(dir.file(L"p.jpg"));
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
  const auto quadrants = [](int x, int y) -> uint32_t { return (x < 500 ? 0xFF0000 : 0x0000FF) | (y < 400 ? 0 : 0x00FF00); };
  for (const lt::JpegKind kind : {lt::JpegKind::Baseline, lt::JpegKind::Progressive}) {
    const std::wstring path = dir.file(kind == lt::JpegKind::Baseline ? L"b.jpg" : L"p.jpg");
    lt::writeFileBytes(path, lt::jpegFile(1000, 800, quadrants, 90, kind));
    auto p = Picture::fromFile(path);
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

TEST(Picture, JpegWhosePixelsCannotBeDecodedFailsOnceAndThenDrawsNothing) {
  lt::TempFolder dir;
  lt::writeFileBytes(dir.file(L"q.jpg"), lt::withoutQuantTables(lt::jpegFile(64, 48, [](int, int) -> uint32_t { return 0; })));
  auto p = Picture::fromFile(dir.file(L"q.jpg"));
  EXPECT_EQ(p->width(), 64);
  EXPECT_FALSE(p->failed());
  Canvas canvas(64, 48);
  EXPECT_FALSE(p->draw(canvas.dc(), POINT{0, 0}, RECT{0, 0, 64, 48}));
  EXPECT_TRUE(p->failed());
  EXPECT_EQ(p->failureText(), L"JPEG エラー #" + std::to_wstring(lt::jpegCodeNoQuantTable()));
  EXPECT_FALSE(p->draw(canvas.dc(), POINT{0, 0}, RECT{0, 0, 64, 48}));
  EXPECT_EQ(canvas.at(10, 10), RGB(255, 255, 255));
}

TEST(Picture, IconAtItsNaturalSize) {
  lt::TempFolder dir;
  lt::writeFileBytes(dir.file(L"i.ICO"), iconFile(0x00FF00));
  auto p = Picture::fromFile(dir.file(L"i.ICO"));
  EXPECT_EQ(p->width(), 16);
  EXPECT_EQ(p->height(), 16);
  Canvas canvas(40, 40);
  ASSERT_TRUE(p->draw(canvas.dc(), POINT{5, 5}, RECT{0, 0, 16, 16}));
  EXPECT_EQ(canvas.at(10, 10), RGB(0, 255, 0));
  EXPECT_EQ(canvas.at(30, 30), RGB(255, 255, 255));
}

TEST(Picture, EnhancedAndPlaceableMetafiles) {
  lt::TempFolder dir;
  const int ppi = [] {
    HDC s = GetDC(nullptr);
    const int v = GetDeviceCaps(s, LOGPIXELSY);
    ReleaseDC(nullptr, s);
    return v;
  }();

  // An enhanced metafile whose frame is one inch by half an inch, filled in red.
  {
    HDC ref = GetDC(nullptr);
    const RECT frame{0, 0, 2540, 1270};
    HDC mf = CreateEnhMetaFileW(ref, dir.file(L"e.emf").c_str(), &frame, nullptr);
    ReleaseDC(nullptr, ref);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    const RECT all{0, 0, ppi, ppi / 2};
    FillRect(mf, &all, red);
    DeleteObject(red);
    DeleteEnhMetaFile(CloseEnhMetaFile(mf));
  }
  auto emf = Picture::fromFile(dir.file(L"e.emf"));
  EXPECT_NEAR(emf->width(), ppi, 1);
  EXPECT_NEAR(emf->height(), ppi / 2, 1);

  // A placeable Windows metafile: 144 x 72 units at 144 units per inch is one inch by half an inch.
  {
    HDC mf = CreateMetaFileW(nullptr);
    SetWindowExtEx(mf, 144, 72, nullptr);
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    SelectObject(mf, blue);
    Rectangle(mf, 0, 0, 144, 72);
    HMETAFILE h = CloseMetaFile(mf);
    const UINT size = GetMetaFileBitsEx(h, 0, nullptr);
    std::string bits(size, '\0');
    GetMetaFileBitsEx(h, size, bits.data());
    DeleteMetaFile(h);
    DeleteObject(blue);
    std::string header;
    auto put16 = [&](uint16_t v) { header += static_cast<char>(v & 0xFF), header += static_cast<char>(v >> 8); };
    const uint16_t words[] = {0xCDD7, 0x9AC6, 0, 0, 0, 144, 72, 144, 0, 0};
    uint16_t sum = 0;
    for (uint16_t w : words) put16(w), sum ^= w;
    put16(sum);
    lt::writeFileBytes(dir.file(L"p.Wmf"), header + bits);
  }
  auto wmf = Picture::fromFile(dir.file(L"p.Wmf"));
  EXPECT_EQ(wmf->width(), ppi);
  EXPECT_EQ(wmf->height(), ppi / 2);
  Canvas canvas(ppi + 10, ppi);
  ASSERT_TRUE(wmf->draw(canvas.dc(), POINT{0, 0}, RECT{0, 0, wmf->width(), wmf->height()}));
  EXPECT_EQ(canvas.at(ppi / 2, ppi / 4), RGB(0, 0, 255));
  EXPECT_EQ(canvas.at(ppi + 5, ppi / 4), RGB(255, 255, 255));
}

// ---- The picture loaded ahead on a worker thread ----

namespace {

uint32_t red(int, int) { return 0xFF0000; }

std::string settingsNaming(const std::wstring& picture, const std::string& placement = "winpos=0\r\n") {
  return "[option]\r\n" + placement + "[pic]\r\npicture=" + ui::narrow(picture) + "\r\n";
}

}  // namespace

TEST(PicturePrefetch, TakenOverOnlyForTheSameUnchangedFile) {
  lt::TempFolder dir;
  const std::wstring bmp = dir.file(L"a.bmp"), ini = dir.file(L"lumivex.ini");
  lt::writeFileBytes(bmp, lt::bmpFile(8, 6, red));
  lt::writeFileBytes(ini, settingsNaming(bmp));
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
  lt::writeFileBytes(bmp, lt::bmpFile(12, 5, red));
  p = prefetch->take(bmp);
  EXPECT_TRUE(p == nullptr || p->width() == 12) << "the file changed after it was read";

  lt::writeFileBytes(ini, settingsNaming(dir.file(L"missing.bmp")));
  EXPECT_EQ(prefetchOf(ini)->take(dir.file(L"missing.bmp")), nullptr);
  EXPECT_EQ(prefetchOf(dir.file(L"no-settings.ini"))->take(bmp), nullptr);
  EXPECT_EQ(pictures::PicturePrefetch().take(bmp), nullptr) << "nothing loaded ahead";
}

TEST(PicturePrefetch, JpegDecodesOnlyThePartTheDesktopShowsAndDrawsTheSamePixels) {
  lt::TempFolder dir;
  const std::wstring jpg = dir.file(L"big.jpg"), ini = dir.file(L"lumivex.ini");
  const auto quadrants = [](int x, int y) -> uint32_t { return (x < 2000 ? 0xFF0000 : 0x0000FF) | (y < 1500 ? 0 : 0x00FF00); };
  lt::writeFileBytes(jpg, lt::jpegFile(4000, 3000, quadrants, 80));
  const int desktopW = GetSystemMetrics(SM_CXVIRTUALSCREEN), desktopH = GetSystemMetrics(SM_CYVIRTUALSCREEN);

  // Centred: the middle of the picture, about a desktop's worth of it.
  lt::writeFileBytes(ini, settingsNaming(jpg));
  auto centred = pictures::PicturePrefetch(ini, std::make_unique<app::SettingsFile>(ini)).take(jpg);
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
  lt::writeFileBytes(ini, settingsNaming(jpg, "winpos=1\r\n[Window]\r\nLeft=-3900\r\nTop=-2900\r\n"));
  auto corner = pictures::PicturePrefetch(ini, std::make_unique<app::SettingsFile>(ini)).take(jpg);
  ASSERT_NE(corner, nullptr);
  EXPECT_GT(corner->decodedPixels(), 0u);
  EXPECT_LE(corner->decodedPixels(), 300u * 300u);
}

TEST(PicturePrefetch, JpegWhosePixelsCannotBeDecodedFailsAtItsPaintAsWithoutPrefetch) {
  lt::TempFolder dir;
  const std::wstring jpg = dir.file(L"q.jpg"), ini = dir.file(L"lumivex.ini");
  lt::writeFileBytes(jpg, lt::withoutQuantTables(lt::jpegFile(64, 48, [](int, int) -> uint32_t { return 0; })));
  lt::writeFileBytes(ini, settingsNaming(jpg));
  auto p = pictures::PicturePrefetch(ini, std::make_unique<app::SettingsFile>(ini)).take(jpg);
  ASSERT_NE(p, nullptr);
  EXPECT_FALSE(p->failed());
  Canvas canvas(64, 48);
  EXPECT_FALSE(p->draw(canvas.dc(), POINT{0, 0}, RECT{0, 0, 64, 48}));
  EXPECT_EQ(p->failureText(), L"JPEG エラー #" + std::to_wstring(lt::jpegCodeNoQuantTable()));
}
