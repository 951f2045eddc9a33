// Hostile picture files through the splash window's show sequence: empty, cut, mislabelled, oversized, exotic,
// damaged and slow metafiles.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <stdexcept>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

#include <set>

#include <windows.h>
#include <tlhelp32.h>

#include "../core/png_test_support.h"
#include "hostile_support.h"
#include "splash/picture.h"
#include "splash_fixture.h"

using namespace lumivex;
using namespace lumivex::testing;
namespace lt = lumivex::testing;
using lt::SplashRun;
using lt::WindowPixels;

namespace {

// CPU time used so far by every thread of this process, those that have ended included (ms).
double processCpuMs() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  const auto ms = [](FILETIME f) { return static_cast<double>(uint64_t{f.dwHighDateTime} << 32 | f.dwLowDateTime) / 1e4; };
  return ms(kernel) + ms(user);
}

// CPU time that `show` takes in all threads: a huge decode, allocation or play takes far more than the window's
// making and a refusal (20 to 40 ms), however loaded the machine.
template <typename F>
double cpuMsFor(F&& show) {
  const double before = processCpuMs();
  show();
  return processCpuMs() - before;
}
constexpr double kShowCpuMs = 500;

using lt::JpegKind;

// A red picture as the JPEG library writes it in the given coding process or colour space.
std::string redJpeg(int width, int height, JpegKind kind) {
  return lt::jpegFile(width, height, lt::solid(0xFF0000), 90, kind);
}

// The JPEG file with a frame header claiming `width` x `height` pixels.
std::string claimingSize(std::string jpeg, uint16_t width, uint16_t height) {
  const size_t sof = jpeg.find("\xFF\xC0");
  jpeg[sof + 5] = static_cast<char>(height >> 8), jpeg[sof + 6] = static_cast<char>(height & 0xFF);
  jpeg[sof + 7] = static_cast<char>(width >> 8), jpeg[sof + 8] = static_cast<char>(width & 0xFF);
  return jpeg;
}

// Where the first start-of-scan marker's segment begins.
size_t startOfScan(const std::string& jpeg) {
  size_t at = 2;
  while (at + 4 <= jpeg.size() && static_cast<unsigned char>(jpeg[at]) == 0xFF) {
    if (static_cast<unsigned char>(jpeg[at + 1]) == 0xDA) return at;
    at += 2 + (static_cast<unsigned char>(jpeg[at + 2]) << 8 | static_cast<unsigned char>(jpeg[at + 3]));
  }
  throw std::runtime_error("no scan in the JPEG file");
}

// The JPEG file with its entropy-coded data replaced by random bytes (never a marker), up to its end marker.
std::string withGarbagePixels(const std::string& jpeg) {
  const size_t sos = startOfScan(jpeg);
  const size_t data = sos + 2 + (static_cast<unsigned char>(jpeg[sos + 2]) << 8 | static_cast<unsigned char>(jpeg[sos + 3]));
  std::string out = jpeg.substr(0, data);
  unsigned seed = 12345;
  for (size_t i = data; i + 2 < jpeg.size(); ++i) {
    seed = seed * 1103515245u + 12345u;
    const char b = static_cast<char>(seed >> 16);
    out += b == '\xFF' ? '\x00' : b;
  }
  return out + "\xFF\xD9";
}

