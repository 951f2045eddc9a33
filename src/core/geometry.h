// Splash window arithmetic: translucency, centring on the desktop, font size.
#pragma once

#include <cstdint>
#include <limits>

namespace lumivex::core {

// Opacity for a translucency slider position: (position * 255) div (maximum -
// minimum), truncated toward zero and clamped to 8..255. Computed in 64 bits so
// that no position overflows; an empty range counts as fully opaque.
constexpr int32_t alphaForPosition(int32_t position, int32_t minimum, int32_t maximum) {
  constexpr int64_t kLowest = 8;
  constexpr int64_t kOpaque = 255;
  const int64_t range = int64_t{maximum} - int64_t{minimum};
  if (range == 0) return static_cast<int32_t>(kOpaque);
  int64_t alpha = int64_t{position} * 255 / range;
  if (alpha < kLowest) alpha = kLowest;
  if (alpha > kOpaque) alpha = kOpaque;
  return static_cast<int32_t>(alpha);
}

// Top or left edge that centres a window on the desktop: desktop div 2 -
// window div 2, truncating toward zero; negative when the window is larger.
constexpr int32_t centredOrigin(int32_t desktopExtent, int32_t windowExtent) {
  return desktopExtent / 2 - windowExtent / 2;
}

// Pixel height of a font of the given point size: points * ppi / 72, rounded
// half away from zero, held within the 32-bit range.
constexpr int32_t pointsToPixels(int32_t points, int32_t pixelsPerInch) {
  const int64_t product = int64_t{points} * int64_t{pixelsPerInch};
  const int64_t pixels = product >= 0 ? (product + 36) / 72 : -((-product + 36) / 72);
  if (pixels > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (pixels < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(pixels);
}

}  // namespace lumivex::core
