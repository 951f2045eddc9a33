// Fuzz harness for the bitmap reader: header inspection, then full decoding of pictures of a sensible size.
#include <cstddef>
#include <cstdint>

#include "core/bmp_reader.h"
#include "core/picture_limits.h"
#include "fuzz_check.h"

using namespace lumivex::core;

namespace {

uint32_t u32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

// Whether a file whose headers passed holds run-length data, the only kind checked while decoding.
bool runLengthEncoded(const uint8_t* data, size_t size) {
  if (size < 34 || u32(data + 14) == 12) return false;
  const uint32_t compression = u32(data + 30);
  return compression == 1 || compression == 2;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  BmpInfo info{};
  bool headerOk = true;
  try {
    info = readBmpInfo(data, size);
    FUZZ_CHECK(pictureSizeAcceptable(info.width, info.height));
  } catch (const BmpError&) {
    headerOk = false;
  }
  if (headerOk && static_cast<uint64_t>(info.width) * static_cast<uint64_t>(info.height) > kMaxDecodedPixels) return 0;

  try {
    const PixelBuffer px = readBmp(data, size);
    FUZZ_CHECK(headerOk);
    checkPixels(px, info.width, info.height);
  } catch (const BmpError&) {
    FUZZ_CHECK(!headerOk || runLengthEncoded(data, size));
  }
  return 0;
}
