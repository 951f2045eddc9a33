// Metafile record checks: well-formed files pass; counts, offsets, indices and bitmaps beyond a record do not.
#include "core/metafile_check.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "picture_files.h"

namespace {

using lumivex::core::enhancedMetafileIsSafe;
using lumivex::core::windowsMetafileIsSafe;
using lumivex::core::testing::put16;
using lumivex::core::testing::put32;
using lumivex::core::testing::set32;

using Bytes = std::vector<uint8_t>;

// The file with the 32-bit field at `at` set to `v`.
Bytes with32(Bytes b, size_t at, uint32_t v) {
  set32(b, at, v);
  return b;
}

// A 2 x 2, 24-bit bitmap description followed by its pixels (8-byte rows).
Bytes packedBitmap(int32_t height = 2) {
  lumivex::core::testing::TestBmp bmp;
  bmp.width = 2;
  bmp.height = height;
  bmp.pixels.assign(16, 0x7F);
  return bmp.packed();
}

// ---- Windows metafiles ----

struct WmfRecord {
  uint16_t function;
  std::vector<uint16_t> params;
  Bytes raw = {};  // appended after the parameters
};

Bytes wmf(std::initializer_list<WmfRecord> records, uint16_t objects = 2) {
  Bytes body;
  for (const WmfRecord& r : records) {
    const size_t bytes = 6 + r.params.size() * 2 + r.raw.size();
    put32(body, static_cast<uint32_t>((bytes + 1) / 2));
    put16(body, r.function);
    for (uint16_t p : r.params) put16(body, p);
    body.insert(body.end(), r.raw.begin(), r.raw.end());
    if (bytes % 2) body.push_back(0);
  }
  put32(body, 3);
  put16(body, 0);  // end record
  Bytes b;
  put16(b, 1);
  put16(b, 9);
  put16(b, 0x0300);
  put32(b, static_cast<uint32_t>((18 + body.size()) / 2));
  put16(b, objects);
  put32(b, 0);
  put16(b, 0);
  b.insert(b.end(), body.begin(), body.end());
  return b;
}

bool safe(const Bytes& b) { return windowsMetafileIsSafe(b.data(), b.size()); }

TEST(WindowsMetafileCheck, WellFormedRecordsPass) {
  EXPECT_TRUE(safe(wmf({})));
  EXPECT_TRUE(safe(wmf({{0x020C, {72, 144}},
                        {0x02FA, {0, 1, 0, 0xFF, 0}},
                        {0x012D, {0}},
                        {0x041B, {0, 0, 72, 144}},
                        {0x0324, {3, 0, 0, 10, 10, 0, 10}},
                        {0x0538, {2, 2, 1, 0, 0, 5, 5, 9, 9}},
                        {0x0521, {3, 0x6261, 0x0063, 4, 5}},
                        {0x0A32, {4, 5, 3, 0, 0x6261, 0x0063}},
                        {0x01F0, {0}}})));
  Bytes dib = packedBitmap();
  EXPECT_TRUE(safe(wmf({{0x0B41, {0x0020, 0x00CC, 2, 2, 0, 0, 2, 2, 0, 0}, dib}})));
  EXPECT_TRUE(safe(wmf({{0x0D33, {0, 2, 0, 0, 0, 2, 2, 0, 0}, dib}})));
}

TEST(WindowsMetafileCheck, FramingMustHold) {
  const Bytes good = wmf({{0x041B, {0, 0, 72, 144}}});
  for (size_t cut = 0; cut < good.size(); ++cut) EXPECT_FALSE(windowsMetafileIsSafe(good.data(), cut)) << cut;
  Bytes b = good;
  b[0] = 2;  // a disk metafile header names a file to read
  EXPECT_FALSE(safe(b));
  EXPECT_FALSE(safe(with32(good, 18, 2))) << "a record shorter than its own header";
  EXPECT_FALSE(safe(with32(good, 18, 1000))) << "a record past the end";
  b = good;
  b.insert(b.end(), {3, 0, 0, 0, 0x1E, 0});  // a record after the end record
  set32(b, 6, static_cast<uint32_t>(b.size() / 2));
  EXPECT_FALSE(safe(b));
}

TEST(WindowsMetafileCheck, CountsIndicesAndBitmapsMustStayInTheRecord) {
  EXPECT_FALSE(safe(wmf({{0x0324, {4, 0, 0, 10, 10, 0, 10}}}))) << "one point missing";
  EXPECT_FALSE(safe(wmf({{0x0538, {2, 2, 2, 0, 0, 5, 5, 9, 9}}}))) << "counts beyond the points";
  EXPECT_FALSE(safe(wmf({{0x0521, {9, 0x6261, 0x0063, 4, 5}}}))) << "text beyond the record";
  EXPECT_FALSE(safe(wmf({{0x0A32, {4, 5, 3, 0x0004, 0x6261, 0x0063}}}))) << "no room for the clip rectangle";
  EXPECT_FALSE(safe(wmf({{0x012D, {2}}}, 2))) << "object index past the table";
  EXPECT_FALSE(safe(wmf({{0x02FB, {12, 0, 0, 0, 400, 0, 0, 0, 0x4141}}}))) << "face name without its end";
  EXPECT_FALSE(safe(wmf({{0x041B, {0, 0, 72}}}))) << "a parameter missing";
  EXPECT_FALSE(safe(wmf({{0x06FF, {0, 0, 0, 0, 0, 0}}}))) << "regions are not played";
  EXPECT_FALSE(safe(wmf({{0x0626, {0x1000, 0}}}))) << "escapes other than comments are not played";
  EXPECT_FALSE(safe(wmf({{0x0B41, {0x0020, 0x00CC, 2, 2, 0, 0, 2, 2, 0, 0}, packedBitmap(3)}})))
      << "rows beyond the record";
  Bytes badHeader = packedBitmap();
  badHeader[0] = 200;
  EXPECT_FALSE(safe(wmf({{0x0B41, {0x0020, 0x00CC, 2, 2, 0, 0, 2, 2, 0, 0}, badHeader}})));
  EXPECT_FALSE(safe(wmf({{0x0D33, {0, 3, 0, 0, 0, 2, 2, 0, 0}, packedBitmap()}}))) << "more scans than rows";
}

// ---- Enhanced metafiles ----

Bytes emfRecord(uint32_t type, std::initializer_list<uint32_t> fields, const Bytes& raw = {}) {
  Bytes b;
  put32(b, type);
  put32(b, static_cast<uint32_t>(8 + fields.size() * 4 + (raw.size() + 3) / 4 * 4));
  for (uint32_t f : fields) put32(b, f);
  b.insert(b.end(), raw.begin(), raw.end());
  while (b.size() % 4) b.push_back(0);
  return b;
}

Bytes emf(std::initializer_list<Bytes> records, uint16_t handles = 3) {
  Bytes b;
  put32(b, 1);
  put32(b, 88);
  for (int i = 0; i < 4; ++i) put32(b, 0);  // bounds
  for (uint32_t v : {0u, 0u, 2540u, 1270u}) put32(b, v);  // frame
  put32(b, 0x464D4520);
  put32(b, 0x10000);
  put32(b, 0);  // bytes, set below
  put32(b, static_cast<uint32_t>(records.size() + 2));
  put16(b, handles);
  put16(b, 0);
  for (int i = 0; i < 7; ++i) put32(b, 0);  // description, palette, device and millimetre sizes
  for (const Bytes& r : records) b.insert(b.end(), r.begin(), r.end());
  const Bytes eof = emfRecord(14, {0, 16, 20});
  b.insert(b.end(), eof.begin(), eof.end());
  set32(b, 48, static_cast<uint32_t>(b.size()));
  return b;
}

bool safeEmf(const Bytes& b) { return enhancedMetafileIsSafe(b.data(), b.size()); }

Bytes stretchDiBits(uint32_t infoAt, uint32_t infoBytes, uint32_t bitsAt, uint32_t bitsBytes, const Bytes& dib) {
  // bounds (4), destination x, y, source x, y, width, height, then the bitmap fields, usage, operation, size
  return emfRecord(81, {0, 0, 0, 0, 0, 0, 0, 0, 2, 2, infoAt, infoBytes, bitsAt, bitsBytes, 0, 0x00CC0020, 2, 2}, dib);
}

TEST(EnhancedMetafileCheck, WellFormedRecordsPass) {
  EXPECT_TRUE(safeEmf(emf({})));
  const Bytes text = {'a', 0, 'b', 0};
  EXPECT_TRUE(safeEmf(emf({emfRecord(38, {1, 0, 1, 0, 0xFF}),
                           emfRecord(37, {1}),
                           emfRecord(37, {0x80000000u | 5}),
                           emfRecord(43, {0, 0, 100, 50}),
                           emfRecord(3, {0, 0, 0, 0, 2, 1, 2, 3, 4}),
                           emfRecord(8, {0, 0, 0, 0, 2, 3, 2, 1, 1, 1, 2, 2, 3, 3}),
                           emfRecord(84, {0, 0, 0, 0, 1, 0, 0, 0, 0, 2, 76, 0, 0, 0, 0, 0, 0}, text),
                           emfRecord(70, {3}, {1, 2, 3}),
                           emfRecord(40, {1})})));
  EXPECT_TRUE(safeEmf(emf({stretchDiBits(80, 40, 120, 16, packedBitmap())})));
}

TEST(EnhancedMetafileCheck, FramingMustHold) {
  const Bytes good = emf({emfRecord(43, {0, 0, 100, 50})});
  for (size_t cut = 0; cut < good.size(); ++cut) EXPECT_FALSE(enhancedMetafileIsSafe(good.data(), cut)) << cut;
  EXPECT_FALSE(safeEmf(with32(good, 40, 0))) << "a wrong signature";
  EXPECT_FALSE(safeEmf(with32(good, 88 + 4, 10))) << "a record size that is no multiple of 4";
  EXPECT_FALSE(safeEmf(with32(good, 88 + 4, 0x10000))) << "a record past the end";
  EXPECT_FALSE(safeEmf(with32(with32(good, 64, 80), 60, 10))) << "a description past the header";
  EXPECT_FALSE(safeEmf(emf({}, 0))) << "no handle table";
}

TEST(EnhancedMetafileCheck, CountsIndicesAndBitmapsMustStayInTheRecord) {
  EXPECT_FALSE(safeEmf(emf({emfRecord(3, {0, 0, 0, 0, 3, 1, 2, 3, 4})}))) << "a point missing";
  EXPECT_FALSE(safeEmf(emf({emfRecord(8, {0, 0, 0, 0, 2, 3, 2, 2, 1, 1, 2, 2, 3, 3})}))) << "counts beyond points";
  EXPECT_FALSE(safeEmf(emf({emfRecord(37, {3})}, 3))) << "object index past the table";
  EXPECT_FALSE(safeEmf(emf({emfRecord(37, {0x80000000u | 40})}))) << "no such stock object";
  EXPECT_FALSE(safeEmf(emf({emfRecord(38, {0, 0, 1, 0, 0xFF})}))) << "entry 0 is the metafile itself";
  EXPECT_FALSE(safeEmf(emf({emfRecord(84, {0, 0, 0, 0, 1, 0, 0, 0, 0, 9, 76, 0, 0, 0, 0, 0, 0}, {'a', 0})})))
      << "text beyond the record";
  EXPECT_FALSE(safeEmf(emf({emfRecord(84, {0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 76, 0, 0, 0, 0, 0, 78}, {'a', 0})})))
      << "widths beyond the record";
  EXPECT_FALSE(safeEmf(emf({emfRecord(70, {9}, {1, 2, 3})}))) << "comment beyond the record";
  EXPECT_FALSE(safeEmf(emf({emfRecord(75, {48, 5, 32, 1, 2, 0, 0, 0, 0, 0, 1, 1, 2, 2})})))
      << "region rectangles missing";
  EXPECT_FALSE(safeEmf(emf({emfRecord(999, {})}))) << "unknown records are not played";
  const Bytes dib = packedBitmap();
  EXPECT_FALSE(safeEmf(emf({stretchDiBits(200, 40, 120, 16, dib)}))) << "description past the record";
  EXPECT_FALSE(safeEmf(emf({stretchDiBits(80, 40, 120, 12, dib)}))) << "fewer pixel bytes than rows";
  EXPECT_FALSE(safeEmf(emf({stretchDiBits(80, 40, 130, 16, dib)}))) << "pixels past the record";
  EXPECT_FALSE(safeEmf(emf({stretchDiBits(80, 40, 120, 16, packedBitmap(3))}))) << "rows beyond the pixels";
  EXPECT_FALSE(safeEmf(emf({stretchDiBits(80, 30, 120, 16, dib)}))) << "a header larger than its size field";
}

// Every single-byte change of a file with each kind of record is checked without reading outside the file (the
// sanitizers watch), whatever the verdict.
TEST(MetafileCheck, NoByteChangeMakesTheCheckReadOutsideTheFile) {
  const Bytes w = wmf({{0x0324, {3, 0, 0, 10, 10, 0, 10}},
                       {0x0538, {2, 2, 1, 0, 0, 5, 5, 9, 9}},
                       {0x0A32, {4, 5, 3, 0x0006, 0, 0, 1, 1, 0x6261, 0x0063}},
                       {0x02FB, {12, 0, 0, 0, 400, 0, 0, 0, 0x4141, 0}},
                       {0x0B41, {0x0020, 0x00CC, 2, 2, 0, 0, 2, 2, 0, 0}, packedBitmap()}});
  const Bytes e = emf({emfRecord(8, {0, 0, 0, 0, 2, 3, 2, 1, 1, 1, 2, 2, 3, 3}),
                       emfRecord(84, {0, 0, 0, 0, 1, 0, 0, 0, 0, 2, 76, 0, 0, 0, 0, 0, 0}, {'a', 0, 'b', 0}),
                       emfRecord(75, {48, 5, 32, 1, 1, 0, 0, 0, 0, 0, 0, 0, 1, 1}),
                       stretchDiBits(80, 40, 120, 16, packedBitmap())});
  ASSERT_TRUE(safe(w));
  ASSERT_TRUE(safeEmf(e));
  for (const uint8_t value : {0x00, 0x01, 0x7F, 0x80, 0xFF}) {
    for (size_t i = 0; i < w.size(); ++i) {
      Bytes b = w;
      b[i] = value;
      (void)safe(b);
    }
    for (size_t i = 0; i < e.size(); ++i) {
      Bytes b = e;
      b[i] = value;
      (void)safeEmf(b);
    }
  }
}

}  // namespace
