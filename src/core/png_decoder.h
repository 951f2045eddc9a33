// PNG pictures: every colour type and bit depth decoded whole to 8-bit B, G, R, A, within the picture limits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace lumivex::core {

// A decoding failure: the PNG library's error number, the kind of fault a user can tell apart, and what() the reason
// in the library's words ("IDAT stream too short", ...).
class PngError : public std::runtime_error {
 public:
  enum class Kind { Damaged, NotPng, BadChecksum, Truncated, TooLarge, Unsupported };
  PngError(int code, Kind kind, const char* reason) : std::runtime_error(reason), code_(code), kind_(kind) {}
  int code() const { return code_; }
  Kind kind() const { return kind_; }

 private:
  int code_;
  Kind kind_;
};

// Top-down rows of B, G, R, A with straight (not premultiplied) alpha; the stride is width * 4 bytes.
// 16-bit samples keep their high byte; a gamma chunk is ignored, as browsers do for untagged pictures.
struct PngImage {
  int width = 0, height = 0;
  std::vector<uint8_t> bgra;

  // Whether any pixel is less than fully opaque (an alpha channel or tRNS that a pixel actually uses).
  bool hasTransparency() const;
};

// Picture size of the file's header, checked against the picture limits. Throws PngError.
struct PngSize {
  int width, height;
};
PngSize readPngSize(const uint8_t* data, size_t size);

// Decodes the whole picture. Throws PngError for a damaged file, a picture beyond the limits, or metadata that
// would inflate beyond kMaxPngChunkBytes (so a small file cannot grow without bound); std::bad_alloc when the
// memory for a picture within the limits is not there.
PngImage decodePng(const uint8_t* data, size_t size);

// The most a single ancillary chunk (text, colour profile) may hold once inflated, and all of them together.
inline constexpr size_t kMaxPngChunkBytes = size_t{8} << 20;
inline constexpr size_t kMaxPngChunkCache = size_t{32} << 20;

}  // namespace lumivex::core
