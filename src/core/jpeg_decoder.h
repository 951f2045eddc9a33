// JPEG pictures: header read at load, pixels decoded on demand, whole or by region.
#pragma once

#include <cstdint>
#include <memory>
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
  ~JpegPicture();
  JpegPicture(JpegPicture&&) noexcept;
  JpegPicture& operator=(JpegPicture&&) noexcept;

  int width() const { return width_; }
  int height() const { return height_; }

  // Decodes [x, x+w) x [y, y+h), clipped to the picture, into a buffer of the
  // clipped size (empty when nothing is left). Damaged entropy data is decoded
  // as far as it goes, the rest filled as the library does; anything else that
  // stops the decoder throws JpegError.
  //
  // A file whose scans each cover the whole picture (progressive ones) has every scan read before any row comes
  // out. Its first region therefore reads them all and keeps the decoder with their coefficients; later regions
  // only transform their own blocks. A sequential file is read from its top to the region each time, which keeps
  // nothing. Safe to call from several threads.
  PixelBuffer decodeRegion(int x, int y, int w, int h) const;
  // One pass over the whole file that keeps nothing.
  PixelBuffer decodeAll() const;

  // Gives up the coefficients kept for later regions (the next region reads the scans again).
  void releaseKeptScans();

 private:
  struct Kept;

  std::vector<uint8_t> bytes_;
  int width_ = 0;
  int height_ = 0;
  std::unique_ptr<Kept> kept_;  // only for files of several scans
};

}  // namespace lumivex::core
