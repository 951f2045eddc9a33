// Tests of the bitmap reader against the bitmap test suite and against malformed files built in memory.
#include "core/bmp_reader.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <map>
#include <random>
#include <set>

#include "core/picture_limits.h"
#include "picture_files.h"

namespace lumivex::core {
namespace {

using testing::bmpSuitePath;
using testing::readSuiteFile;
using testing::TestBmp;

std::vector<std::string> suiteFiles(const std::string& folder) {
  return testing::filesIn(bmpSuitePath(folder), ".bmp");
}

PixelBuffer decode(const std::vector<uint8_t>& file) { return readBmp(file.data(), file.size()); }
// Decodes a suite file named "folder/name".
PixelBuffer decodeSuite(const std::string& path) {
  const auto slash = path.find('/');
  return decode(readSuiteFile(path.substr(0, slash), path.substr(slash + 1)));
}

struct Bgr {
  int b, g, r;
  bool operator==(const Bgr& o) const { return b == o.b && g == o.g && r == o.r; }
};
std::ostream& operator<<(std::ostream& os, const Bgr& c) {
  return os << "(B" << c.b << " G" << c.g << " R" << c.r << ")";
}
Bgr at(const PixelBuffer& p, int x, int y) {
  const uint8_t* px = p.row(y) + 4 * x;
  return {px[0], px[1], px[2]};
}

// Largest difference of any colour channel between two pictures of the same size.
int maxChannelDifference(const PixelBuffer& a, const PixelBuffer& b) {
  int worst = 0;
  for (size_t i = 0; i < a.bgrx.size(); ++i) worst = std::max(worst, std::abs(a.bgrx[i] - b.bgrx[i]));
  return worst;
}

// Outcome of decoding an untrusted file: anything but a clean BmpError is a failure of the test.
bool readsOrRejectsCleanly(const uint8_t* data, size_t size) {
  try {
    const PixelBuffer p = readBmp(data, size);
    return p.bgrx.size() == static_cast<size_t>(p.width) * p.height * 4;
  } catch (const BmpError&) {
    return true;
  }
}

// ---- the bitmap test suite ----

TEST(BmpSuite, EveryGoodFileDecodesToItsHeaderSize) {
  const auto names = suiteFiles("g");
  ASSERT_GE(names.size(), 27u);
  for (const auto& name : names) {
    SCOPED_TRACE(name);
    const auto file = readSuiteFile("g", name);
    const BmpInfo info = readBmpInfo(file.data(), file.size());
    const PixelBuffer p = decode(file);
    EXPECT_EQ(p.width, info.width);
    EXPECT_EQ(p.height, info.height);
    ASSERT_EQ(p.bgrx.size(), static_cast<size_t>(p.width) * p.height * 4);
    for (size_t i = 3; i < p.bgrx.size(); i += 4) ASSERT_EQ(p.bgrx[i], 0) << "X byte at " << i / 4;
  }
}

TEST(BmpSuite, EncodingsOfOnePictureDecodeIdentically) {
  // Each reference file, and files in other encodings (folder/name) that hold exactly the same pixels.
  const std::map<std::string, std::vector<std::string>> groups = {
      {"g/rgb24.bmp",
       {"g/rgb24pal.bmp", "g/rgb32.bmp", "g/rgb32bf.bmp", "g/rgb32bfdef.bmp", "q/rgb32-xbgr.bmp", "q/rgb32h52.bmp",
        "q/rgb32fakealpha.bmp", "q/rgb24largepal.bmp", "q/rgb24prof.bmp", "q/rgb24lprof.bmp"}},
      {"q/rgba32-1.bmp", {"q/rgba32-2.bmp", "q/rgba32abf.bmp", "q/rgba32h56.bmp"}},
      {"g/pal8.bmp",
       {"g/pal8-0.bmp", "g/pal8os2.bmp", "g/pal8rle.bmp", "g/pal8topdown.bmp", "g/pal8v4.bmp", "g/pal8v5.bmp",
        "q/pal8offs.bmp", "q/pal8os2-hs.bmp", "q/pal8os2-sz.bmp", "q/pal8os2sp.bmp", "q/pal8os2v2-16.bmp",
        "q/pal8os2v2-40sz.bmp", "q/pal8os2v2-sz.bmp", "q/pal8os2v2.bmp", "q/pal8oversizepal.bmp"}},
      {"g/pal4.bmp", {"g/pal4rle.bmp"}},
      {"g/pal1.bmp", {"g/pal1wb.bmp"}},
      {"g/rgb16.bmp", {"g/rgb16bfdef.bmp", "q/rgb16faketrns.bmp"}},
      {"g/rgb16-565.bmp", {"g/rgb16-565pal.bmp"}},
  };
  for (const auto& [reference, variants] : groups) {
    const PixelBuffer expected = decodeSuite(reference);
    for (const auto& variant : variants) {
      SCOPED_TRACE(variant + " against " + reference);
      const PixelBuffer p = decodeSuite(variant);
      ASSERT_EQ(p.width, expected.width);
      ASSERT_EQ(p.height, expected.height);
      EXPECT_EQ(p.bgrx, expected.bgrx);
    }
  }
}

TEST(BmpSuite, BitFieldChannelsOfEveryWidthComeCloseToEightBitChannels) {
  // File, its 8-bit-per-channel counterpart, and the step of its coarsest colour channel, 255 / (2^bits - 1),
  // rounded up. (The alpha pictures keep arbitrary colours under transparent pixels, so they have their own.)
  struct Case {
    const char* file;
    const char* reference;
    int step;
  };
  const Case cases[] = {
      {"g/rgb16.bmp", "g/rgb24.bmp", 9},           {"g/rgb16-565.bmp", "g/rgb24.bmp", 9},
      {"q/rgb16-3103.bmp", "g/rgb24.bmp", 37},     {"q/rgba16-5551.bmp", "g/rgb24.bmp", 9},
      {"q/rgb32-111110.bmp", "g/rgb24.bmp", 1},    {"q/rgb32-7187.bmp", "g/rgb24.bmp", 3},
      {"q/rgba16-4444.bmp", "q/rgba32-1.bmp", 17}, {"q/rgba32-1010102.bmp", "q/rgba32-1.bmp", 1},
      {"q/rgba32-81284.bmp", "q/rgba32-1.bmp", 1}, {"q/rgba32-61754.bmp", "q/rgba32-1.bmp", 9},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const PixelBuffer p = decodeSuite(c.file);
    const PixelBuffer truth = decodeSuite(c.reference);
    ASSERT_EQ(p.bgrx.size(), truth.bgrx.size());
    EXPECT_LE(maxChannelDifference(p, truth), c.step);
  }
}

TEST(BmpSuite, KnownPixelsLandWhereTheyBelong) {
  const PixelBuffer rgb = decodeSuite("g/rgb24.bmp");
  EXPECT_EQ(at(rgb, 0, 0), (Bgr{0, 0, 255}));
  EXPECT_EQ(at(rgb, 126, 0), (Bgr{189, 159, 159}));
  EXPECT_EQ(at(rgb, 0, 63), (Bgr{0, 0, 0}));
  EXPECT_EQ(at(rgb, 63, 32), (Bgr{255, 255, 255}));
  EXPECT_EQ(at(rgb, 10, 50), (Bgr{82, 82, 53}));

  const PixelBuffer bw = decodeSuite("g/pal1.bmp");
  const PixelBuffer blueGreen = decodeSuite("g/pal1bg.bmp");
  for (int y = 0; y < bw.height; ++y) {
    for (int x = 0; x < bw.width; ++x) {
      const Bgr c = at(bw, x, y);
      ASSERT_TRUE(c == (Bgr{0, 0, 0}) || c == (Bgr{255, 255, 255})) << x << "," << y;
      EXPECT_EQ(at(blueGreen, x, y), c == (Bgr{0, 0, 0}) ? (Bgr{255, 64, 64}) : (Bgr{64, 255, 64}));
    }
  }
}

TEST(BmpSuite, CroppedSizesShowTheSamePicture) {
  const PixelBuffer full = decodeSuite("g/pal8.bmp");
  for (const char* name : {"pal8w124.bmp", "pal8w125.bmp", "pal8w126.bmp"}) {
    SCOPED_TRACE(name);
    const PixelBuffer p = decodeSuite(std::string("g/") + name);
    for (int y = 0; y < p.height; ++y)
      ASSERT_EQ(0, std::memcmp(p.row(y), full.row(y), static_cast<size_t>(p.width) * 4)) << "row " << y;
  }
}

TEST(BmpSuite, RleSkippedPixelsTakePaletteEntryZero) {
  const std::pair<const char*, const char*> pairs[] = {{"pal8rle.bmp", "pal8rletrns.bmp"},
                                                       {"pal4rle.bmp", "pal4rletrns.bmp"}};
  for (const auto& [complete, skipping] : pairs) {
    SCOPED_TRACE(skipping);
    const auto file = readSuiteFile("q", skipping);
    const Bgr entryZero{file[54], file[55], file[56]};
    const PixelBuffer whole = decodeSuite(std::string("g/") + complete);
    const PixelBuffer holes = decode(file);
    int skipped = 0;
    for (int y = 0; y < whole.height; ++y) {
      for (int x = 0; x < whole.width; ++x) {
        if (at(holes, x, y) == at(whole, x, y)) continue;
        ASSERT_EQ(at(holes, x, y), entryZero) << x << "," << y;
        ++skipped;
      }
    }
    EXPECT_GT(skipped, 100);
  }
}

TEST(BmpSuite, BadFilesAreRejectedOrReadSafely) {
  // Read, because what is wrong does not affect the pixels; the folder's other 14 files are rejected.
  const std::set<std::string> read = {
      "badbitssize.bmp",   // the image-size field is advisory for uncompressed data and is not used
      "baddens1.bmp",      // pixel density does not matter for display at natural size
      "baddens2.bmp",
      "badfilesize.bmp",   // the file-size field is not used; the real size is checked instead
      "pal8badindex.bmp",  // indexes past the palette are shown black
      "rgb16-880.bmp",     // a zero blue mask: the picture simply has no blue
  };
  const auto names = suiteFiles("b");
  ASSERT_EQ(names.size(), 20u);
  for (const auto& name : names) {
    SCOPED_TRACE(name);
    const auto file = readSuiteFile("b", name);
    if (read.count(name))
      EXPECT_NO_THROW(decode(file));
    else
      EXPECT_THROW(decode(file), BmpError);
  }
  const PixelBuffer badIndex = decodeSuite("b/pal8badindex.bmp");
  const PixelBuffer noBlue = decodeSuite("b/rgb16-880.bmp");
  EXPECT_EQ(at(badIndex, 0, 0), (Bgr{0, 0, 255}));
  EXPECT_EQ(at(badIndex, 13, 63), (Bgr{0, 0, 0}));  // index 103 of 101 entries
  EXPECT_EQ(at(badIndex, 15, 63), (Bgr{0, 0, 0}));  // index 145
  for (int y = 0; y < noBlue.height; ++y)
    for (int x = 0; x < noBlue.width; ++x) ASSERT_EQ(at(noBlue, x, y).b, 0);
}

TEST(BmpSuite, QuestionableAndRelatedFilesReadOrRejectCleanly) {
  for (const char* folder : {"q", "x"}) {
    for (const auto& name : suiteFiles(folder)) {
      SCOPED_TRACE(name);
      const auto file = readSuiteFile(folder, name);
      EXPECT_TRUE(readsOrRejectsCleanly(file.data(), file.size()));
    }
  }
}

// ---- files built in memory ----

TestBmp oneRedPixel() {
  TestBmp bmp;
  bmp.pixels = {0, 0, 255, 0};
  return bmp;
}

// The pixel, as `bpp` bits in bit fields of `masks` (placed after the 40-byte header).
TestBmp bitFields(uint16_t bpp, std::vector<uint32_t> masks) {
  TestBmp bmp = oneRedPixel();
  bmp.bpp = bpp;
  bmp.compression = 3;
  bmp.masks = std::move(masks);
  return bmp;
}

TEST(BmpReader, RejectsMalformedHeaders) {
  std::vector<std::pair<std::string, std::vector<uint8_t>>> cases;
  auto add = [&](const std::string& label, const TestBmp& bmp) { cases.emplace_back(label, bmp.bytes()); };
  auto with = [](auto change) {
    TestBmp bmp = oneRedPixel();
    change(bmp);
    return bmp;
  };
  cases.emplace_back("empty", std::vector<uint8_t>{});
  cases.emplace_back("magic only", std::vector<uint8_t>{'B', 'M'});
  auto wrongMagic = oneRedPixel().bytes();
  wrongMagic[1] = 'A';
  cases.emplace_back("wrong magic", wrongMagic);
  add("100000 x 100000", with([](TestBmp& b) { b.width = b.height = 100000; }));
  add("16384 x 16385, too many pixels", with([](TestBmp& b) { b.width = 16384, b.height = 16385; }));
  add("height INT_MIN", with([](TestBmp& b) { b.height = INT_MIN; }));
  add("width INT_MIN", with([](TestBmp& b) { b.width = INT_MIN; }));
  add("zero width", with([](TestBmp& b) { b.width = 0; }));
  add("zero height", with([](TestBmp& b) { b.height = 0; }));
  add("pixel offset past the end", with([](TestBmp& b) { b.pixelOffset = 0x7FFFFFF0; }));
  add("pixel offset at the end", with([](TestBmp& b) { b.pixelOffset = 58; }));
  add("pixel offset inside the header", with([](TestBmp& b) { b.pixelOffset = 20; }));
  add("pixel offset 0xFFFFFFFF", with([](TestBmp& b) { b.pixelOffset = 0xFFFFFFFF; }));
  add("missing pixel row", with([](TestBmp& b) { b.height = 2; }));
  auto hugeHeader = oneRedPixel().bytes();
  hugeHeader[14] = hugeHeader[15] = hugeHeader[16] = hugeHeader[17] = 0xFF;
  cases.emplace_back("header size 0xFFFFFFFF", hugeHeader);
  add("bit count 0", with([](TestBmp& b) { b.bpp = 0; }));
  add("bit count 64", with([](TestBmp& b) { b.bpp = 64; }));
  add("embedded JPEG", with([](TestBmp& b) { b.compression = 4; }));
  add("embedded PNG", with([](TestBmp& b) { b.compression = 5; }));
  add("RLE8 at 24 bits", with([](TestBmp& b) { b.compression = 1; }));
  add("bit fields at 24 bits", bitFields(24, {0xFF0000, 0xFF00, 0xFF}));
  add("bit fields without masks", bitFields(16, {}));
  add("split mask", bitFields(32, {0xF0F000, 0xF00, 0xFF}));
  add("16-bit mask above bit 15", bitFields(16, {0x1F0000, 0x3E0, 0x1F}));
  add("palette claimed past the end", with([](TestBmp& b) {
        b.bpp = 8;
        b.colorsUsed = 0x40000000;
        b.palette = {0, 0, 0, 0};
      }));
  add("indexed without a palette", with([](TestBmp& b) {
        b.bpp = 8;
        b.colorsUsed = 1;
        b.pixelOffset = 54;
      }));
  for (const auto& [label, file] : cases) {
    SCOPED_TRACE(label);
    EXPECT_THROW(readBmpInfo(file.data(), file.size()), BmpError);
    EXPECT_THROW(readBmp(file.data(), file.size()), BmpError);
  }
}

TEST(BmpReader, BitFieldsWidenEveryChannelWidthToFullRange) {
  struct Case {
    uint16_t bpp;
    std::vector<uint32_t> masks;  // none: the default layout
    uint32_t pixel;
    Bgr expected;
  };
  const std::vector<Case> cases = {
      {16, {}, 0x7FFF, {255, 255, 255}},                            // 5-5-5 by default
      {16, {}, 0x0010, {132, 0, 0}},                                // 16 of 31
      {16, {0xF800, 0x07E0, 0x001F}, 0x07E0, {0, 255, 0}},          // 5-6-5
      {16, {0xF800, 0x07E0, 0x001F}, 0x0400, {0, 130, 0}},          // 32 of 63
      {16, {0x4, 0x2, 0x1}, 0x5, {255, 0, 255}},                    // 1-bit channels
      {32, {0x3FF00000, 0xFFC00, 0x3FF}, 0x3FF00200, {128, 0, 255}},  // 10-bit channels keep their top 8 bits
      {32, {0xFF, 0xFF00, 0xFF0000}, 0x123456, {0x12, 0x34, 0x56}},   // reversed byte order
      {32, {}, 0xAB123456, {0x56, 0x34, 0x12}},                       // the unused byte is ignored
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.pixel));
    TestBmp bmp = bitFields(c.bpp, c.masks);
    bmp.compression = c.masks.empty() ? 0 : 3;
    bmp.pixels = {static_cast<uint8_t>(c.pixel), static_cast<uint8_t>(c.pixel >> 8),
                  static_cast<uint8_t>(c.pixel >> 16), static_cast<uint8_t>(c.pixel >> 24)};
    EXPECT_EQ(at(decode(bmp.bytes()), 0, 0), c.expected);
  }
}

