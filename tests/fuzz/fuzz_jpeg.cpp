// Fuzz harness for the JPEG decoder: header at load, whole decoding, and regions checked against the whole.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

#include "core/jpeg_decoder.h"
#include "core/picture_limits.h"
#include "fuzz_check.h"

using namespace lumivex::core;

namespace {

// One iteration must stay cheap even for a progressive file with a thousand scans: pictures up to 1 MP are
// decoded whole and in regions, up to kMaxDecodedPixels (4 MP) in one region, larger ones only loaded.
constexpr uint64_t kMaxFullyCheckedPixels = 1u << 20;

struct Rect {
  int x, y, w, h;
};

uint64_t fnv1a(const uint8_t* data, size_t size) {
  uint64_t h = 1469598103934665603ull;
  for (size_t i = 0; i < size; ++i) h = (h ^ data[i]) * 1099511628211ull;
  return h;
}

// Decodes r and checks its size against the clipping rule and its pixels against the whole picture.
void checkRegion(const JpegPicture& picture, const Rect& r, const std::optional<PixelBuffer>& whole) {
  const int64_t left = r.x < 0 ? 0 : r.x;
  const int64_t top = r.y < 0 ? 0 : r.y;
  const int64_t right = int64_t{r.x} + r.w < picture.width() ? int64_t{r.x} + r.w : picture.width();
  const int64_t bottom = int64_t{r.y} + r.h < picture.height() ? int64_t{r.y} + r.h : picture.height();
  const bool empty = right <= left || bottom <= top;
  PixelBuffer part;
  try {
    part = picture.decodeRegion(r.x, r.y, r.w, r.h);
  } catch (const JpegError&) {
    // A region never needs more of the file than the whole picture does.
    FUZZ_CHECK(!empty && !whole);
    return;
  }
  if (empty) {
    FUZZ_CHECK(part.width == 0 && part.height == 0 && part.bgrx.empty());
    return;
  }
  const int w = static_cast<int>(right - left), h = static_cast<int>(bottom - top);
  checkPixels(part, w, h);
  if (!whole) return;
  for (int row = 0; row < h; ++row)
    FUZZ_CHECK(std::memcmp(part.row(row), whole->row(static_cast<int>(top) + row) + left * 4,
                           static_cast<size_t>(w) * 4) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::optional<JpegPicture> picture;
  try {
    picture.emplace(std::vector<uint8_t>(data, data + size));
  } catch (const JpegError&) {
    return 0;
  }
  const int w = picture->width(), h = picture->height();
  FUZZ_CHECK(pictureSizeAcceptable(w, h));

  // Regions that clip to nothing must come back empty without decoding anything.
  checkRegion(*picture, {w, 0, 5, 5}, std::nullopt);
  checkRegion(*picture, {0, h, 5, 5}, std::nullopt);
  checkRegion(*picture, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, std::nullopt);
  checkRegion(*picture, {-5, -5, 5, 100}, std::nullopt);
  checkRegion(*picture, {3, 3, 0, -1}, std::nullopt);

  const uint64_t pixels = static_cast<uint64_t>(w) * static_cast<uint64_t>(h);
  if (pixels > kMaxDecodedPixels) return 0;

  const uint64_t seed = fnv1a(data, size);
  const auto pick = [&](int shift, int range) { return static_cast<int>((seed >> shift) % static_cast<unsigned>(range)); };
  const Rect derived{pick(0, w + 8) - 8, pick(16, h + 8) - 8, pick(32, w + 16) + 1, pick(48, h + 16) + 1};
  if (pixels > kMaxFullyCheckedPixels) {
    checkRegion(*picture, derived, std::nullopt);
    return 0;
  }

  std::optional<PixelBuffer> whole;
  try {
    whole = picture->decodeAll();
    checkPixels(*whole, w, h);
  } catch (const JpegError&) {
  }
  checkRegion(*picture, derived, whole);
  checkRegion(*picture, {w - 1, h - 1, 1, 1}, whole);
  checkRegion(*picture, {w / 2 - 3, -7, 9, h / 3 + 8}, whole);
  return 0;
}
