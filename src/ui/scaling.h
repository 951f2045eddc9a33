// Display scaling: windows are laid out in 96-dpi design pixels and drawn in the pixels of the screen they are on.
#pragma once
#include <windows.h>

namespace lumivex::ui {

inline constexpr int kDesignDpi = 96;

// Design pixels to device pixels at `dpi`, rounded down: the two edges of a box are scaled on their own, so boxes that
// touch at design scale still touch, and nothing at all changes at 96 dpi.
inline int toPixels(int design, int dpi) {
  const long long scaled = static_cast<long long>(design) * dpi;
  return static_cast<int>(scaled >= 0 ? scaled / kDesignDpi : -((-scaled + kDesignDpi - 1) / kDesignDpi));
}

// Device pixels back to design pixels: the smallest design value whose pixels reach `pixels`, so that
// toDesign(toPixels(v)) is v again at any dpi of 96 or more.
inline int toDesign(int pixels, int dpi) {
  const long long scaled = static_cast<long long>(pixels) * kDesignDpi;
  return static_cast<int>(scaled >= 0 ? (scaled + dpi - 1) / dpi : -(-scaled / dpi));
}

// The dpi the program's windows start at: the screen's, as the system reports it to a dpi-aware program.
int systemDpi();
// The dpi of the monitor `window` is on, where the system tells it per window; the system dpi otherwise.
int windowDpi(HWND window);

}  // namespace lumivex::ui
