// Fuzz harness for the PNG decoder: the header, then the whole picture for pictures of a sensible size, and the
// per-pixel alpha arithmetic on what came out.
#include <cstddef>
#include <cstdint>
#include <new>

#include "core/alpha_pixels.h"
#include "core/picture_limits.h"
#include "core/png_decoder.h"
#include "fuzz_check.h"

using namespace lumivex::core;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  PngSize header{};
  try {
    header = readPngSize(data, size);
  } catch (const PngError&) {
    try {
      decodePng(data, size);
    } catch (const PngError&) {
      return 0;
    }
    FUZZ_CHECK(!"decoded a picture whose header was refused");
  }
  FUZZ_CHECK(pictureSizeAcceptable(header.width, header.height));
  if (static_cast<uint64_t>(header.width) * static_cast<uint64_t>(header.height) > kMaxDecodedPixels) return 0;

  PngImage image;
  try {
    image = decodePng(data, size);
  } catch (const PngError&) {
    return 0;
  }
  FUZZ_CHECK(image.width == header.width && image.height == header.height);
  FUZZ_CHECK(image.bgra.size() == static_cast<size_t>(image.width) * static_cast<size_t>(image.height) * 4);

  const bool transparent = image.hasTransparency();
  const PremultipliedPixels p = premultiplied(std::move(image));
  bool anyBelowOpaque = false;
  for (size_t i = 0; i < p.bgra.size(); i += 4) {
    FUZZ_CHECK(p.bgra[i] <= p.bgra[i + 3] && p.bgra[i + 1] <= p.bgra[i + 3] && p.bgra[i + 2] <= p.bgra[i + 3]);
    anyBelowOpaque |= p.bgra[i + 3] != 255;
  }
  FUZZ_CHECK(anyBelowOpaque == transparent);
  return 0;
}
