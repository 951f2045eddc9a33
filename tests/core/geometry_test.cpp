// Tests of the splash window arithmetic.
#include "core/geometry.h"

#include <gtest/gtest.h>

namespace lumivex::core {
namespace {

TEST(AlphaForPosition, SliderRangeFiveToHundred) {
  const struct {
    int32_t position;
    int32_t alpha;
  } cases[] = {
      {5, 13}, {10, 26}, {20, 53}, {50, 134}, {75, 201}, {90, 241},
      {94, 252}, {95, 255}, {96, 255}, {100, 255},
  };
  for (const auto& c : cases) EXPECT_EQ(alphaForPosition(c.position, 5, 100), c.alpha) << c.position;
}

TEST(AlphaForPosition, ClampsAndGuardsDegenerateRanges) {
  EXPECT_EQ(alphaForPosition(0, 5, 100), 8);
  EXPECT_EQ(alphaForPosition(2, 5, 100), 8);
  EXPECT_EQ(alphaForPosition(-50, 5, 100), 8);
  EXPECT_EQ(alphaForPosition(50, 7, 7), 255);  // empty range
  EXPECT_EQ(alphaForPosition(INT32_MAX, 0, 1), 255);  // would overflow in 32 bits
  EXPECT_EQ(alphaForPosition(INT32_MAX, INT32_MIN, INT32_MAX), 127);  // 64-bit divisor
  EXPECT_EQ(alphaForPosition(100, INT32_MAX, INT32_MIN), 8);  // reversed range
}

TEST(CentredOrigin, TruncatesEachHalfTowardZero) {
  // 300 x 200 and 2000 x 1000 on a 1024 x 768 desktop.
  EXPECT_EQ(centredOrigin(768, 200), 284);
  EXPECT_EQ(centredOrigin(1024, 300), 362);
  EXPECT_EQ(centredOrigin(768, 1000), -116);
  EXPECT_EQ(centredOrigin(1024, 2000), -488);
  // Two 1920-wide monitors: the window's centre on the seam.
  EXPECT_EQ(centredOrigin(3840, 400), 1720);
  // Each half is truncated on its own: 1023/2 - 301/2 = 511 - 150.
  EXPECT_EQ(centredOrigin(1023, 301), 361);
  EXPECT_EQ(centredOrigin(1025, 1025), 0);
  EXPECT_EQ(centredOrigin(-5, 3), -3);  // -2 - 1
  EXPECT_EQ(centredOrigin(5, -3), 3);   // 2 - (-1)
  EXPECT_EQ(centredOrigin(INT32_MIN, INT32_MAX), INT32_MIN / 2 - INT32_MAX / 2);
}

TEST(PointsToPixels, RoundsHalfAwayFromZero) {
  const struct {
    int32_t points, ppi, pixels;
  } cases[] = {
      {12, 96, 16}, {9, 96, 12}, {64, 96, 85},  // 85.33
      {1, 96, 1},                               // 1.33
      {1, 108, 2},                              // 1.5 rounds up
      {-1, 108, -2},                            // -1.5 rounds away from zero
      {12, 120, 20}, {12, 144, 24}, {10, 96, 13}, {0, 96, 0},
      {INT32_MAX, INT32_MAX, INT32_MAX},
      {INT32_MIN, INT32_MAX, INT32_MIN},
  };
  for (const auto& c : cases) EXPECT_EQ(pointsToPixels(c.points, c.ppi), c.pixels) << c.points << "pt @" << c.ppi;
}

}  // namespace
}  // namespace lumivex::core