void set32(std::string& s, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// A bitmap header claiming `width` x `height` 24-bit pixels, followed by only `pixelBytes` bytes of them.
std::string bitmapClaiming(int width, int height, size_t pixelBytes) {
  std::string s = lt::bmpFile(1, 1, lt::solid(0xFF0000)).substr(0, 54);
  set32(s, 18, static_cast<uint32_t>(width));
  set32(s, 22, static_cast<uint32_t>(height));
  return s + std::string(pixelBytes, '\x11');
}

void drawShapes(HDC dc) {
  const RECT box{0, 0, 40, 20};
  HBRUSH brush = CreateSolidBrush(RGB(255, 0, 0));
  FillRect(dc, &box, brush);
  DeleteObject(brush);
  const POINT points[] = {{0, 0}, {30, 40}, {60, 5}};
  Polygon(dc, points, 3);
  Ellipse(dc, 10, 10, 50, 30);
}

// Where the first record of `type` starts in an enhanced metafile.
size_t emfRecordAt(const std::string& emf, uint32_t type) {
  const auto u32 = [&](size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(emf[at + i]);
    return v;
  };
  for (size_t at = 0; at + 8 <= emf.size(); at += u32(at + 4))
    if (u32(at) == type) return at;
  throw std::runtime_error("no such record");
}

std::wstring jpegText(int code) { return L"JPEG エラー #" + std::to_wstring(code) + L"."; }

const std::wstring kBitmapText = L"ビットマップイメージが不正です.";
const std::wstring kMetafileText = L"メタファイルが不正です.";

COLORREF centreOf(HWND h) {
  const WindowPixels px(h);
  return px.at(px.width() / 2, px.height() / 3);
}

// The show sequence of a picture that cannot be loaded: one error box with `text`, then the option dialog, the
// window at its design size, in little CPU time and without a huge allocation kept.
void expectRefused(SplashRun& run, const std::wstring& text) {
  run.expectModal();
  const lt::ResourceUsage before = lt::ResourceUsage::now();
  EXPECT_LT(cpuMsFor([&] { run.show(); }), kShowCpuMs);
  EXPECT_LT(lt::ResourceUsage::now().privateBytes - before.privateBytes, 64ll << 20) << "no huge allocation kept";
  ASSERT_EQ(run.services.boxes.size(), 1u);
  EXPECT_EQ(run.services.boxes[0].kind, ui::BoxKind::Error);
  EXPECT_EQ(run.services.boxes[0].text, text);
  EXPECT_EQ(run.modalShowings, 1) << "the option dialog follows";
  EXPECT_EQ(run.splash().image.picture(), nullptr);
  EXPECT_EQ(lt::outerSize(run.splash().hwnd()).cx, 460) << "the design size stays";
  EXPECT_FALSE(run.splash().showsThroughLayer());
}

}  // namespace

// What each decoder refuses is checked natively; here a refusal of each kind goes through the show sequence, and
// headers that promise more than the file holds cost neither time nor memory.
TEST(HostilePictures, FilesThatCannotBeLoadedAreReportedThenTheOptionDialogOpens) {
  const std::string jpeg = lt::jpegFile(64, 48, lt::solid(0xFF0000));
  const std::vector<uint8_t> png = core::testing::readPngSuite("basn6a08.png");
  struct Case {
    const wchar_t* name;
    std::string bytes;
    std::wstring text;
  };
  const Case cases[] = {
      {L"empty.bmp", "", kBitmapText},
      // Header arithmetic as the Windows build does it (its long has 32 bits): sizes beyond the limits, or negative.
      {L"huge.bmp", bitmapClaiming(100000, 100000, 64), kBitmapText},
      {L"tall.bmp", bitmapClaiming(1, 2000000000, 64), kBitmapText},
      {L"negative.bmp", bitmapClaiming(-5000, 5000, 64), kBitmapText},
      {L"big-cut.bmp", bitmapClaiming(10000, 10000, 4096), kBitmapText},
      {L"huge.jpg", claimingSize(jpeg, 60000, 60000), jpegText(JERR_IMAGE_TOO_BIG)},
      {L"cut.png", std::string(png.begin(), png.begin() + png.size() / 2), L"PNG エラー #-1: ファイルが途中で切れています."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ui::narrow(c.name));
    SplashRun run({c.name, c.bytes});
    expectRefused(run, c.text);
  }
}

// A wait on a device uses no CPU: the wall clock, with a margin a loaded machine keeps, tells it.
TEST(HostilePictures, PathsNamingDevicesArePassedOverWithoutWaiting) {
  for (const wchar_t* path : {L"CON", L"C:\\windows\\con.bmp", L"C:\\windows\\nul.jpg", L"C:\\windows\\com1.bmp",
                              L"C:\\windows\\aux.jpg", L"\\\\.\\pipe\\lumivex.bmp"}) {
    SCOPED_TRACE(ui::narrow(path));
    SplashRun run(lt::splashIni(path));
    run.expectModal();
    EXPECT_LT(lt::millisecondsFor([&] { run.show(); }), 5000u);
    EXPECT_EQ(run.services.boxes.size(), 1u) << "a notice or an error, then the option dialog";
    EXPECT_EQ(run.modalShowings, 1);
    EXPECT_EQ(run.splash().image.picture(), nullptr);
  }
}

