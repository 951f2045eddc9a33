// Decoded picture pixels: top-down rows of 4-byte B, G, R, X pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lumivex::core {

// Rows run top to bottom; each pixel is B, G, R, X (X = 0); the stride is width * 4 bytes.
struct PixelBuffer {
  int width = 0, height = 0;
  std::vector<uint8_t> bgrx;

  uint8_t* row(int y) { return bgrx.data() + static_cast<size_t>(y) * static_cast<size_t>(width) * 4; }
  const uint8_t* row(int y) const {
    return bgrx.data() + static_cast<size_t>(y) * static_cast<size_t>(width) * 4;
  }
};

}  // namespace lumivex::core
