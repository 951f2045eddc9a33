// Tests of the PNG decoder: every kind of PngSuite picture against libpng's decode, transparency, damaged and
// hostile files.
#include "core/png_decoder.h"

#include <gtest/gtest.h>
#include <png.h>

#include <csetjmp>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "core/error_text.h"
#include "png_test_support.h"

namespace lumivex::core {
namespace {

using testing::PngWriter;
using testing::readPngSuite;

std::vector<std::string> suiteFiles(bool damaged) {
  std::vector<std::string> names;
  for (const std::string& name : testing::filesIn(testing::testDataPath("pngsuite"), ".png"))
    if ((name[0] == 'x') == damaged) names.push_back(name);
  return names;
}

// The reference: libpng with every sample expanded to 8-bit R, G, B, A, tRNS applied and gamma ignored; stored B, G,
// R, A like the decoder's result. Empty when libpng refuses the file.
struct Reference {
  int width = 0, height = 0;
  std::vector<uint8_t> bgra;
};

Reference referenceDecode(const std::vector<uint8_t>& file) {
  struct Source {
    const std::vector<uint8_t>* bytes;
    size_t at;
  } source{&file, 0};
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  Reference ref;
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return Reference{};
  }
  png_set_read_fn(png, &source, [](png_structp p, png_bytep out, size_t n) {
    auto* s = static_cast<Source*>(png_get_io_ptr(p));
    if (s->at + n > s->bytes->size()) png_error(p, "end of data");
    std::memcpy(out, s->bytes->data() + s->at, n);
    s->at += n;
  });
  png_read_info(png, info);
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  png_set_bgr(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  ref.width = static_cast<int>(png_get_image_width(png, info));
  ref.height = static_cast<int>(png_get_image_height(png, info));
  ref.bgra.resize(static_cast<size_t>(ref.width) * ref.height * 4);
  std::vector<png_bytep> rows(static_cast<size_t>(ref.height));
  for (int y = 0; y < ref.height; ++y)
    rows[static_cast<size_t>(y)] = ref.bgra.data() + static_cast<size_t>(y) * ref.width * 4;
  png_read_image(png, rows.data());
  png_destroy_read_struct(&png, &info, nullptr);
  return ref;
}

class EveryKindOfPng : public ::testing::TestWithParam<std::string> {};

// All colour types, bit depths 1 to 16, palettes with tRNS, Adam7, odd sizes, filters, compression levels, gamma and
// ancillary chunks: every pixel as libpng decodes it.
TEST_P(EveryKindOfPng, DecodesEveryPixelAsLibpngDoes) {
  const std::vector<uint8_t> file = readPngSuite(GetParam());
  ASSERT_FALSE(file.empty());
  const Reference ref = referenceDecode(file);
  ASSERT_GT(ref.width, 0) << "libpng refused it";
  const PngImage image = decodePng(file.data(), file.size());
  ASSERT_EQ(image.width, ref.width);
  ASSERT_EQ(image.height, ref.height);
  EXPECT_TRUE(image.bgra == ref.bgra);
  const PngSize size = readPngSize(file.data(), file.size());
  EXPECT_EQ(size.width, ref.width);
  EXPECT_EQ(size.height, ref.height);
}

INSTANTIATE_TEST_SUITE_P(PngSuite, EveryKindOfPng, ::testing::ValuesIn(suiteFiles(false)),
                         [](const auto& info) { return info.param.substr(0, info.param.size() - 4); });

// PngSuite's damaged files: bad signatures, header checksums, colour types, bit depths, missing image data. Only
// xcsn0g01, whose image data is whole but whose last checksum is wrong, is shown: the pixels are all there.
TEST(PngDecoder, RefusesEveryDamagedSuiteFileWithAReason) {
  const auto names = suiteFiles(true);
  ASSERT_GE(names.size(), 10u);
  for (const std::string& name : names) {
    if (name == "xcsn0g01.png") continue;
    const std::vector<uint8_t> file = readPngSuite(name);
    try {
      decodePng(file.data(), file.size());
      ADD_FAILURE() << name << " decoded";
    } catch (const PngError& e) {
      EXPECT_GT(std::strlen(e.what()), 3u) << name;
    }
  }
}

TEST(PngDecoder, TellsWhetherAnyPixelIsTransparent) {
  auto transparent = [](const char* name) {
    const auto file = readPngSuite(name);
    return decodePng(file.data(), file.size()).hasTransparency();
  };
  EXPECT_TRUE(transparent("basn6a08.png"));   // RGBA
  EXPECT_TRUE(transparent("basn4a16.png"));   // grey with alpha, 16-bit
  EXPECT_TRUE(transparent("tbbn3p08.png"));   // palette with tRNS
  EXPECT_TRUE(transparent("tbrn2c08.png"));   // RGB with a tRNS colour
  EXPECT_TRUE(transparent("tbgn2c16.png"));   // 16-bit RGB with a tRNS colour
  EXPECT_FALSE(transparent("basn2c08.png"));  // RGB
  EXPECT_FALSE(transparent("basn3p08.png"));  // palette without tRNS
  EXPECT_FALSE(transparent("tp0n3p08.png"));  // palette with a tRNS that leaves every used entry opaque
  // An alpha channel that is 255 everywhere counts as none.
  const auto opaque =
      testing::rgbaPng(5, 3, [](int x, int y) { return uint32_t(x * 40) << 24 | uint32_t(y) << 16 | 0xFF; });
  EXPECT_FALSE(decodePng(opaque.data(), opaque.size()).hasTransparency());
}

TEST(PngDecoder, RefusesPicturesBeyondTheLimitsBeforeDecoding) {
  struct Case {
    uint32_t w, h;
  };
  for (const Case c : {Case{32768, 1}, Case{1, 32768}, Case{32767, 4097}, Case{0x7FFFFFFF, 0x7FFFFFFF}}) {
    // Only a header and a tiny image stream: a decoder that allocated first would ask for gigabytes.
    const auto file = PngWriter().header(c.w, c.h, 8, 6).chunk("IDAT", testing::deflated({0, 1, 2, 3, 4})).end();
    const std::clock_t start = std::clock();  // processor time, which a loaded machine does not stretch
    EXPECT_THROW(readPngSize(file.data(), file.size()), PngError) << c.w << "x" << c.h;
    EXPECT_THROW(decodePng(file.data(), file.size()), PngError) << c.w << "x" << c.h;
    EXPECT_LT(std::clock() - start, CLOCKS_PER_SEC);
  }
  const auto largest = PngWriter().header(32767, 4096, 1, 0).end();  // 2^27 - 4096 pixels: within the limits
  EXPECT_EQ(readPngSize(largest.data(), largest.size()).width, 32767);
}

// A 1 x 1 grey picture with a compressed comment of `letters` letters.
std::vector<uint8_t> withComment(size_t letters) {
  std::vector<uint8_t> text{'C', 'o', 'm', 'm', 'e', 'n', 't', 0, 0};
  const auto words = testing::deflated(std::vector<uint8_t>(letters, 'A'));
  text.insert(text.end(), words.begin(), words.end());
  return PngWriter().header(1, 1, 8, 0).chunk("zTXt", text).rows({{7}}).end();
}

// Metadata that inflates to 16 MiB from about 16 KiB of file: refused, instead of held in memory.
TEST(PngDecoder, RefusesMetadataThatInflatesBeyondItsBound) {
  const auto file = withComment(size_t{16} << 20);
  try {
    const PngImage image = decodePng(file.data(), file.size());
    ADD_FAILURE() << "decoded a " << image.width << "x" << image.height << " picture";
  } catch (const PngError& e) {
    EXPECT_STREQ(e.what(), "reached chunk/cache limits");
  }
  // The same text within the bound does not stop the picture.
  const auto fine = withComment(1000);
  EXPECT_EQ(decodePng(fine.data(), fine.size()).bgra, (std::vector<uint8_t>{7, 7, 7, 255}));
}

TEST(PngDecoder, RefusesFilesCutBeforeTheirImageDataEnds) {
  const auto file = readPngSuite("basi6a08.png");
  for (size_t cut : {size_t{0}, size_t{7}, size_t{8}, size_t{20}, size_t{33}, file.size() / 2, file.size() - 20}) {
    EXPECT_THROW(decodePng(file.data(), cut), PngError) << cut << " of " << file.size() << " bytes";
  }
  // Cut only after the image data, the picture is whole, and shown as browsers show it.
  const PngImage whole = decodePng(file.data(), file.size());
  EXPECT_EQ(decodePng(file.data(), file.size() - 12).bgra, whole.bgra);
  const auto noImage = PngWriter().header(4, 4, 8, 2).end();
  EXPECT_THROW(decodePng(noImage.data(), noImage.size()), PngError);
  const auto tooLittle = PngWriter().header(4, 4, 8, 0).rows({{1, 2, 3, 4}}).end();
  EXPECT_THROW(decodePng(tooLittle.data(), tooLittle.size()), PngError);
}

TEST(PngDecoder, AFailureKeepsTheLibrarysNumberAndGivesItsReasonInJapanese) {
  auto textOf = [](const std::vector<uint8_t>& file) {
    try {
      decodePng(file.data(), file.size());
    } catch (const PngError& e) {
      return pngErrorText(e);
    }
    return std::wstring(L"decoded");
  };
  const std::vector<uint8_t> good = testing::rgbaPng(2, 2, [](int, int) { return 0xff0000ffu; });
  std::vector<uint8_t> notPng = good, badChecksum = good;
  notPng[1] = 'X';
  badChecksum[29] ^= 1;  // the header chunk's checksum
  EXPECT_EQ(textOf(good), L"decoded");
  EXPECT_EQ(textOf({}), L"PNG エラー #-1: ファイルが途中で切れています");
  EXPECT_EQ(textOf(std::vector<uint8_t>(good.begin(), good.begin() + 40)), L"PNG エラー #-1: ファイルが途中で切れています");
  EXPECT_EQ(textOf(notPng), L"PNG エラー #4: PNG ファイルではありません");
  EXPECT_EQ(textOf(badChecksum), L"PNG エラー #18: チェックサムが一致しません");
  EXPECT_EQ(textOf(PngWriter().header(20000, 20000, 8, 6).end()), L"PNG エラー #7: 画像が大きすぎます");
  EXPECT_EQ(textOf(PngWriter().header(40000, 1, 8, 6).end()), L"PNG エラー #7: 画像が大きすぎます");
  EXPECT_EQ(textOf(PngWriter().header(2, 2, 7, 6).end()), L"PNG エラー #9: 対応していない形式です");
  EXPECT_NE(textOf(PngWriter().header(2, 2, 8, 6).chunk("IDAT", {1, 2, 3}).end()).find(L"データが壊れています"),
            std::wstring::npos);
}

}  // namespace
}  // namespace lumivex::core
