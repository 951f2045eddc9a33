// Where windows go on the monitors: one rule for every window that is centred or kept on screen.
#include "core/placement.h"

#include <algorithm>

#include "core/geometry.h"

namespace lumivex::core {
namespace {

Rect intersection(const Rect& a, const Rect& b) {
  const Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
               std::min(a.bottom, b.bottom)};
  return r.empty() ? Rect{} : r;
}

int64_t area(const Rect& r) { return r.empty() ? 0 : int64_t{r.width()} * int64_t{r.height()}; }

// Squared distance between two rectangles: 0 when they overlap or touch.
int64_t squaredGap(const Rect& a, const Rect& b) {
  const int64_t dx = std::max<int64_t>({0, int64_t{b.left} - a.right, int64_t{a.left} - b.right});
  const int64_t dy = std::max<int64_t>({0, int64_t{b.top} - a.bottom, int64_t{a.top} - b.bottom});
  return dx * dx + dy * dy;
}

const Monitor& nearestMonitor(const Rect& window, const Monitors& monitors, Rect Monitor::*which) {
  const Monitor* best = &monitors.front();
  for (const Monitor& m : monitors)
    if (squaredGap(window, m.*which) < squaredGap(window, best->*which)) best = &m;
  return *best;
}

// The origin on one axis that puts [origin, origin + extent) within [lo, hi), or lo when it is larger.
int32_t within(int32_t origin, int32_t extent, int32_t lo, int32_t hi) {
  if (int64_t{extent} >= int64_t{hi} - lo) return lo;
  return static_cast<int32_t>(std::clamp<int64_t>(origin, lo, int64_t{hi} - extent));
}

Point movedInto(const Rect& window, const Rect& bounds) {
  return {within(window.left, window.width(), bounds.left, bounds.right),
          within(window.top, window.height(), bounds.top, bounds.bottom)};
}

}  // namespace

const Monitor& primaryMonitor(const Monitors& monitors) {
  const auto it = std::find_if(monitors.begin(), monitors.end(), [](const Monitor& m) { return m.primary; });
  return it != monitors.end() ? *it : monitors.front();
}

Point centredOnPrimary(int32_t width, int32_t height, const Monitors& monitors) {
  const Rect& p = primaryMonitor(monitors).area;
  return {p.left + centredOrigin(p.width(), width), p.top + centredOrigin(p.height(), height)};
}

Point centredDialog(int32_t width, int32_t height, const Monitors& monitors) {
  const Monitor& primary = primaryMonitor(monitors);
  const Rect& p = primary.area;
  const int32_t left = p.left + (p.width() - width) / 2, top = p.top + (p.height() - height) / 2;
  return movedInto(Rect{left, top, left + width, top + height}, primary.workArea);
}

Point keptOnSomeMonitor(const Rect& window, const Monitors& monitors) {
  for (const Monitor& m : monitors)
    if (!intersection(window, m.area).empty()) return {window.left, window.top};
  return movedInto(window, nearestMonitor(window, monitors, &Monitor::area).area);
}

Point splashOrigin(int32_t width, int32_t height, const Monitors& monitors, bool centred, Point stored) {
  if (centred) return centredOnPrimary(width, height, monitors);
  // A stored place far beyond any screen is brought within reach first, so no edge overflows.
  constexpr int32_t kFar = 1 << 28;
  const int32_t x = std::clamp(stored.x, -kFar, kFar), y = std::clamp(stored.y, -kFar, kFar);
  const int32_t w = std::clamp(width, 0, kFar), h = std::clamp(height, 0, kFar);
  const Point kept = keptOnSomeMonitor(Rect{x, y, x + w, y + h}, monitors);
  return kept == Point{x, y} ? stored : kept;
}

Point withinWorkArea(const Rect& window, const Monitors& monitors) {
  const Monitor* home = nullptr;
  int64_t most = 0;
  for (const Monitor& m : monitors)
    if (const int64_t a = area(intersection(window, m.area)); a > most) {
      most = a;
      home = &m;
    }
  if (!home) home = &nearestMonitor(window, monitors, &Monitor::area);
  return movedInto(window, home->workArea);
}

Rect shownPart(const Rect& window, const Monitors& monitors) {
  Rect shown{};
  for (const Monitor& m : monitors) {
    const Rect part = intersection(window, m.area);
    if (part.empty()) continue;
    shown = shown.empty() ? part
                          : Rect{std::min(shown.left, part.left), std::min(shown.top, part.top),
                                 std::max(shown.right, part.right), std::max(shown.bottom, part.bottom)};
  }
  return shown;
}

}  // namespace lumivex::core
