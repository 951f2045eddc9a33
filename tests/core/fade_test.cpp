// The fade curve: levels over time in both directions, the ends, and the alpha that shows a level.
#include "core/fade.h"

#include <gtest/gtest.h>

#include <vector>

namespace lumivex::core {
namespace {

std::vector<int32_t> levelsAt(const Fade& f, std::initializer_list<uint64_t> times) {
  std::vector<int32_t> levels;
  for (uint64_t t : times) levels.push_back(f.level(t));
  return levels;
}

TEST(Fade, RisesAndFallsEvenlyOverItsDurationAndStaysAtItsEnd) {
  const Fade in{kFadeTransparent, kFadeFull, 500, 1000};
  EXPECT_EQ(levelsAt(in, {999, 1000, 1100, 1250, 1400, 1499, 1500, 9000}),
            (std::vector<int32_t>{0, 0, 51, 128, 204, 254, 255, 255}));
  EXPECT_FALSE(in.finished(1499));
  EXPECT_TRUE(in.finished(1500));

  const Fade out{kFadeFull, kFadeTransparent, 500, 1000};
  EXPECT_EQ(levelsAt(out, {1000, 1100, 1250, 1400, 1500}), (std::vector<int32_t>{255, 204, 128, 51, 0}));

  // A fade out that begins during a fade in falls from where the fade in had come to, over its full duration.
  const Fade partial{100, kFadeTransparent, 200, 0};
  EXPECT_EQ(levelsAt(partial, {0, 100, 200}), (std::vector<int32_t>{100, 50, 0}));
}

TEST(Fade, ANoLengthFadeIsAtItsEndAtOnceAndALongOneDoesNotOverflow) {
  for (int32_t duration : {0, -5}) {
    const Fade f{kFadeTransparent, kFadeFull, duration, 1000};
    EXPECT_TRUE(f.finished(0));
    EXPECT_EQ(f.level(0), kFadeFull);
  }
  const Fade longest{kFadeFull, kFadeTransparent, 5000, UINT64_C(0xFFFFFFFF00000000)};
  EXPECT_EQ(longest.level(longest.startMs + 2500), 128);
}

TEST(AlphaAtLevel, ScalesTheTranslucencyAlphaAndHoldsItsInputsInRange) {
  EXPECT_EQ(alphaAtLevel(255, kFadeFull), 255);
  EXPECT_EQ(alphaAtLevel(134, kFadeFull), 134) << "50 % translucency at the end of a fade in";
  EXPECT_EQ(alphaAtLevel(134, 128), 67);
  EXPECT_EQ(alphaAtLevel(134, kFadeTransparent), 0);
  EXPECT_EQ(alphaAtLevel(300, 300), 255);
  EXPECT_EQ(alphaAtLevel(-1, 128), 0);
  int32_t previous = 0;
  for (int32_t level = 0; level <= kFadeFull; ++level) {
    const int32_t a = alphaAtLevel(134, level);
    EXPECT_GE(a, previous) << level;
    previous = a;
  }
}

}  // namespace
}  // namespace lumivex::core
