// Reader for Windows bitmap (BMP) files: header inspection and full decoding to B, G, R, X pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>

#include "core/pixels.h"

namespace lumivex::core {

// Any file that is not a bitmap this reader can decode safely: malformed, truncated, too large or unsupported.
class BmpError : public std::runtime_error {
 public:
  using runtime_error::runtime_error;
};

struct BmpInfo {
  int width;
  int height;
};

// Validates the headers, the palette and (for uncompressed data) that the file holds every pixel row.
BmpInfo readBmpInfo(const uint8_t* data, size_t size);

// Decodes the whole picture. Pixels that run-length data leaves unwritten take the colour of palette entry 0;
// pixel values with no palette entry behind them are black.
PixelBuffer readBmp(const uint8_t* data, size_t size);

}  // namespace lumivex::core
