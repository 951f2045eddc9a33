// Where windows go on the monitors: the splash window, the dialogs and the logo position frame.
#pragma once
#include <cstdint>
#include <vector>

namespace lumivex::core {

// A rectangle in virtual-screen pixels: right and bottom lie just outside it.
struct Rect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  int32_t width() const { return right - left; }
  int32_t height() const { return bottom - top; }
  bool empty() const { return right <= left || bottom <= top; }
  bool operator==(const Rect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

struct Point {
  int32_t x = 0, y = 0;
  bool operator==(const Point& o) const { return x == o.x && y == o.y; }
};

struct Monitor {
  Rect area;      // the whole monitor
  Rect workArea;  // without the taskbar and other docked bars
  bool primary = false;
};

using Monitors = std::vector<Monitor>;

// The primary monitor: the one marked so, else the first. `monitors` must not be empty.
const Monitor& primaryMonitor(const Monitors& monitors);

// The top-left corner that centres a `width` x `height` window on the primary monitor's whole area (taskbar or
// not), truncating as the one-monitor desktop always has: extent div 2 - window div 2.
Point centredOnPrimary(int32_t width, int32_t height, const Monitors& monitors);

// The top-left corner of a dialog centred on the primary monitor's whole area, (extent - window) div 2 as dialogs
// have always been centred, then moved the least distance that puts it within that monitor's work area (its
// top-left corner on the work area when it is larger).
Point centredDialog(int32_t width, int32_t height, const Monitors& monitors);

// A window the user put at `window`: kept where it is when any pixel of it lies on some monitor (half off an edge
// may be meant), else moved the least distance that puts it wholly on the nearest monitor (its top-left corner on
// that monitor when it is larger).
Point keptOnSomeMonitor(const Rect& window, const Monitors& monitors);

// The splash window's top-left corner: centred on the primary monitor, or the stored place kept on some monitor.
Point splashOrigin(int32_t width, int32_t height, const Monitors& monitors, bool centred, Point stored);

// A dialog at `window`, moved the least distance that puts it wholly within the work area of its monitor (the
// one it overlaps most, else the nearest); when it is larger than that work area its top-left corner is kept on it.
Point withinWorkArea(const Rect& window, const Monitors& monitors);

// The smallest rectangle holding every part of `window` that lies on some monitor; empty when none does.
Rect shownPart(const Rect& window, const Monitors& monitors);

}  // namespace lumivex::core
