// Tests of the per-pixel alpha arithmetic: premultiplying, the splash window's layer, and translucency on top.
#include "core/alpha_pixels.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

namespace lumivex::core {
namespace {

using Pixel = std::array<int, 4>;  // B, G, R, A

Pixel at(const std::vector<uint8_t>& surface, int width, int x, int y) {
  const size_t i = (static_cast<size_t>(y) * width + x) * 4;
  return {surface[i], surface[i + 1], surface[i + 2], surface[i + 3]};
}

PngImage image(int w, int h, std::vector<uint8_t> bgra) { return PngImage{w, h, std::move(bgra)}; }

TEST(AlphaPixels, PremultiplyingRoundsToNearestAndKeepsOpaqueAndClearPixels) {
  const auto p = premultiplied(image(4, 1, {200, 100, 255, 255, /**/ 200, 100, 255, 0, /**/ 200, 100, 255, 128,
                                            /**/ 1, 2, 3, 1}));
  EXPECT_EQ(p.bgra, (std::vector<uint8_t>{200, 100, 255, 255, 0, 0, 0, 0, 100, 50, 128, 128, 0, 0, 0, 1}));
  // Every colour stays within its alpha, so the window system never sees an invalid premultiplied pixel.
  std::vector<uint8_t> all;
  for (int a = 0; a < 256; ++a)
    for (int c = 0; c < 256; c += 5) all.insert(all.end(), {uint8_t(c), uint8_t(255 - c), 255, uint8_t(a)});
  const auto q = premultiplied(image(static_cast<int>(all.size() / 4), 1, all));
  for (size_t i = 0; i < q.bgra.size(); i += 4) {
    const double a = all[i + 3];
    for (int k = 0; k < 3; ++k) {
      EXPECT_LE(q.bgra[i + k], q.bgra[i + 3]);
      EXPECT_LE(std::abs(q.bgra[i + k] - all[i + k] * a / 255.0), 0.5);
    }
  }
}

TEST(AlphaPixels, ResizingAveragesCoveredPixelsAndKeepsClearPixelsClear) {
  // A 4 x 4 picture: an opaque red 2 x 2 square at the top left, the rest clear.
  PremultipliedPixels p{4, 4, std::vector<uint8_t>(64, 0)};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x) p.bgra[(y * 4 + x) * 4 + 2] = p.bgra[(y * 4 + x) * 4 + 3] = 255;
  const auto half = resized(p, 2, 2);
  EXPECT_EQ(at(half.bgra, 2, 0, 0), (Pixel{0, 0, 255, 255}));
  EXPECT_EQ(at(half.bgra, 2, 1, 1), (Pixel{0, 0, 0, 0})) << "a clear part stays clear, not black";
  const auto three = resized(p, 3, 3);
  EXPECT_EQ(at(three.bgra, 3, 1, 0), (Pixel{0, 0, 128, 128})) << "an edge pixel covers half of the square";
  EXPECT_EQ(at(three.bgra, 3, 1, 1), (Pixel{0, 0, 64, 64}));
  EXPECT_EQ(at(three.bgra, 3, 2, 2), (Pixel{0, 0, 0, 0}));
  EXPECT_EQ(resized(p, 4, 4).bgra, p.bgra) << "the same size is an exact copy";
  EXPECT_EQ(at(resized(p, 8, 8).bgra, 8, 3, 3), (Pixel{0, 0, 255, 255}));
  EXPECT_EQ(resized(p, 0, 4).bgra.size(), 0u);
}

TEST(AlphaPixels, AnOpaqueCopyClearsTheFourthByteForTheUsualDrawing) {
  const PixelBuffer px = withoutAlpha(image(2, 1, {1, 2, 3, 255, 4, 5, 6, 255}));
  EXPECT_EQ(px.bgrx, (std::vector<uint8_t>{1, 2, 3, 0, 4, 5, 6, 0}));
  EXPECT_EQ(px.width, 2);
}

// A 10 x 8 window with a 1-pixel frame, showing a 10 x 8 picture: clear on the left half, opaque red on the right
// half, half-transparent green in row 1.
struct LayerFixture : ::testing::Test {
  static constexpr uint32_t kBlue = 0x00FF0000;  // 0x00BBGGRR
  PremultipliedPixels picture;
  SplashLayer layer{10, 8, 1, kBlue, 1, 1};  // the picture's top-left corner at (1, 1)
  std::vector<uint8_t> out = std::vector<uint8_t>(10 * 8 * 4, 0xEE);

  void SetUp() override {
    std::vector<uint8_t> bgra;
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 10; ++x) {
        if (y == 1) bgra.insert(bgra.end(), {0, 255, 0, 128});
        else if (x < 5) bgra.insert(bgra.end(), {9, 9, 9, 0});
        else bgra.insert(bgra.end(), {0, 0, 255, 255});
      }
    picture = premultiplied(image(10, 8, bgra));
  }
  Pixel px(int x, int y) const { return at(out, 10, x, y); }
};