TEST(HostilePictures, ProgressiveArithmeticAndCmykJpegsAreShown) {
  const std::pair<const wchar_t*, JpegKind> cases[] = {
      {L"progressive.jpg", JpegKind::Progressive}, {L"arithmetic.jpg", JpegKind::Arithmetic}, {L"cmyk.jpg", JpegKind::Cmyk}};
  for (const auto& [name, kind] : cases) {
    SCOPED_TRACE(ui::narrow(name));
    SplashRun run({name, redJpeg(180, 120, kind)}, "b_size=0\r\n");
    run.show();
    EXPECT_TRUE(run.services.boxes.empty());
    EXPECT_EQ(lt::outerSize(run.splash().hwnd()).cx, 180);
    EXPECT_EQ(lt::outerSize(run.splash().hwnd()).cy, 120);
    const COLORREF c = centreOf(run.splash().hwnd());
    EXPECT_NEAR(GetRValue(c), 255, 8);
    EXPECT_NEAR(GetGValue(c), 0, 8);
    EXPECT_NEAR(GetBValue(c), 0, 8);
  }
}

TEST(HostilePictures, SmallFileClaimingALargeJpegShowsQuickly) {
  // A valid header for 11000 x 11000 pixels whose data stops at once: only what the desktop shows is decoded.
  const std::string small = lt::jpegFile(16, 16, lt::solid(0xFF0000));
  const std::string claims = claimingSize(small.substr(0, startOfScan(small) + 14), 11000, 11000);
  SplashRun run({L"claims.jpg", claims}, "b_size=0\r\n");
  EXPECT_LT(cpuMsFor([&] { run.show(); }), kShowCpuMs);
  EXPECT_EQ(run.splash().image.width(), 11000);
  EXPECT_LE(run.services.boxes.size(), 1u);
  EXPECT_LT(run.splash().image.picture()->decodedPixels(), 11000ull * 11000ull / 20);
}

TEST(HostilePictures, JpegWithBadPixelDataIsReportedAtMostOnceWhateverTheRepaints) {
  std::string badProgression = redJpeg(200, 150, JpegKind::Progressive);
  // The first scan asks for coefficients 0 to 63 of a progressive picture, which no first scan may.
  const size_t sos = startOfScan(badProgression);
  const size_t components = static_cast<unsigned char>(badProgression[sos + 4]);
  badProgression[sos + 5 + 2 * components + 1] = 63;
  struct Case {
    const wchar_t* name;
    std::string bytes;
    bool mustFail;
  };
  const Case cases[] = {
      {L"garbage.jpg", withGarbagePixels(lt::jpegFile(200, 150, lt::solid(0xFF0000))), false},
      {L"garbage-progressive.jpg", withGarbagePixels(redJpeg(200, 150, JpegKind::Progressive)), false},
      {L"garbage-arithmetic.jpg", withGarbagePixels(redJpeg(200, 150, JpegKind::Arithmetic)), false},
      {L"progression.jpg", badProgression, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ui::narrow(c.name));
    SplashRun run({c.name, c.bytes}, "b_size=0\r\n");
    EXPECT_LT(cpuMsFor([&] { run.show(); }), kShowCpuMs);
    EXPECT_EQ(lt::outerSize(run.splash().hwnd()).cx, 200) << "the header gave the size";
    for (int i = 0; i < 5; ++i) {
      InvalidateRect(run.splash().hwnd(), nullptr, FALSE);
      run.splash().setLeft(run.splash().left() + 7);
      run.settle();
    }
    (void)WindowPixels(run.splash().hwnd());
    run.settle();
    if (c.mustFail) {
      ASSERT_EQ(run.services.boxes.size(), 1u) << "reported once";
      EXPECT_EQ(run.services.boxes[0].text, jpegText(JERR_BAD_PROGRESSION));
    } else {
      EXPECT_LE(run.services.boxes.size(), 1u) << "never at every repaint";
    }
    for (const auto& box : run.services.boxes) EXPECT_EQ(box.text.rfind(L"JPEG エラー #", 0), 0u);
    EXPECT_TRUE(run.splash().visible());
  }
}

