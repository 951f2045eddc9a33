// PNG pictures: every colour type and bit depth decoded whole to 8-bit B, G, R, A, within the picture limits.
//
// libspng expands palettes, grey and tRNS to RGBA and reduces 16-bit samples in one call; what is left here is the
// limits, the channel order and the error text.
#include "core/png_decoder.h"

#include <memory>
#include <new>
#include <utility>

#include <spng.h>

#include "core/picture_limits.h"

namespace lumivex::core {
namespace {

struct ContextDeleter {
  void operator()(spng_ctx* c) const { spng_ctx_free(c); }
};
using Context = std::unique_ptr<spng_ctx, ContextDeleter>;

PngError::Kind kindOf(int code) {
  switch (code) {
    case SPNG_ESIGNATURE: return PngError::Kind::NotPng;
    case SPNG_ECHUNK_CRC: return PngError::Kind::BadChecksum;
    case SPNG_IO_EOF: case SPNG_EOF: case SPNG_EIDAT_TOO_SHORT: return PngError::Kind::Truncated;
    case SPNG_EUSER_WIDTH: case SPNG_EUSER_HEIGHT: case SPNG_ECHUNK_LIMITS: case SPNG_EOVERFLOW:
      return PngError::Kind::TooLarge;
    case SPNG_EBIT_DEPTH: case SPNG_ECOLOR_TYPE: case SPNG_ECOMPRESSION_METHOD: case SPNG_EFILTER_METHOD:
    case SPNG_EINTERLACE_METHOD: case SPNG_ECHUNK_UNKNOWN_CRITICAL:
      return PngError::Kind::Unsupported;
    default: return PngError::Kind::Damaged;
  }
}

[[noreturn]] void fail(int code) {
  if (code == SPNG_EMEM) throw std::bad_alloc();
  throw PngError(code, kindOf(code), spng_strerror(code));
}

void check(int code) {
  if (code != 0) fail(code);
}

// A context over the file's bytes with the limits set and the header read and checked.
Context open(const uint8_t* data, size_t size, spng_ihdr& header) {
  Context ctx(spng_ctx_new(0));
  if (!ctx) throw std::bad_alloc();
  check(spng_set_image_limits(ctx.get(), kMaxPictureSide, kMaxPictureSide));
  check(spng_set_chunk_limits(ctx.get(), kMaxPngChunkBytes, kMaxPngChunkCache));
  if (size == 0) fail(SPNG_IO_EOF);  // the library calls an empty buffer an invalid argument
  check(spng_set_png_buffer(ctx.get(), data, size));
  check(spng_get_ihdr(ctx.get(), &header));
  // Within the library's side limit but over the program's pixel count: the library's number for a side too long.
  if (!pictureSizeAcceptable(header.width, header.height))
    throw PngError(SPNG_EUSER_WIDTH, PngError::Kind::TooLarge, "image too large");
  return ctx;
}

}  // namespace

bool PngImage::hasTransparency() const {
  for (size_t i = 3; i < bgra.size(); i += 4)
    if (bgra[i] != 255) return true;
  return false;
}

PngSize readPngSize(const uint8_t* data, size_t size) {
  spng_ihdr header{};
  open(data, size, header);
  return PngSize{static_cast<int>(header.width), static_cast<int>(header.height)};
}

PngImage decodePng(const uint8_t* data, size_t size) {
  spng_ihdr header{};
  const Context ctx = open(data, size, header);
  size_t bytes = 0;
  check(spng_decoded_image_size(ctx.get(), SPNG_FMT_RGBA8, &bytes));

  PngImage image;
  image.width = static_cast<int>(header.width);
  image.height = static_cast<int>(header.height);
  image.bgra.resize(bytes);
  check(spng_decode_image(ctx.get(), image.bgra.data(), bytes, SPNG_FMT_RGBA8, SPNG_DECODE_TRNS));
  for (size_t i = 0; i < bytes; i += 4) std::swap(image.bgra[i], image.bgra[i + 2]);
  return image;
}

}  // namespace lumivex::core