// A run-length bitmap 4 pixels wide, RLE8 or RLE4 by `bpp`: `palette` of 4-byte entries, then `stream`.
TestBmp rleBmp(int32_t height, uint16_t bpp, std::vector<uint8_t> palette, std::vector<uint8_t> stream) {
  TestBmp bmp;
  bmp.width = 4;
  bmp.height = height;
  bmp.bpp = bpp;
  bmp.compression = bpp == 8 ? 1 : 2;
  bmp.colorsUsed = static_cast<uint32_t>(palette.size() / 4);
  bmp.palette = std::move(palette);
  bmp.pixels = std::move(stream);
  return bmp;
}

TEST(BmpReader, RleEscapesPlacePixelsAndLeaveTheRestAtEntryZero) {
  const Bgr g{0, 255, 0}, r{0, 0, 255}, b{255, 0, 0};
  struct Case {
    uint16_t bpp;
    std::vector<uint8_t> stream;
    std::vector<std::vector<Bgr>> expected;  // top row first
  };
  // Bottom row: a run, end of line; middle row: delta (1, 0), an absolute run; end of bitmap, which leaves the
  // top row unwritten. In RLE4 the two nibbles of a run byte alternate.
  const Case cases[] = {
      {8, {2, 1, 0, 0, 0, 2, 1, 0, 0, 3, 2, 1, 2, 0, 0, 1}, {{g, g, g, g}, {g, b, r, b}, {r, r, g, g}}},
      {4, {3, 0x12, 0, 0, 0, 2, 1, 0, 0, 3, 0x21, 0x20, 0, 1}, {{g, g, g, g}, {g, b, r, b}, {r, b, r, g}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bpp);
    const std::vector<uint8_t> greenRedBlue{0, 255, 0, 0, /**/ 0, 0, 255, 0, /**/ 255, 0, 0, 0};
    const PixelBuffer p = decode(rleBmp(3, c.bpp, greenRedBlue, c.stream).bytes());
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 4; ++x) EXPECT_EQ(at(p, x, y), c.expected[y][x]) << x << "," << y;
  }
}

