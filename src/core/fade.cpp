// The splash window's fades: the level at a moment and the alpha that shows it.
#include "core/fade.h"

#include <algorithm>

namespace lumivex::core {

bool Fade::finished(uint64_t nowMs) const {
  return durationMs <= 0 || (nowMs >= startMs && nowMs - startMs >= static_cast<uint64_t>(durationMs));
}

int32_t Fade::level(uint64_t nowMs) const {
  if (finished(nowMs)) return to;
  if (nowMs <= startMs) return from;
  const int64_t elapsed = static_cast<int64_t>(nowMs - startMs);  // below durationMs here
  const int64_t exact = int64_t{from} * durationMs + (int64_t{to} - int64_t{from}) * elapsed;  // level * duration
  // Rounded to the nearest, halves up.
  return static_cast<int32_t>((exact + durationMs / 2) / durationMs);
}

int32_t alphaAtLevel(int32_t alpha, int32_t level) {
  alpha = std::clamp(alpha, 0, 255);
  level = std::clamp(level, kFadeTransparent, kFadeFull);
  return (alpha * level + kFadeFull / 2) / kFadeFull;
}

}  // namespace lumivex::core
