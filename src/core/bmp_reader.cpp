// Windows bitmap (BMP) decoding: core, info and OS/2 headers; palettes, uncompressed, bit-field and RLE pixels.
#include "core/bmp_reader.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "core/picture_limits.h"

namespace lumivex::core {
namespace {

enum Compression : uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3, kAlphaBitfields = 6 };

constexpr size_t kFileHeaderSize = 14;

using Colour = std::array<uint8_t, 4>;  // B, G, R, 0

[[noreturn]] void fail(const char* what) { throw BmpError(what); }

uint16_t u16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t u32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}
int64_t s32(const uint8_t* p) {
  const uint32_t v = u32(p);
  return v < 0x80000000u ? int64_t{v} : int64_t{v} - (int64_t{1} << 32);
}

// One colour channel of a bit-field pixel. Its bits are cut to the top 8 and widened to 0..255 through a
// table, so a 5-bit 31 and a 1-bit 1 both become 255. An empty mask gives a channel that is always 0.
class Channel {
 public:
  explicit Channel(uint32_t mask = 0) : mask_(mask) {
    if (mask == 0) return;
    while (((mask >> shift_) & 1) == 0) ++shift_;
    const uint32_t field = mask >> shift_;
    if (field & (field + 1)) fail("bit-field mask is not contiguous");
    int bits = 0;
    while (bits < 32 && ((field >> bits) & 1)) ++bits;
    if (bits > 8) {
      shift_ += bits - 8;
      bits = 8;
    }
    const uint32_t max = (1u << bits) - 1;
    for (uint32_t v = 0; v <= max; ++v) scale_[v] = static_cast<uint8_t>((v * 255 + max / 2) / max);
  }
  uint8_t operator()(uint32_t pixel) const { return scale_[(pixel & mask_) >> shift_]; }

 private:
  uint32_t mask_;
  int shift_ = 0;
  std::array<uint8_t, 256> scale_{};
};

// Everything the headers say, checked for consistency with each other and with the file size.
struct Layout {
  int width = 0;
  int height = 0;
  bool topDown = false;
  int bpp = 0;
  uint32_t compression = kRgb;
  std::array<Channel, 3> channels;  // red, green, blue, for 16 and 32 bits per pixel
  std::array<Colour, 256> palette{};
  size_t pixelOffset = 0;
  uint64_t stride = 0;
};

bool knownHeaderSize(uint32_t size) {
  switch (size) {
    case 12:   // OS/2 1.x / Windows core header
    case 16:   // OS/2 2.x, shortest form
    case 40:   // info header
    case 52:   // with RGB masks
    case 56:   // with RGBA masks
    case 64:   // OS/2 2.x, full form
    case 108:  // V4
    case 124:  // V5
      return true;
    default:
      return false;
  }
}