TEST(BmpReader, RleThatLeavesThePictureIsRejected) {
  const std::vector<std::pair<std::string, std::vector<uint8_t>>> streams = {
      {"run past the row end", {5, 1, 0, 1}},
      {"absolute run past the row end", {0, 5, 1, 1, 1, 1, 1, 0, 0, 1}},
      {"delta past the right edge", {0, 2, 5, 0, 0, 1}},
      {"delta past the top", {0, 2, 0, 3, 0, 1}},
      {"run above the last row", {0, 0, 0, 0, 1, 1}},
      {"end of line above the last row", {0, 0, 0, 0, 0, 0, 0, 1}},
      {"absolute run cut short", {0, 4, 1, 1}},
      {"delta cut short", {0, 2, 1}},
  };
  for (const auto& [label, stream] : streams) {
    SCOPED_TRACE(label);
    EXPECT_THROW(decode(rleBmp(2, 8, {0, 0, 0, 0, 255, 255, 255, 0}, stream).bytes()), BmpError);
  }
}

TEST(BmpReader, CutAndCorruptedFilesNeverMisbehave) {
  for (const char* name :
       {"pal4rle.bmp", "pal8rle.bmp", "pal1.bmp", "rgb16-565.bmp", "pal8os2.bmp", "pal8v5.bmp"}) {
    SCOPED_TRACE(name);
    const auto file = readSuiteFile("g", name);
    for (size_t size = 0; size < file.size(); size += size < 1100 ? 1 : 7)
      ASSERT_TRUE(readsOrRejectsCleanly(file.data(), size)) << "cut at " << size;

    // Random byte changes, most of them in the headers and palette where the sizes and offsets live.
    std::mt19937 random(12345);
    for (int round = 0; round < 300; ++round) {
      auto copy = file;
      const int changes = 1 + static_cast<int>(random() % 4);
      for (int i = 0; i < changes; ++i) {
        const size_t span = random() % 4 ? std::min<size_t>(copy.size(), 160) : copy.size();
        copy[random() % span] = static_cast<uint8_t>(random());
      }
      ASSERT_TRUE(readsOrRejectsCleanly(copy.data(), copy.size())) << "round " << round;
    }
  }
}

TEST(PictureLimits, AcceptsUpToTheSideAndPixelLimits) {
  EXPECT_TRUE(pictureSizeAcceptable(1, 1));
  EXPECT_TRUE(pictureSizeAcceptable(kMaxPictureSide, 4096));
  EXPECT_TRUE(pictureSizeAcceptable(16384, 8192));
  EXPECT_FALSE(pictureSizeAcceptable(16384, 8193));
  EXPECT_FALSE(pictureSizeAcceptable(kMaxPictureSide + 1, 1));
  EXPECT_FALSE(pictureSizeAcceptable(1, kMaxPictureSide + 1));
  EXPECT_FALSE(pictureSizeAcceptable(0, 5));
  EXPECT_FALSE(pictureSizeAcceptable(5, -1));
  EXPECT_FALSE(pictureSizeAcceptable(INT64_MIN, INT64_MIN));
}

}  // namespace
}  // namespace lumivex::core