TEST(HostilePictures, DamagedMetafilesAreRefusedBeforeTheWindowSystemReadsThem) {
  // Each of these made the window system's player read outside the file and end the program.
  std::string offsets = lt::emfFile(drawShapes);
  const size_t blit = emfRecordAt(offsets, 76);  // the fill: a block transfer without a source bitmap
  set32(offsets, blit + 84, 0x00100000);
  set32(offsets, blit + 88, 40);
  std::string points = lt::placeableWmfFile(drawShapes);
  const size_t polygon = points.find(std::string("\x24\x03", 2));
  ASSERT_NE(polygon, std::string::npos);
  points[polygon + 2] = '\xFF';  // the point count
  points[polygon + 3] = '\x3F';
  for (const auto& [name, bytes] : {std::pair{L"offsets.emf", offsets}, std::pair{L"points.wmf", points}}) {
    SCOPED_TRACE(ui::narrow(name));
    SplashRun run({name, bytes});
    expectRefused(run, kMetafileText);
  }
  for (const auto& [name, bytes] : {std::pair{L"fine.emf", lt::emfFile(drawShapes)},
                                    std::pair{L"fine.wmf", lt::placeableWmfFile(drawShapes)}}) {
    SCOPED_TRACE(ui::narrow(name));
    SplashRun run({name, bytes}, "b_size=0\r\n");
    run.show();
    EXPECT_TRUE(run.services.boxes.empty()) << "the undamaged file is shown";
    ASSERT_NE(run.splash().image.picture(), nullptr);
  }
}

namespace {

// A metafile of `ellipses` ellipses drawn with a very wide pen: each takes about half a millisecond under Wine.
std::string slowMetafile(int ellipses) {
  return lt::emfFile([ellipses](HDC dc) {
    HPEN pen = CreatePen(PS_SOLID, 200, RGB(0, 0, 255));
    HGDIOBJ old = SelectObject(dc, pen);
    for (int i = 0; i < ellipses; ++i) Ellipse(dc, -2000 + i % 50, -2000 + i % 30, 2000 + i % 40, 2000 + i % 20);
    SelectObject(dc, old);
    DeleteObject(pen);
  });
}

}  // namespace

TEST(HostilePictures, AMetafileTooSlowToPlayIsRefusedWithoutFreezingTheWindow) {
  SplashRun run({L"slow.emf", slowMetafile(2000)});  // about a second to play
  run.services.metafileTrialMs = 20;
  expectRefused(run, kMetafileText);
}

namespace {

// The threads of this process.
std::set<DWORD> threadsOfThisProcess() {
  std::set<DWORD> ids;
  const HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  THREADENTRY32 te{};
  te.dwSize = sizeof(te);
  for (BOOL ok = Thread32First(snap, &te); ok; ok = Thread32Next(snap, &te))
    if (te.th32OwnerProcessID == GetCurrentProcessId()) ids.insert(te.th32ThreadID);
  CloseHandle(snap);
  return ids;
}

}  // namespace

TEST(HostilePictures, AMetafileRefusedAsTooSlowLeavesNoThreadBusy) {
  lt::TempFolder pics;
  // About ten seconds to play, in records that each take well under 1 ms.
  const std::wstring pic = lt::writtenFile(pics, L"slow.emf", slowMetafile(20000));

  const std::set<DWORD> before = threadsOfThisProcess();
  try {
    pictures::Picture::fromFile(pic, 50);
    ADD_FAILURE() << "the slow metafile was accepted";
  } catch (const ui::AppError& e) {
    EXPECT_EQ(e.text(), L"メタファイルが不正です");
  }
  const auto newThreads = [&] {
    size_t n = 0;
    for (DWORD id : threadsOfThisProcess()) n += before.count(id) == 0;
    return n;
  };
  EXPECT_TRUE(lt::pumpUntil([&] { return newThreads() == 0; })) << newThreads() << " thread(s) still running";
  const double cpuBefore = processCpuMs();
  Sleep(500);
  EXPECT_LT(processCpuMs() - cpuBefore, 50.0) << "CPU time used in the half second after the refusal";
}
