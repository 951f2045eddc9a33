// The splash window's fades: how far a fade in or out has come at a moment, and the alpha that shows it.
#pragma once

#include <cstdint>

namespace lumivex::core {

// A fade's level runs from 0 (fully transparent) to 255 (the window's full alpha, its translucency setting).
inline constexpr int32_t kFadeTransparent = 0;
inline constexpr int32_t kFadeFull = 255;

// A fade from one level to another over `durationMs`, started at `startMs` on a millisecond clock.
struct Fade {
  int32_t from = kFadeFull;
  int32_t to = kFadeFull;
  int32_t durationMs = 0;
  uint64_t startMs = 0;

  // The level at `nowMs` (both ends within 0..255), moving evenly from `from` to `to`, rounded to the nearest:
  // `from` at the start (and before it, should the clock be read early), `to` from the end on, and at once for a
  // duration of 0 or less.
  int32_t level(uint64_t nowMs) const;
  bool finished(uint64_t nowMs) const;
};

// The alpha that shows `alpha` (0..255) at `level`: alpha * level / 255, rounded to the nearest; both are held
// within 0..255 first.
int32_t alphaAtLevel(int32_t alpha, int32_t level);

}  // namespace lumivex::core
