// JPEG pictures: header read at load, pixels decoded on demand, whole or by region.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "core/pixels.h"

namespace lumivex::core {

// A decoding failure, carrying the JPEG library's message code.
class JpegError : public std::runtime_error {
 public:
  explicit JpegError(int code);
  int code() const { return code_; }

 private:
  int code_;
};

class JpegPicture {
 public:
  // Keeps the file's bytes and reads the header, so the size is known at once.
  // Throws JpegError on a bad header or a picture larger than the program accepts.
  explicit JpegPicture(std::vector<uint8_t> fileBytes);

  int width() const { return width_; }
  int height() const { return height_; }

  // Decodes [x, x+w) x [y, y+h), clipped to the picture, into a buffer of the
  // clipped size (empty when nothing is left). Damaged entropy data is decoded
  // as far as it goes, the rest filled as the library does; anything else that
  // stops the decoder throws JpegError.
  PixelBuffer decodeRegion(int x, int y, int w, int h) const;
  PixelBuffer decodeAll() const;

 private:
  std::vector<uint8_t> bytes_;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace lumivex::core