Layout parseLayout(const uint8_t* data, size_t size) {
  if (size < kFileHeaderSize + 4) fail("file too short");
  if (data[0] != 'B' || data[1] != 'M') fail("not a bitmap file");
  const uint64_t pixelOffset = u32(data + 10);
  const uint32_t headerSize = u32(data + kFileHeaderSize);
  if (!knownHeaderSize(headerSize)) fail("unknown bitmap header size");
  if (size < kFileHeaderSize + headerSize) fail("file too short");
  const uint8_t* h = data + kFileHeaderSize;
  const bool core = headerSize == 12;
  const bool os2 = headerSize == 16 || headerSize == 64;

  Layout l;
  int64_t width, height;
  unsigned planes;
  uint32_t colorsUsed = 0;
  if (core) {
    width = u16(h + 4);
    height = u16(h + 6);
    planes = u16(h + 8);
    l.bpp = u16(h + 10);
  } else {
    width = s32(h + 4);
    height = s32(h + 8);
    planes = u16(h + 12);
    l.bpp = u16(h + 14);
    if (headerSize >= 20) l.compression = u32(h + 16);
    if (headerSize >= 36) colorsUsed = u32(h + 32);
  }
  if (planes != 1) fail("plane count is not 1");
  l.topDown = height < 0;
  if (l.topDown) height = -height;
  if (!pictureSizeAcceptable(width, height)) fail("picture size out of range");
  l.width = static_cast<int>(width);
  l.height = static_cast<int>(height);

  // OS/2 2.x reuses 3 and 4 for Huffman 1D and 24-bit RLE, which are not supported.
  if (os2 && l.compression != kRgb && l.compression != kRle8 && l.compression != kRle4)
    fail("unsupported OS/2 compression");
  size_t headersEnd = kFileHeaderSize + headerSize;
  switch (l.compression) {
    case kRgb:  // 2 bits per pixel comes from Windows CE
      if (l.bpp != 1 && l.bpp != 2 && l.bpp != 4 && l.bpp != 8 && l.bpp != 16 && l.bpp != 24 && l.bpp != 32)
        fail("unsupported bit count");
      break;
    case kRle8:
    case kRle4:
      if (l.bpp != (l.compression == kRle8 ? 8 : 4)) fail("RLE bit count mismatch");
      if (l.topDown) fail("RLE bitmap cannot be top-down");
      break;
    case kBitfields:
    case kAlphaBitfields: {
      if (l.bpp != 16 && l.bpp != 32) fail("bit fields need 16 or 32 bits per pixel");
      const uint8_t* m = h + 40;
      if (headerSize < 52) {  // the masks follow a 40-byte header
        headersEnd += l.compression == kBitfields ? 12 : 16;
        if (size < headersEnd) fail("file too short");
      }
      if (l.bpp == 16 && ((u32(m) | u32(m + 4) | u32(m + 8)) >> 16)) fail("mask wider than the pixel");
      l.channels = {Channel(u32(m)), Channel(u32(m + 4)), Channel(u32(m + 8))};
      break;
    }
    default:
      fail("unsupported compression");  // including embedded JPEG and PNG
  }
  if (l.compression == kRgb && l.bpp == 16) l.channels = {Channel(0x7C00), Channel(0x03E0), Channel(0x001F)};
  if (l.compression == kRgb && l.bpp == 32) l.channels = {Channel(0xFF0000), Channel(0xFF00), Channel(0xFF)};

  if (pixelOffset < headersEnd || pixelOffset >= size) fail("pixel data offset out of range");
  l.pixelOffset = static_cast<size_t>(pixelOffset);

  // A palette size given in the header must fit in the file; only the entries before the pixel data are used.
  const size_t entrySize = core ? 3 : 4;
  if (headersEnd + uint64_t{colorsUsed} * entrySize > size) fail("palette runs past the end of the file");
  if (l.bpp <= 8) {
    const uint64_t entries = std::min({uint64_t{colorsUsed ? colorsUsed : 256u}, uint64_t{1} << l.bpp,
                                       uint64_t{(pixelOffset - headersEnd) / entrySize}});
    if (entries == 0) fail("indexed bitmap without a palette");
    for (size_t i = 0; i < entries; ++i) {
      const uint8_t* e = data + headersEnd + i * entrySize;
      l.palette[i] = {e[0], e[1], e[2], 0};
    }
  }

  l.stride = (static_cast<uint64_t>(l.width) * l.bpp + 31) / 32 * 4;
  if (l.compression != kRle8 && l.compression != kRle4) {
    // The last row's padding may be missing; its pixels may not.
    const uint64_t needed = l.stride * (l.height - 1) + (static_cast<uint64_t>(l.width) * l.bpp + 7) / 8;
    if (needed > size - l.pixelOffset) fail("pixel data truncated");
  }
  return l;
}

void decodeIndexedRow(const Layout& l, const uint8_t* src, uint8_t* dst) {
  if (l.bpp == 8) {
    for (int x = 0; x < l.width; ++x) std::memcpy(dst + 4 * x, l.palette[src[x]].data(), 4);
    return;
  }
  const int perByte = 8 / l.bpp;
  const unsigned valueMask = (1u << l.bpp) - 1;
  for (int x = 0; x < l.width; ++x) {
    const int shift = 8 - l.bpp * (x % perByte + 1);
    std::memcpy(dst + 4 * x, l.palette[(src[x / perByte] >> shift) & valueMask].data(), 4);
  }
}

