// Tests of where windows go on one monitor and on several.
#include "core/placement.h"

#include <gtest/gtest.h>

namespace lumivex::core {
namespace {

Monitor monitor(int32_t left, int32_t top, int32_t width, int32_t height, bool primary = false, int32_t taskbar = 0) {
  const Rect area{left, top, left + width, top + height};
  return {area, Rect{area.left, area.top, area.right, area.bottom - taskbar}, primary};
}

Rect at(Point p, int32_t width, int32_t height) { return {p.x, p.y, p.x + width, p.y + height}; }

const Monitors kOne{monitor(0, 0, 1024, 768, true, 40)};
const Monitors kSecondRight{monitor(0, 0, 1024, 768, true), monitor(1024, 0, 1024, 768)};
const Monitors kSecondLeft{monitor(-1024, 0, 1024, 768), monitor(0, 0, 1024, 768, true)};
const Monitors kStacked{monitor(0, 0, 1920, 1080, true), monitor(448, -768, 1024, 768)};

TEST(SplashOrigin, OneMonitorCentresAsTheDesktopAlwaysHasTaskbarOrNot) {
  EXPECT_EQ(splashOrigin(400, 300, kOne, true, {}), (Point{312, 234}));
  EXPECT_EQ(splashOrigin(481, 271, kOne, true, {}), (Point{512 - 240, 384 - 135}));
  EXPECT_EQ(splashOrigin(2000, 1000, kOne, true, {}), (Point{-488, -116}));  // larger: centred, overhanging
  EXPECT_EQ(splashOrigin(400, 300, kOne, true, {-5000, 7}), (Point{312, 234}));  // the stored place is ignored
  // A stored place is kept wherever some pixel is on screen, even half off an edge.
  EXPECT_EQ(splashOrigin(400, 300, kOne, false, {100, 100}), (Point{100, 100}));
  EXPECT_EQ(splashOrigin(400, 300, kOne, false, {-399, 767}), (Point{-399, 767}));
}

TEST(SplashOrigin, CentresOnThePrimaryMonitorWhereverTheOthersAre) {
  EXPECT_EQ(splashOrigin(400, 300, kSecondRight, true, {}), (Point{312, 234}));
  EXPECT_EQ(splashOrigin(400, 300, kSecondLeft, true, {}), (Point{312, 234}));
  EXPECT_EQ(splashOrigin(400, 300, kStacked, true, {}), (Point{760, 390}));
  const Monitors primaryNotAtOrigin{monitor(0, 0, 800, 600), monitor(800, 100, 1280, 1024, true)};
  EXPECT_EQ(splashOrigin(400, 300, primaryNotAtOrigin, true, {}), (Point{800 + 440, 100 + 362}));
  const Monitors noneMarked{monitor(-1280, 0, 1280, 1024), monitor(0, 0, 1024, 768)};
  EXPECT_EQ(splashOrigin(400, 300, noneMarked, true, {}), (Point{-1280 + 440, 362}));
}

TEST(SplashOrigin, StoredPlaceOnAnyMonitorIsKept) {
  EXPECT_EQ(splashOrigin(400, 300, kSecondRight, false, {1500, 200}), (Point{1500, 200}));
  EXPECT_EQ(splashOrigin(400, 300, kSecondLeft, false, {-900, 400}), (Point{-900, 400}));
  EXPECT_EQ(splashOrigin(400, 300, kSecondLeft, false, {-1300, -200}), (Point{-1300, -200}));  // one corner shows
  EXPECT_EQ(splashOrigin(400, 300, kStacked, false, {500, -700}), (Point{500, -700}));
  EXPECT_EQ(splashOrigin(400, 300, kSecondRight, false, {824, 234}), (Point{824, 234}));  // across the bezel
}

TEST(SplashOrigin, StoredPlaceOnAMonitorThatIsGoneMovesWhollyOntoTheNearest) {
  // Stored on the second monitor, which was on the right and is now unplugged.
  EXPECT_EQ(splashOrigin(400, 300, kOne, false, {1500, 200}), (Point{624, 200}));
  EXPECT_EQ(splashOrigin(400, 300, kOne, false, {-900, 400}), (Point{0, 400}));
  EXPECT_EQ(splashOrigin(400, 300, kOne, false, {1024, 768}), (Point{624, 468}));  // touching a corner is not on it
  EXPECT_EQ(splashOrigin(400, 300, kOne, false, {-400, -300}), (Point{0, 0}));
  // In a gap between monitors of different sizes: onto the nearer one.
  EXPECT_EQ(splashOrigin(400, 300, kStacked, false, {0, -500}), (Point{448, -500}));
  EXPECT_EQ(splashOrigin(400, 300, kStacked, false, {1600, -320}), (Point{1520, 0}));
  // Larger than the monitor: its top-left corner on it.
  EXPECT_EQ(splashOrigin(1200, 900, kOne, false, {3000, -3000}), (Point{0, 0}));
  // Values far beyond any screen do not overflow.
  EXPECT_EQ(splashOrigin(400, 300, kOne, false, {INT32_MAX, INT32_MIN}), (Point{624, 0}));
  EXPECT_EQ(splashOrigin(INT32_MAX, INT32_MAX, kOne, false, {INT32_MIN, 0}), (Point{0, 0}));
}

TEST(CentredDialog, CentresOnThePrimaryMonitorWithinItsWorkArea) {
  EXPECT_EQ(centredDialog(539, 390, kOne), (Point{242, 189}));  // (1024 - 539) div 2, unlike the splash's rounding
  EXPECT_EQ(centredDialog(539, 390, kSecondLeft), (Point{242, 189}));
  EXPECT_EQ(centredDialog(539, 390, kStacked), (Point{690, 345}));
  EXPECT_EQ(centredDialog(400, 740, kOne), (Point{312, 0}));  // above the taskbar, top-left kept on screen
  EXPECT_EQ(centredDialog(1070, 757, kSecondRight), (Point{0, 5}));  // 192 dpi on a small screen
}

TEST(WithinWorkArea, DialogsStayWhollyInTheWorkAreaOfTheirMonitor) {
  // Already inside: unchanged.
  EXPECT_EQ(withinWorkArea(at({312, 234}, 400, 300), kOne), (Point{312, 234}));
  // Over the taskbar, or off an edge: the least move.
  EXPECT_EQ(withinWorkArea(at({312, 600}, 400, 300), kOne), (Point{312, 428}));
  EXPECT_EQ(withinWorkArea(at({-50, -20}, 400, 300), kOne), (Point{0, 0}));
  // Larger than the work area: its top-left corner kept on it.
  EXPECT_EQ(withinWorkArea(at({-23, 5}, 1070, 757), kOne), (Point{0, 0}));
  EXPECT_EQ(withinWorkArea(at({100, 100}, 600, 900), kOne), (Point{100, 0}));
  // Several monitors: the one it overlaps most, else the nearest.
  EXPECT_EQ(withinWorkArea(at({1900, 100}, 400, 300), kSecondRight), (Point{1648, 100}));
  EXPECT_EQ(withinWorkArea(at({900, 100}, 400, 300), kSecondRight), (Point{1024, 100}));
  EXPECT_EQ(withinWorkArea(at({700, 100}, 400, 300), kSecondRight), (Point{624, 100}));
  EXPECT_EQ(withinWorkArea(at({-1100, 100}, 400, 300), kSecondLeft), (Point{-1024, 100}));
  EXPECT_EQ(withinWorkArea(at({5000, 5000}, 400, 300), kSecondLeft), (Point{624, 468}));
}

TEST(ShownPart, TheBoundsOfWhatLiesOnTheMonitors) {
  EXPECT_EQ(shownPart(at({-100, 700}, 400, 300), kOne), (Rect{0, 700, 300, 768}));
  EXPECT_EQ(shownPart(at({824, 234}, 400, 300), kSecondRight), (Rect{824, 234, 1224, 534}));
  EXPECT_TRUE(shownPart(at({1100, 0}, 400, 300), kOne).empty());
  EXPECT_EQ(shownPart(at({1300, -400}, 400, 300), kStacked), (Rect{1300, -400, 1472, -100}));  // the second's part
}

}  // namespace
}  // namespace lumivex::core
