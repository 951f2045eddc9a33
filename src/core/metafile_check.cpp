// Metafile record checks: framing, then per kind of record its counts, offsets, object indices and bitmaps.
#include "core/metafile_check.h"

#include <algorithm>

#include "core/picture_limits.h"

namespace lumivex::core {
namespace {

uint16_t u16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t u32(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}
int64_t s32(const uint8_t* p) { return static_cast<int32_t>(u32(p)); }

// What a packed bitmap (header, colour table, then pixels) needs: the bytes of its description and of its pixels.
struct BitmapNeeds {
  uint64_t infoBytes = 0;
  uint64_t bitsBytes = 0;
  int64_t height = 0;
};

// Reads the bitmap description at `info` (`available` bytes there). Colour table entries are palette indices
// (2 bytes) when `paletteIndices`, colours otherwise.
bool bitmapNeeds(const uint8_t* info, uint64_t available, bool paletteIndices, BitmapNeeds& out) {
  if (available < 12) return false;
  const uint32_t headerSize = u32(info);
  int64_t width, height;
  unsigned planes, bitCount;
  uint32_t compression = 0, imageSize = 0, coloursUsed = 0;
  uint64_t entry;
  if (headerSize == 12) {
    width = u16(info + 4);
    height = u16(info + 6);
    planes = u16(info + 8);
    bitCount = u16(info + 10);
    entry = paletteIndices ? 2 : 3;
  } else {
    if (headerSize < 40 || headerSize > available) return false;
    width = s32(info + 4);
    height = s32(info + 8);
    planes = u16(info + 12);
    bitCount = u16(info + 14);
    compression = u32(info + 16);
    imageSize = u32(info + 20);
    coloursUsed = u32(info + 32);
    entry = paletteIndices ? 2 : 4;
  }
  const bool topDown = height < 0;
  if (topDown) height = -height;
  if (planes != 1 || !pictureSizeAcceptable(width, height)) return false;
  switch (bitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return false;
  }
  constexpr uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3;
  if (compression == kRle8 || compression == kRle4) {
    if (topDown || bitCount != (compression == kRle8 ? 8u : 4u) || imageSize == 0) return false;
  } else if (compression == kBitfields) {
    if (bitCount != 16 && bitCount != 32) return false;
  } else if (compression != kRgb) {
    return false;
  }
  const uint64_t colours = coloursUsed ? coloursUsed : (bitCount <= 8 ? uint64_t{1} << bitCount : 0);
  const uint64_t masks = compression == kBitfields && headerSize == 40 ? 12 : 0;
  out.infoBytes = headerSize + masks + colours * entry;
  out.bitsBytes = compression == kRle8 || compression == kRle4
                      ? imageSize
                      : (static_cast<uint64_t>(width) * bitCount + 31) / 32 * 4 * static_cast<uint64_t>(height);
  out.height = height;
  return out.infoBytes <= available;
}

// ---- Windows metafiles: sizes in 16-bit words, parameters after a 6-byte record header ----

namespace wmf {

constexpr uint64_t kHeaderBytes = 18;

// Records that take a fixed number of parameter words and refer to no object.
uint32_t fixedParameters(uint16_t function) {
  switch (function) {
    case 0x001E: return 0;  // SaveDC
    case 0x0035: return 0;  // RealizePalette
    case 0x0102: case 0x0103: case 0x0104: case 0x0105: case 0x0106: case 0x0107: case 0x0108: case 0x0127:
    case 0x012E: case 0x0139:
      return 1;  // modes, RestoreDC, SetTextAlign, ResizePalette
    case 0x0201: case 0x0209: case 0x020A: case 0x020B: case 0x020C: case 0x020D: case 0x020E: case 0x020F:
    case 0x0211: case 0x0213: case 0x0214: case 0x0220: case 0x0231: case 0x0149:
      return 2;  // colours, origins, extents, LineTo, MoveTo, OffsetClipRgn, SetMapperFlags, SetLayout
    case 0x0410: case 0x0412: case 0x0415: case 0x0416: case 0x0418: case 0x0419: case 0x041B: case 0x041F:
      return 4;  // scaling, clip rectangles, Ellipse, FloodFill, Rectangle, SetPixel
    case 0x0548: return 5;  // ExtFloodFill
    case 0x061C: case 0x061D: return 6;  // RoundRect, PatBlt
    case 0x0817: case 0x081A: case 0x0830: return 8;  // Arc, Pie, Chord
    case 0x02FA: return 5;  // CreatePenIndirect
    case 0x02FC: return 4;  // CreateBrushIndirect
    default: return UINT32_MAX;
  }
}

// A bitmap packed into the record from parameter word `at` to the record's end.
bool packedBitmapFits(const uint8_t* params, uint64_t words, uint64_t at, bool paletteIndices, BitmapNeeds& needs) {
  if (words <= at) return false;
  const uint64_t available = (words - at) * 2;
  return bitmapNeeds(params + at * 2, available, paletteIndices, needs) &&
         needs.infoBytes + needs.bitsBytes <= available;
}

bool colourUsageKnown(uint16_t usage) { return usage <= 1; }

bool recordIsSafe(uint16_t function, const uint8_t* p, uint64_t n, uint16_t objects) {
  const auto word = [&](uint64_t i) { return u16(p + 2 * i); };
  const auto half = [](uint64_t bytes) { return (bytes + 1) / 2; };
  if (const uint32_t fixed = fixedParameters(function); fixed != UINT32_MAX) return n >= fixed;
  BitmapNeeds needs;
  switch (function) {
    case 0x012D:  // SelectObject
    case 0x01F0:  // DeleteObject
      return n >= 1 && word(0) < objects;
    case 0x0234:  // SelectPalette
      return n >= 2 && word(1) < objects;
    case 0x02FB: {  // CreateFontIndirect: 18 bytes, then a face name ended within the record or 32 bytes long
      if (n < 9) return false;
      const uint64_t faceBytes = (n - 9) * 2;
      return faceBytes >= 32 || std::find(p + 18, p + 18 + faceBytes, uint8_t{0}) != p + 18 + faceBytes;
    }
    case 0x00F7:  // CreatePalette: version, count, entries
    case 0x0037:  // SetPaletteEntries: start, count, entries
    case 0x0436:  // AnimatePalette
      return n >= 2 && n >= 2 + uint64_t{word(1)} * 2;
    case 0x0324:  // Polygon
    case 0x0325:  // Polyline
      return n >= 1 && n >= 1 + uint64_t{word(0)} * 2;
    case 0x0538: {  // PolyPolygon: polygon count, point counts, points
      if (n < 1) return false;
      const uint64_t polygons = word(0);
      if (n < 1 + polygons) return false;
      uint64_t points = 0;
      for (uint64_t i = 0; i < polygons; ++i) points += word(1 + i);
      return n >= 1 + polygons + points * 2;
    }
    case 0x0521:  // TextOut: length, string, y, x
      return n >= 1 && n >= 1 + half(word(0)) + 2;
    case 0x0A32: {  // ExtTextOut: y, x, length, options, [rectangle], string, [widths]
      if (n < 4) return false;
      const bool rectangle = (word(3) & 0x0006) != 0;
      return n >= 4 + (rectangle ? 4 : 0) + half(word(2));
    }
    case 0x0626:  // Escape: only the comment kind, whose data the player does not read
      return n >= 2 && word(0) == 15 && n >= 2 + half(word(1));
    case 0x0940:  // DIBBitBlt: raster operation (2), source y, x, height, width, destination y, x, bitmap
      return packedBitmapFits(p, n, 8, false, needs);
    case 0x0B41:  // DIBStretchBlt: raster operation (2), source h, w, y, x, destination h, w, y, x, bitmap
      return packedBitmapFits(p, n, 10, false, needs);
    case 0x0F43:  // StretchDIB: raster operation (2), colour usage, source h, w, y, x, destination ..., bitmap
      return n >= 3 && colourUsageKnown(word(2)) && packedBitmapFits(p, n, 11, word(2) == 1, needs);
    case 0x0D33:  // SetDIBitsToDevice: colour usage, scan count, start scan, ..., bitmap
      return n >= 3 && colourUsageKnown(word(0)) && packedBitmapFits(p, n, 9, word(0) == 1, needs) &&
             uint64_t{word(2)} + word(1) <= static_cast<uint64_t>(needs.height);
    case 0x0142:  // DIBCreatePatternBrush: style (a packed bitmap), colour usage, bitmap
      return n >= 2 && word(0) == 5 && colourUsageKnown(word(1)) && packedBitmapFits(p, n, 2, word(1) == 1, needs);
    default:
      return false;
  }
}

}  // namespace wmf

// ---- Enhanced metafiles: sizes in bytes, record fields at their byte offsets ----

namespace emf {

constexpr uint32_t kHeader = 1, kEof = 14;
constexpr uint64_t kHeaderBytes = 88;
constexpr uint32_t kSignature = 0x464D4520;  // " EMF"

// Records of a fixed layout that refer to no object or data: their smallest size.
uint64_t fixedSize(uint32_t type) {
  switch (type) {
    case 28: case 33: case 52: case 59: case 60: case 61: case 65: case 66: case 68:
      return 8;  // SetMetaRgn, SaveDC, RealizePalette, path brackets, CloseFigure, Flatten/WidenPath, AbortPath
    case 16: case 17: case 18: case 19: case 20: case 21: case 22: case 24: case 25: case 34: case 57: case 58:
    case 67: case 98: case 115:
      return 12;  // modes, colours, RestoreDC, arc direction, miter limit, SelectClipPath, ICM mode, SetLayout
    case 9: case 10: case 11: case 12: case 13: case 26: case 27: case 54: case 120:
      return 16;  // extents, origins, OffsetClipRgn, MoveToEx, LineTo, SetTextJustification
    case 15: return 20;  // SetPixelV
    case 29: case 30: case 31: case 32: case 42: case 43: case 53: case 62: case 63: case 64:
      return 24;  // clip rectangles, scaling, Ellipse, Rectangle, ExtFloodFill, Fill/StrokeAndFill/StrokePath
    case 41: return 28;  // AngleArc
    case 23: case 35: case 44: return 32;  // SetColorAdjustment, SetWorldTransform, RoundRect
    case 36: return 36;  // ModifyWorldTransform
    case 45: case 46: case 47: case 55: return 40;  // Arc, Chord, Pie, ArcTo
    default: return 0;
  }
}

class Checker {
 public:
  Checker(const uint8_t* r, uint64_t size, uint32_t handles) : r_(r), size_(size), handles_(handles) {}