void decodeUncompressed(const Layout& l, const uint8_t* data, PixelBuffer& out) {
  const auto& [red, green, blue] = l.channels;
  for (int i = 0; i < l.height; ++i) {
    const uint8_t* src = data + l.pixelOffset + static_cast<size_t>(l.stride) * i;
    uint8_t* dst = out.row(l.topDown ? i : l.height - 1 - i);
    switch (l.bpp) {
      case 24:
        for (int x = 0; x < l.width; ++x, src += 3, dst += 4) {
          dst[0] = src[0];
          dst[1] = src[1];
          dst[2] = src[2];
          dst[3] = 0;
        }
        break;
      case 16:
      case 32:
        for (int x = 0; x < l.width; ++x, dst += 4) {
          const uint32_t px = l.bpp == 16 ? u16(src + 2 * x) : u32(src + 4 * x);
          dst[0] = blue(px);
          dst[1] = green(px);
          dst[2] = red(px);
          dst[3] = 0;
        }
        break;
      default:
        decodeIndexedRow(l, src, dst);
    }
  }
}

// Runs, absolute runs and deltas must stay inside the picture; a stream that stops before its end-of-bitmap
// code simply leaves the remaining pixels unwritten.
void decodeRle(const Layout& l, const uint8_t* data, size_t size, PixelBuffer& out) {
  for (int y = 0; y < l.height; ++y)
    for (int x = 0; x < l.width; ++x) std::memcpy(out.row(y) + 4 * x, l.palette[0].data(), 4);

  const bool rle4 = l.compression == kRle4;
  const uint8_t* p = data + l.pixelOffset;
  const uint8_t* const end = data + size;
  int x = 0, y = 0;  // y counts rows from the bottom
  auto put = [&](uint8_t index) { std::memcpy(out.row(l.height - 1 - y) + 4 * x++, l.palette[index].data(), 4); };
  while (end - p >= 2) {
    const int count = p[0];
    const int code = p[1];
    p += 2;
    if (count > 0) {
      if (y >= l.height || count > l.width - x) fail("RLE run outside the picture");
      for (int k = 0; k < count; ++k) put(rle4 ? (k & 1 ? code & 0x0F : code >> 4) : code);
    } else if (code == 0) {
      x = 0;
      if (++y > l.height) fail("RLE end of line past the last row");
    } else if (code == 1) {
      return;
    } else if (code == 2) {
      if (end - p < 2) fail("RLE delta truncated");
      x += p[0];
      y += p[1];
      p += 2;
      if (x > l.width || y > l.height) fail("RLE delta outside the picture");
    } else {
      const size_t bytes = rle4 ? (code + 1) / 2 : code;
      if (y >= l.height || code > l.width - x) fail("RLE absolute run outside the picture");
      if (static_cast<size_t>(end - p) < bytes) fail("RLE absolute run truncated");
      for (int k = 0; k < code; ++k) put(rle4 ? (k & 1 ? p[k / 2] & 0x0F : p[k / 2] >> 4) : p[k]);
      p += std::min(bytes + (bytes & 1), static_cast<size_t>(end - p));  // runs are padded to 16 bits
    }
  }
}

}  // namespace

BmpInfo readBmpInfo(const uint8_t* data, size_t size) {
  const Layout l = parseLayout(data, size);
  return {l.width, l.height};
}

PixelBuffer readBmp(const uint8_t* data, size_t size) {
  const Layout l = parseLayout(data, size);
  PixelBuffer out;
  out.width = l.width;
  out.height = l.height;
  out.bgrx.resize(static_cast<size_t>(l.width) * static_cast<size_t>(l.height) * 4);
  if (l.compression == kRle8 || l.compression == kRle4)
    decodeRle(l, data, size, out);
  else
    decodeUncompressed(l, data, out);
  return out;
}

}  // namespace lumivex::core
