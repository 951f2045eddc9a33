// Invariant checks for the fuzz harnesses: a broken invariant aborts, which libFuzzer reports as a crash.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "core/pixels.h"

#define FUZZ_CHECK(cond)                                                                  \
  do {                                                                                    \
    if (!(cond)) {                                                                        \
      std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #cond); \
      std::abort();                                                                       \
    }                                                                                     \
  } while (0)

// Larger pictures are only inspected, so that one iteration stays cheap.
inline constexpr uint64_t kMaxDecodedPixels = 4u << 20;

// A decoded picture holds exactly w x h pixels, each with a zero fourth byte.
inline void checkPixels(const lumivex::core::PixelBuffer& px, int w, int h) {
  FUZZ_CHECK(px.width == w && px.height == h);
  FUZZ_CHECK(px.bgrx.size() == static_cast<size_t>(w) * static_cast<size_t>(h) * 4);
  for (size_t i = 3; i < px.bgrx.size(); i += 4) FUZZ_CHECK(px.bgrx[i] == 0);
}