  bool recordIsSafe(uint32_t type) const {
    if (const uint64_t fixed = fixedSize(type)) return size_ >= fixed;
    switch (type) {
      case 2: case 3: case 4: case 5: case 6:  // PolyBezier, Polygon, Polyline, PolyBezierTo, PolylineTo
        return at(28) && 28 + uint64_t{field(24)} * 8 <= size_;
      case 85: case 86: case 87: case 88: case 89:  // their 16-bit forms
        return at(28) && 28 + uint64_t{field(24)} * 4 <= size_;
      case 7: case 8: return polyPolygon(8);     // PolyPolyline, PolyPolygon
      case 90: case 91: return polyPolygon(4);   // their 16-bit forms
      case 56: return at(28) && 28 + uint64_t{field(24)} * 9 <= size_;  // PolyDraw: points, then types
      case 92: return at(28) && 28 + uint64_t{field(24)} * 5 <= size_;  // PolyDraw16
      case 14:  // EOF: palette entries
        return at(20) && (field(8) == 0 || range(field(12), uint64_t{field(8)} * 4));
      case 37: case 48: return at(12) && objectOrStock(field(8));  // SelectObject, SelectPalette
      case 40: return at(12) && field(8) < handles_;  // DeleteObject
      case 38: return at(28) && newObject(field(8));  // CreatePen
      case 39: return at(24) && newObject(field(8));  // CreateBrushIndirect
      case 82: return at(12 + 92) && newObject(field(8));  // ExtCreateFontIndirectW: a whole LOGFONTW
      case 49:  // CreatePalette: version, count, entries
        return at(16) && newObject(field(8)) && 16 + uint64_t{u16(r_ + 14)} * 4 <= size_;
      case 50:  // SetPaletteEntries: start, count, entries
        return at(20) && field(8) < handles_ && 20 + uint64_t{field(16)} * 4 <= size_;
      case 51: return at(16) && field(8) < handles_;  // ResizePalette
      case 70: return at(12) && 12 + uint64_t{field(8)} <= size_;  // GdiComment
      case 75: return at(16) && region(16, field(8));  // ExtSelectClipRgn
      case 71: return at(32) && objectOrStock(field(28)) && region(32, field(24));  // FillRgn
      case 72: return at(40) && objectOrStock(field(28)) && region(40, field(24));  // FrameRgn
      case 73: case 74: return at(28) && region(28, field(24));  // InvertRgn, PaintRgn
      case 83: case 84: return text(type == 84 ? 2 : 1);  // ExtTextOutA, ExtTextOutW
      case 76: return at(100) && bitmap(80, 84, true);  // BitBlt: no source for a pattern operation
      case 77: return at(108) && bitmap(80, 84, true);  // StretchBlt
      case 80: {  // SetDIBitsToDevice: only the scans the bitmap has
        BitmapNeeds needs;
        return at(76) && bitmap(64, 48, false, &needs) &&
               uint64_t{field(68)} + field(72) <= static_cast<uint64_t>(needs.height);
      }
      case 81: return at(80) && bitmap(64, 48, false);  // StretchDIBits
      case 94:  // CreateDIBPatternBrushPt
        return at(32) && newObject(field(8)) && bitmap(12, 16, false);
      case 95:  // ExtCreatePen: an optional pattern bitmap, then the style entries
        return at(52) && newObject(field(8)) && 52 + uint64_t{field(48)} * 4 <= size_ && bitmapAt(12, 0, true);
      default:
        return false;
    }
  }