TEST_F(LayerFixture, TheFrameIsOpaqueInTheWindowColourAndThePictureKeepsItsAlphaInside) {
  composeSplashLayer(layer, picture, out.data());
  for (int y = 0; y < 8; ++y)  // the frame, and nothing inside it, in the window colour
    for (int x = 0; x < 10; ++x)
      EXPECT_EQ(px(x, y) == (Pixel{255, 0, 0, 255}), x == 0 || x == 9 || y == 0 || y == 7) << x << "," << y;
  // Picture (0, 0) lies at (1, 1), inside the frame; its right and bottom edges are cut by it.
  EXPECT_EQ(px(1, 1), (Pixel{0, 0, 0, 0}));       // clear: the desktop shows through
  EXPECT_EQ(px(6, 1), (Pixel{0, 0, 255, 255}));   // opaque red
  EXPECT_EQ(px(3, 2), (Pixel{0, 128, 0, 128}));   // picture row 1, half-transparent, left as it is
  EXPECT_EQ(px(4, 4), (Pixel{0, 0, 0, 0}));
}

// The message label: text blends by its coverage over whatever lies below, so between the letters of a label without
// background the picture (or the desktop through it) shows; a label with background is opaque.
TEST_F(LayerFixture, MessageTextBlendsByCoverageAndALabelBackgroundIsOpaque) {
  composeSplashLayer(layer, picture, out.data());
  // Coverage of a 4 x 2 strip at (2, 5): full, none, half, full / none x 4 (white text on black, B, G, R, X).
  const std::vector<uint8_t> mask{255, 255, 255, 0, 0, 0, 0, 0, 128, 128, 128, 0, 255, 255, 255, 0,
                                  0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  const uint32_t white = 0x00FFFFFF;
  blendText(out.data(), 10, 8, PixelRect{2, 5, 6, 7}, mask.data(), white);
  EXPECT_EQ(px(2, 5), (Pixel{255, 255, 255, 255}));  // full coverage over a clear pixel: opaque text
  EXPECT_EQ(px(3, 5), (Pixel{0, 0, 0, 0}));          // between letters: still clear
  EXPECT_EQ(px(4, 5), (Pixel{128, 128, 128, 128}));  // an antialiased edge over clear: half-transparent white
  EXPECT_EQ(px(5, 5), (Pixel{255, 255, 255, 255}));
  EXPECT_EQ(px(2, 6), (Pixel{0, 0, 0, 0}));

  composeSplashLayer(layer, picture, out.data());
  fillOpaque(out.data(), 10, 8, PixelRect{1, 5, 9, 7}, 0x0000FF00);
  blendText(out.data(), 10, 8, PixelRect{2, 5, 6, 7}, mask.data(), white);
  EXPECT_EQ(px(3, 5), (Pixel{0, 255, 0, 255}));      // the label's background, opaque
  EXPECT_EQ(px(4, 5), (Pixel{128, 255, 128, 255}));  // the edge blends over it
  EXPECT_EQ(px(6, 6), (Pixel{0, 255, 0, 255}));
  EXPECT_EQ(px(1, 4)[3], 0) << "above the strip the picture is untouched";
  // A strip beyond the surface is clipped, and its coverage rows are still read at their own stride.
  fillOpaque(out.data(), 10, 8, PixelRect{-3, 7, 40, 12}, 0x000000FF);
  EXPECT_EQ(px(0, 7), (Pixel{0, 0, 255, 255}));
  blendText(out.data(), 10, 8, PixelRect{8, 6, 12, 8}, mask.data(), 0);
  EXPECT_EQ(px(8, 6), (Pixel{0, 0, 0, 255}));
  EXPECT_EQ(px(9, 6), (Pixel{255, 0, 0, 255})) << "no coverage: the frame stays";
  EXPECT_EQ(px(8, 7), (Pixel{0, 0, 255, 255}));
}

TEST_F(LayerFixture, ClientAreaThePictureLeavesIsFilledOpaque) {
  layer.pictureY = -4;  // scrolled: picture rows 4..7 at window rows 0..3, nothing below
  composeSplashLayer(layer, picture, out.data());
  EXPECT_EQ(px(2, 1)[3], 0);                      // picture (1, 5): clear
  EXPECT_EQ(px(2, 4), (Pixel{255, 0, 0, 255}));   // below the picture
  EXPECT_EQ(px(2, 6), (Pixel{255, 0, 0, 255}));
}

TEST_F(LayerFixture, TranslucencyScalesEveryPixelAndKeepsClearPixelsClear) {
  composeSplashLayer(layer, picture, out.data());
  std::vector<uint8_t> scaled = out;
  applyOpacity(scaled.data(), 80, 128);
  EXPECT_EQ(at(scaled, 10, 0, 0), (Pixel{128, 0, 0, 128}));  // the frame, as translucent as before
  EXPECT_EQ(at(scaled, 10, 1, 1), (Pixel{0, 0, 0, 0}));      // clear stays clear: still click-through
  EXPECT_EQ(at(scaled, 10, 3, 2), (Pixel{0, 64, 0, 64}));    // the picture's own alpha times the window's
  std::vector<uint8_t> same = out;
  applyOpacity(same.data(), 80, 255);
  EXPECT_EQ(same, out);
}

}  // namespace
}  // namespace lumivex::core
