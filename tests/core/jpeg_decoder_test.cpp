// Tests of the JPEG decoder: formats, region decoding, damaged and hostile files.
#include "core/jpeg_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <cstdlib>
#include <cstring>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

namespace lumivex::core {
namespace {

using Bytes = std::vector<uint8_t>;

enum class Kind { Rgb, Gray, CmykAdobe, CmykPlain, Ycck };

struct Format {
  const char* name;
  Kind kind = Kind::Rgb;
  int hSamp = 2, vSamp = 2;
  bool progressive = false;
  bool arithmetic = false;
  int restartRows = 0;
  int quality = 85;
  bool scanPerComponent = false;  // sequential, but each component in a scan of its own
};

struct Rgb {
  int r, g, b;
};

struct Rect {
  int x, y, w, h;
};

// A gradient with a checkerboard of strong colour edges, so that chroma
// upsampling differences between a region and the whole picture would show.
Rgb pattern(int x, int y, int w, int h, bool smooth) {
  const int r = x * 255 / (w - 1);
  const int g = y * 255 / (h - 1);
  const int b = smooth ? (x + y) * 255 / (w + h - 2) : (((x / 6) + (y / 5)) % 2 ? 230 : 20);
  return {r, g, b};
}

// CMYK ink amounts (0 = none) for the pattern; black ink varies too.
void cmykFor(const Rgb& c, int x, uint8_t ink[4]) {
  const int k = x % 3 == 0 ? 0 : 40;
  ink[0] = static_cast<uint8_t>(255 - c.r);
  ink[1] = static_cast<uint8_t>(255 - c.g);
  ink[2] = static_cast<uint8_t>(255 - c.b);
  ink[3] = static_cast<uint8_t>(k);
}

Bytes encode(const Format& f, int w, int h, bool smooth = false) {
  jpeg_compress_struct c{};
  jpeg_error_mgr err{};
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &buffer, &size);
  c.image_width = static_cast<JDIMENSION>(w);
  c.image_height = static_cast<JDIMENSION>(h);
  const bool cmyk = f.kind == Kind::CmykAdobe || f.kind == Kind::CmykPlain || f.kind == Kind::Ycck;
  c.input_components = f.kind == Kind::Gray ? 1 : cmyk ? 4 : 3;
  c.in_color_space = f.kind == Kind::Gray ? JCS_GRAYSCALE : cmyk ? JCS_CMYK : JCS_RGB;
  jpeg_set_defaults(&c);
  if (cmyk) jpeg_set_colorspace(&c, f.kind == Kind::Ycck ? JCS_YCCK : JCS_CMYK);
  if (f.kind == Kind::CmykPlain) c.write_Adobe_marker = FALSE;
  jpeg_set_quality(&c, f.quality, TRUE);
  if (f.kind != Kind::Gray) {
    c.comp_info[0].h_samp_factor = f.hSamp;
    c.comp_info[0].v_samp_factor = f.vSamp;
    for (int i = 1; i < c.num_components; ++i) c.comp_info[i].h_samp_factor = c.comp_info[i].v_samp_factor = 1;
    if (cmyk) {
      c.comp_info[3].h_samp_factor = f.hSamp;  // black at full resolution, like luminance
      c.comp_info[3].v_samp_factor = f.vSamp;
    }
  }
  c.arith_code = f.arithmetic ? TRUE : FALSE;
  c.restart_in_rows = f.restartRows;
  if (f.progressive) jpeg_simple_progression(&c);
  jpeg_scan_info scans[MAX_COMPONENTS];
  if (f.scanPerComponent) {
    for (int i = 0; i < c.num_components; ++i) scans[i] = jpeg_scan_info{1, {i, 0, 0, 0}, 0, 63, 0, 0};
    c.scan_info = scans;
    c.num_scans = c.num_components;
  }
  jpeg_start_compress(&c, TRUE);
  std::vector<uint8_t> row(static_cast<size_t>(w) * 4);
  while (c.next_scanline < c.image_height) {
    const int y = static_cast<int>(c.next_scanline);
    for (int x = 0; x < w; ++x) {
      const Rgb p = pattern(x, y, w, h, smooth);
      uint8_t* px = &row[static_cast<size_t>(x) * static_cast<size_t>(c.input_components)];
      if (f.kind == Kind::Gray) {
        px[0] = static_cast<uint8_t>((p.r + p.g + p.b) / 3);
      } else if (cmyk) {
        cmykFor(p, x, px);
        if (f.kind != Kind::CmykPlain)  // Adobe files hold the inverted amounts
          for (int i = 0; i < 4; ++i) px[i] = static_cast<uint8_t>(255 - px[i]);
      } else {
        px[0] = static_cast<uint8_t>(p.r);
        px[1] = static_cast<uint8_t>(p.g);
        px[2] = static_cast<uint8_t>(p.b);
      }
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&c, rows, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  Bytes out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

const Format kFormats[] = {
    {"baseline 4:2:0", Kind::Rgb, 2, 2},
    {"baseline 4:2:2", Kind::Rgb, 2, 1},
    {"baseline 4:4:0", Kind::Rgb, 1, 2},
    {"baseline 4:4:4", Kind::Rgb, 1, 1},
    {"baseline 4:1:1", Kind::Rgb, 4, 1},
    {"baseline 4:2:0 restarts", Kind::Rgb, 2, 2, false, false, 1},
    {"grayscale", Kind::Gray, 1, 1},
    {"progressive 4:2:0", Kind::Rgb, 2, 2, true},
    {"progressive 4:2:2", Kind::Rgb, 2, 1, true},
    {"progressive grayscale", Kind::Gray, 1, 1, true},
    {"arithmetic 4:2:0", Kind::Rgb, 2, 2, false, true},
    {"arithmetic progressive 4:4:4", Kind::Rgb, 1, 1, true, true},
    {"CMYK Adobe", Kind::CmykAdobe, 1, 1},
    {"CMYK without Adobe marker", Kind::CmykPlain, 1, 1},
    {"YCCK 4:2:0", Kind::Ycck, 2, 2},
    {"YCCK progressive", Kind::Ycck, 1, 1, true},
    {"sequential, a scan per component", Kind::Rgb, 2, 2, false, false, 0, 85, true},
};

constexpr int kW = 67;
constexpr int kH = 43;

void expectSameAsWhole(const PixelBuffer& whole, const PixelBuffer& part, int x, int y, const std::string& what = "") {
  for (int row = 0; row < part.height; ++row) {
    const uint8_t* a = whole.row(y + row) + static_cast<size_t>(x) * 4;
    const uint8_t* b = part.row(row);
    for (int col = 0; col < part.width; ++col) {
      if (std::memcmp(a + col * 4, b + col * 4, 4) != 0) {
        ADD_FAILURE() << what << ": first difference at (" << x + col << ", " << y + row << ")";
        return;
      }
    }
  }
}

// The first n bytes of a file, as a cut-off copy holds them.
Bytes cutAt(const Bytes& jpeg, size_t n) { return Bytes(jpeg.begin(), jpeg.begin() + static_cast<std::ptrdiff_t>(n)); }

// Offsets of the file's SOS markers, one per scan.
std::vector<size_t> scanStarts(const Bytes& jpeg) {
  std::vector<size_t> starts;
  for (size_t i = 0; i + 1 < jpeg.size(); ++i)
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xDA) starts.push_back(i);
  return starts;
}

// The file with its last scan (a refinement, in a progressive file) repeated `times` more.
Bytes withLastScanRepeated(const Bytes& jpeg, int times) {
  const std::vector<size_t> starts = scanStarts(jpeg);
  if (starts.empty()) throw std::logic_error("no scan");
  const Bytes scan(jpeg.begin() + static_cast<std::ptrdiff_t>(starts.back()), jpeg.end() - 2);
  Bytes out(jpeg.begin(), jpeg.end() - 2);
  for (int i = 0; i < times; ++i) out.insert(out.end(), scan.begin(), scan.end());
  out.insert(out.end(), {0xFF, 0xD9});
  return out;
}

// The code of the JpegError that `run` throws, or -1 when it throws none.
template <class F>
int errorCodeOf(F run) {
  try {
    run();
  } catch (const JpegError& e) {
    return e.code();
  }
  return -1;
}

// A region of `picture` against the same pixels of its whole decode.
void expectRegionMatches(const JpegPicture& picture, const PixelBuffer& whole, const Rect& r) {
  const PixelBuffer part = picture.decodeRegion(r.x, r.y, r.w, r.h);
  ASSERT_EQ(part.width, r.w);
  ASSERT_EQ(part.height, r.h);
  expectSameAsWhole(whole, part, r.x, r.y);
}

TEST(JpegPicture, HeaderGivesTheSizeAndRegionsMatchTheWholeDecode) {
  for (const auto& [W, H] : {std::pair{kW, kH}, std::pair{37, 150}}) {
    const Rect regions[] = {
        {0, 0, W, H},         {1, 1, 5, 3},          {16, 16, 17, 9},   {15, 15, 18, 11},
        {8, 7, 1, 1},         {32, 32, 4, 8},        {33, 20, 4, 23},   {W - 1, 0, 1, H},
        {0, H - 1, W, 1},     {W - 3, H - 2, 3, 2},  {31, 0, 2, H},     {0, 17, W, 5},
        {17, 0, W - 17, H},   {0, 0, 1, 1},          {20, 9, W - 20, H - 9},
        {3, H / 2 + 1, 30, H / 2 - 1},
    };
    for (const auto& f : kFormats) {
      const JpegPicture picture(encode(f, W, H));
      ASSERT_EQ(picture.width(), W) << f.name;
      ASSERT_EQ(picture.height(), H) << f.name;
      const PixelBuffer whole = picture.decodeAll();
      ASSERT_EQ(whole.bgrx.size(), static_cast<size_t>(W) * H * 4);
      for (const auto& r : regions) {
        SCOPED_TRACE(::testing::Message() << f.name << " " << W << "x" << H << " region " << r.x << "," << r.y << " "
                                          << r.w << "x" << r.h);
        expectRegionMatches(picture, whole, r);
      }
    }
  }
}

TEST(JpegPicture, RegionsOfIncompleteProgressivePicturesMatchTheWholeDecode) {
  // With coefficients missing, the library smooths blocks from their neighbours' DC values, two blocks to
  // each side, and treats the left end of a cropped row as the picture's edge.
  const Format formats[] = {kFormats[7], kFormats[8], {"progressive 4:1:1", Kind::Rgb, 4, 1, true}};
  constexpr int W = 300, H = 40;
  for (const auto& f : formats) {
    const Bytes good = encode(f, W, H);
    const std::vector<size_t> scans = scanStarts(good);
    ASSERT_GE(scans.size(), 7u) << f.name;
    for (const size_t k : {2, 5}) {
      const size_t cut = (scans[k] + scans[k + 1]) / 2;  // within scan k's data
      const JpegPicture picture(cutAt(good, cut));
      PixelBuffer whole;
      ASSERT_NO_THROW(whole = picture.decodeAll()) << f.name << " cut in scan " << k;
      const Rect regions[] = {{70, 0, 9, H}, {97, 13, 40, 11}, {150, 5, 1, 1}, {231, 20, W - 231, 20}, {66, 0, 170, H}};
      for (const auto& r : regions) {
        SCOPED_TRACE(::testing::Message() << f.name << " cut in scan " << k << " region at " << r.x << "," << r.y);
        expectRegionMatches(picture, whole, r);
      }
    }
  }
}

TEST(JpegPicture, LaterRegionsOfAProgressivePictureDoNotReadItsScansAgain) {
  // Every scan of a progressive file covers the whole picture, so a region needs all of them; once read, they
  // serve every later region, which then costs its own few blocks instead of the whole file again.
  const Format f = kFormats[7];
  constexpr int W = 2400, H = 1600;
  JpegPicture picture(encode(f, W, H));
  const PixelBuffer whole = picture.decodeAll();
  const struct {
    int x, y;
  } places[] = {{1200, 800}, {0, 0}, {W - 64, H - 64}, {1000, 100}};
  double firstMs = 0;
  for (const auto& at : places) {
    const std::clock_t start = std::clock();  // processor time, which a loaded machine does not stretch
    const PixelBuffer part = picture.decodeRegion(at.x, at.y, 64, 64);
    const double spent = static_cast<double>(std::clock() - start) * 1000 / CLOCKS_PER_SEC;
    expectSameAsWhole(whole, part, at.x, at.y, "region at " + std::to_string(at.x) + "," + std::to_string(at.y));
    if (firstMs == 0) {
      firstMs = spent;
      continue;
    }
    EXPECT_LT(spent * 8, firstMs) << "region at " << at.x << "," << at.y << " took " << spent << " ms against "
                                  << firstMs << " ms for the first";
  }
  picture.releaseKeptScans();
  expectSameAsWhole(whole, picture.decodeRegion(300, 1500, 90, 100), 300, 1500, "after giving up the kept scans");
}

TEST(JpegPicture, RegionsFromSeveralThreadsAtOnceMatchTheWholeDecode) {
  for (const auto& f : {kFormats[7], kFormats[0]}) {
    const JpegPicture picture(encode(f, 300, 200));
    const PixelBuffer whole = picture.decodeAll();
    std::vector<std::thread> threads;
    std::vector<PixelBuffer> parts(4);
    for (int t = 0; t < 4; ++t)
      threads.emplace_back([&, t] {
        for (int round = 0; round < 10; ++round) parts[t] = picture.decodeRegion(t * 60 + round, t * 30, 70, 50);
      });
    for (auto& t : threads) t.join();
    for (int t = 0; t < 4; ++t) expectSameAsWhole(whole, parts[t], t * 60 + 9, t * 30, f.name);
  }
}

TEST(JpegPicture, RegionsAreClippedToThePicture) {
  const JpegPicture picture(encode(kFormats[0], kW, kH));
  const PixelBuffer whole = picture.decodeAll();
  const struct {
    int x, y, w, h;
    int cx, cy, cw, ch;
  } cases[] = {
      {-5, -7, 10, 10, 0, 0, 5, 3},
      {kW - 2, kH - 3, 10, 10, kW - 2, kH - 3, 2, 3},
      {-100, -100, 1000, 1000, 0, 0, kW, kH},
      {10, 10, INT32_MAX, INT32_MAX, 10, 10, kW - 10, kH - 10},
  };
  for (const auto& c : cases) {
    const PixelBuffer part = picture.decodeRegion(c.x, c.y, c.w, c.h);
    ASSERT_EQ(part.width, c.cw);
    ASSERT_EQ(part.height, c.ch);
    expectSameAsWhole(whole, part, c.cx, c.cy, "clipped");
  }
  for (const auto& empty : {picture.decodeRegion(kW, 0, 5, 5), picture.decodeRegion(0, kH, 5, 5),
                            picture.decodeRegion(-5, 0, 5, 5), picture.decodeRegion(3, 3, 0, 4),
                            picture.decodeRegion(3, 3, -4, 4), picture.decodeRegion(INT32_MIN, INT32_MIN, 2, 2)}) {
    EXPECT_EQ(empty.width, 0);
    EXPECT_EQ(empty.height, 0);
    EXPECT_TRUE(empty.bgrx.empty());
  }
}

TEST(JpegPicture, ColoursComeOutAsBgrWithZeroFourthByte) {
  const Format formats[] = {
      {"RGB 4:4:4", Kind::Rgb, 1, 1, false, false, 0, 100},
      {"gray", Kind::Gray, 1, 1, false, false, 0, 100},
      {"CMYK Adobe", Kind::CmykAdobe, 1, 1, false, false, 0, 100},
      {"CMYK plain", Kind::CmykPlain, 1, 1, false, false, 0, 100},
      {"YCCK", Kind::Ycck, 1, 1, false, false, 0, 100},
  };
  for (const auto& f : formats) {
    const PixelBuffer px = JpegPicture(encode(f, kW, kH, true)).decodeAll();
    int worst = 0;
    for (int y = 0; y < kH; ++y) {
      for (int x = 0; x < kW; ++x) {
        const Rgb p = pattern(x, y, kW, kH, true);
        int r = p.r, g = p.g, b = p.b;
        if (f.kind == Kind::Gray) {
          r = g = b = (p.r + p.g + p.b) / 3;
        } else if (f.kind != Kind::Rgb) {
          uint8_t ink[4];
          cmykFor(p, x, ink);
          r = (255 - ink[0]) * (255 - ink[3]) / 255;
          g = (255 - ink[1]) * (255 - ink[3]) / 255;
          b = (255 - ink[2]) * (255 - ink[3]) / 255;
        }
        const uint8_t* q = px.row(y) + x * 4;
        worst = std::max({worst, std::abs(q[0] - b), std::abs(q[1] - g), std::abs(q[2] - r)});
        ASSERT_EQ(q[3], 0) << f.name;
      }
    }
    EXPECT_LE(worst, 6) << f.name;
  }
}

// The file with the size in its SOF marker changed to w x h.
Bytes withSize(Bytes jpeg, int w, int h) {
  for (size_t i = 2; i + 3 < jpeg.size();) {
    const uint8_t m = jpeg[i + 1];
    if (m == 0xC0 || m == 0xC1 || m == 0xC2 || m == 0xC9 || m == 0xCA) {
      jpeg.at(i + 5) = static_cast<uint8_t>(h >> 8);
      jpeg.at(i + 6) = static_cast<uint8_t>(h);
      jpeg.at(i + 7) = static_cast<uint8_t>(w >> 8);
      jpeg.at(i + 8) = static_cast<uint8_t>(w);
      return jpeg;
    }
    i += 2 + (static_cast<size_t>(jpeg[i + 2]) << 8 | jpeg[i + 3]);
  }
  throw std::logic_error("no SOF marker");
}

TEST(JpegPicture, UnreadableHeadersThrowWithTheLibraryCode) {
  const auto codeOf = [](const Bytes& bytes) { return errorCodeOf([&] { const JpegPicture picture(bytes); }); };
  EXPECT_EQ(codeOf({}), JERR_INPUT_EMPTY);
  EXPECT_EQ(codeOf({'B', 'M', 0x36, 0, 0, 0}), JERR_NO_SOI);
  EXPECT_EQ(codeOf({0xFF}), JERR_NO_SOI);
  const std::string gif = "GIF89a\x01\x00\x01\x00";
  EXPECT_EQ(codeOf(Bytes(gif.begin(), gif.end())), JERR_NO_SOI);
  EXPECT_EQ(codeOf({0xFF, 0xD8, 0xFF, 0xD9}), JERR_NO_IMAGE);

  const Bytes good = encode(kFormats[0], kW, kH);
  EXPECT_EQ(codeOf(withSize(good, kW, 0)), JERR_EMPTY_IMAGE);

  // Every cut before the first scan fails; none crashes.
  const size_t firstScan = scanStarts(good).at(0);
  for (size_t n = 0; n < firstScan; ++n) EXPECT_NE(codeOf(cutAt(good, n)), -1) << "cut at " << n;
}

TEST(JpegPicture, PicturesBeyondTheSizeLimitAreRefusedAtLoad) {
  const Bytes good = encode(kFormats[0], kW, kH);
  const struct {
    int w, h;
  } refused[] = {{32768, 8}, {8, 40000}, {65535, 65535}, {20000, 20000}};
  for (const auto& s : refused)
    EXPECT_EQ(errorCodeOf([&] { const JpegPicture picture(withSize(good, s.w, s.h)); }), JERR_IMAGE_TOO_BIG)
        << s.w << "x" << s.h;
  const JpegPicture wide(withSize(good, 32767, 2));
  EXPECT_EQ(wide.width(), 32767);
  EXPECT_EQ(wide.height(), 2);
}

// A baseline file cut short (progressive ones are cut in RegionsOfIncompleteProgressivePicturesMatchTheWholeDecode).
TEST(JpegPicture, TruncatedDataDecodesWhatIsThere) {
  const Bytes good = encode(kFormats[0], kW, kH);
  const JpegPicture picture(cutAt(good, good.size() * 2 / 3));
  PixelBuffer px;
  ASSERT_NO_THROW(px = picture.decodeAll());
  EXPECT_EQ(px.width, kW);
  EXPECT_EQ(px.height, kH);
  ASSERT_NO_THROW(picture.decodeRegion(20, 30, 30, 13));
  // Cut anywhere in the first scan's header or right after it: a picture or an error, never a crash.
  const size_t firstScan = scanStarts(good).at(0);  // its header is 14 bytes for three components
  for (size_t n = firstScan; n <= firstScan + 14 + 2; ++n) {
    try {
      const PixelBuffer cut = JpegPicture(cutAt(good, n)).decodeAll();
      EXPECT_EQ(cut.bgrx.size(), static_cast<size_t>(kW) * kH * 4);
    } catch (const JpegError&) {
    }
  }
}

TEST(JpegPicture, EndlessScansAreCutOff) {
  const Bytes jpeg = encode(kFormats[7], 16, 16);
  // The last scan repeated until the file has far more scans than any real one.
  const JpegPicture bomb(withLastScanRepeated(jpeg, 1100));
  EXPECT_EQ(errorCodeOf([&] { bomb.decodeAll(); }), JERR_BAD_PROGRESSION) << "1100 extra scans";
  // A few repeated scans are still fine.
  EXPECT_NO_THROW(JpegPicture(withLastScanRepeated(jpeg, 20)).decodeAll());
}

TEST(JpegPicture, LargePicturesAllowFewerScans) {
  // Each scan is a pass over the whole picture, data or not: 300 scans are fine for a small picture, but a
  // 10-kilobyte file claiming 8192 x 8192 pixels must not be able to ask for 300 passes over 67 million pixels.
  const Bytes many = withLastScanRepeated(encode(kFormats[9], 16, 16), 300);
  EXPECT_NO_THROW(JpegPicture(many).decodeRegion(0, 0, 8, 8));
  const JpegPicture large(withSize(many, 8192, 8192));
  ASSERT_EQ(large.width(), 8192);
  EXPECT_EQ(errorCodeOf([&] { large.decodeRegion(0, 0, 8, 8); }), JERR_BAD_PROGRESSION)
      << "300 scans of 8192 x 8192 pixels";
}

TEST(JpegPicture, DamagedBytesNeverCrash) {
  std::mt19937 random(20240601);
  int failures = 0;
  for (const auto& f : {kFormats[0], kFormats[7], kFormats[10], kFormats[14]}) {
    const Bytes good = encode(f, 40, 24);
    for (int round = 0; round < 150; ++round) {
      Bytes bad = good;
      const int flips = 1 + static_cast<int>(random() % 4);
      for (int i = 0; i < flips; ++i) bad[random() % bad.size()] = static_cast<uint8_t>(random());
      try {
        const JpegPicture picture(bad);
        if (static_cast<int64_t>(picture.width()) * picture.height() <= 1'000'000) picture.decodeAll();
        picture.decodeRegion(5, 5, 9, 9);
      } catch (const JpegError&) {
        ++failures;
      }
    }
  }
  EXPECT_GT(failures, 0);
}

TEST(JpegError, MessageNamesTheCode) {
  EXPECT_STREQ(JpegError(42).what(), "JPEG error #42");
}

}  // namespace
}  // namespace lumivex::core