 private:
  bool at(uint64_t bytes) const { return size_ >= bytes; }
  uint32_t field(uint64_t offset) const { return u32(r_ + offset); }
  bool range(uint64_t offset, uint64_t bytes) const { return offset <= size_ && bytes <= size_ - offset; }
  bool newObject(uint32_t index) const { return index >= 1 && index < handles_; }
  // A table entry, or one of the stock objects (top bit set, up to DC_PEN).
  bool objectOrStock(uint32_t index) const {
    return (index & 0x80000000u) ? (index & 0x7FFFFFFFu) <= 19 : index < handles_;
  }

  // Polygon count, point count, per-polygon counts, then points of `pointBytes` each; the counts use only those.
  bool polyPolygon(uint64_t pointBytes) const {
    if (!at(32)) return false;
    const uint64_t polygons = field(24), points = field(28);
    if (!range(32, polygons * 4) || !range(32 + polygons * 4, points * pointBytes)) return false;
    uint64_t used = 0;
    for (uint64_t i = 0; i < polygons; ++i) used += field(32 + i * 4);
    return used <= points;
  }

  // Region data of `bytes` at `offset`: a rectangle list whose header counts only rectangles that are there.
  bool region(uint64_t offset, uint64_t bytes) const {
    if (!range(offset, bytes)) return false;
    if (bytes == 0) return true;
    if (bytes < 32) return false;
    const uint8_t* h = r_ + offset;
    return u32(h) == 32 && u32(h + 4) == 1 && 32 + uint64_t{u32(h + 8)} * 16 <= bytes;
  }

  bool text(uint64_t charBytes) const {
    if (!at(76)) return false;
    const uint64_t chars = field(44), stringAt = field(48), widthsAt = field(72);
    const uint64_t widthBytes = (field(52) & 0x2000) ? 8 : 4;  // ETO_PDY: a pair per character
    return range(stringAt, chars * charBytes) && (widthsAt == 0 || range(widthsAt, chars * widthBytes));
  }

  // The source bitmap named by the four fields (description offset and size, pixel offset and size) at `fields`,
  // with the colour usage at `usage`.
  bool bitmap(uint64_t usage, uint64_t fields, bool optional, BitmapNeeds* needsOut = nullptr) const {
    const uint32_t colourUsage = field(usage);
    return colourUsage <= 1 && bitmapAt(fields, colourUsage, optional, needsOut);
  }

  bool bitmapAt(uint64_t fields, uint32_t colourUsage, bool optional, BitmapNeeds* needsOut = nullptr) const {
    const uint64_t infoAt = field(fields), infoBytes = field(fields + 4);
    const uint64_t bitsAt = field(fields + 8), bitsBytes = field(fields + 12);
    if (infoAt == 0 && infoBytes == 0 && bitsAt == 0 && bitsBytes == 0) return optional;
    BitmapNeeds needs;
    if (!range(infoAt, infoBytes) || !range(bitsAt, bitsBytes) ||
        !bitmapNeeds(r_ + infoAt, infoBytes, colourUsage == 1, needs) || needs.bitsBytes > bitsBytes)
      return false;
    if (needsOut) *needsOut = needs;
    return true;
  }

  const uint8_t* r_;
  uint64_t size_;
  uint32_t handles_;
};

}  // namespace emf

}  // namespace

bool windowsMetafileIsSafe(const uint8_t* data, size_t size) {
  if (size < wmf::kHeaderBytes) return false;
  const uint16_t type = u16(data), headerWords = u16(data + 2), version = u16(data + 4);
  const uint64_t totalBytes = uint64_t{u32(data + 6)} * 2;
  const uint16_t objects = u16(data + 10);
  // Only a memory metafile: the header of a disk metafile names a file that the player would read.
  if (type != 1 || headerWords != 9 || (version != 0x0100 && version != 0x0300)) return false;
  if (totalBytes < wmf::kHeaderBytes || totalBytes > size) return false;
  uint64_t at = wmf::kHeaderBytes;
  while (at < totalBytes) {
    if (totalBytes - at < 6) return false;
    const uint64_t bytes = uint64_t{u32(data + at)} * 2;
    const uint16_t function = u16(data + at + 4);
    if (bytes < 6 || bytes > totalBytes - at) return false;
    if (function == 0) return at + bytes == totalBytes;  // the end record, last
    if (!wmf::recordIsSafe(function, data + at + 6, (bytes - 6) / 2, objects)) return false;
    at += bytes;
  }
  return false;
}

bool enhancedMetafileIsSafe(const uint8_t* data, size_t size) {
  if (size < emf::kHeaderBytes) return false;
  const uint64_t headerBytes = u32(data + 4), totalBytes = u32(data + 48);
  const uint32_t handles = u16(data + 56);
  if (u32(data) != emf::kHeader || u32(data + 40) != emf::kSignature) return false;
  if (headerBytes < emf::kHeaderBytes || headerBytes % 4 || totalBytes > size || headerBytes > totalBytes) return false;
  if (handles == 0) return false;
  const uint64_t descriptionChars = u32(data + 60), descriptionAt = u32(data + 64);
  if (descriptionChars && (descriptionAt > headerBytes || descriptionChars * 2 > headerBytes - descriptionAt))
    return false;
  if (headerBytes >= 100) {  // the pixel format extension
    const uint64_t formatBytes = u32(data + 88), formatAt = u32(data + 92);
    if (formatBytes && (formatAt > headerBytes || formatBytes > headerBytes - formatAt)) return false;
  }
  uint64_t at = headerBytes;
  while (at < totalBytes) {
    if (totalBytes - at < 8) return false;
    const uint32_t type = u32(data + at);
    const uint64_t bytes = u32(data + at + 4);
    if (bytes < 8 || bytes % 4 || bytes > totalBytes - at) return false;
    if (!emf::Checker(data + at, bytes, handles).recordIsSafe(type)) return false;
    at += bytes;
    if (type == emf::kEof) return at == totalBytes;
  }
  return false;
}

}  // namespace lumivex::core
