// Test helpers for picture files: the public test sets in tests/data, header fields in either byte order, and bitmap
// files built field by field.
#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace lumivex::core::testing {

inline std::filesystem::path testDataPath(const std::string& folder) {
  return std::filesystem::path(LUMIVEX_TESTDATA) / folder;
}

// A file that cannot be opened throws, so a test without its pictures fails with the path instead of reading
// past an empty buffer.
inline std::vector<uint8_t> readWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read test picture " + path.string());
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The names of the files in `folder` whose extension is `extension` (".bmp"), sorted.
inline std::vector<std::string> filesIn(const std::filesystem::path& folder, const std::string& extension) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    if (entry.path().extension() == extension) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// Little-endian fields, as bitmap and metafile headers hold them, and the big-endian ones of PNG.
inline void put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
inline void put32(std::vector<uint8_t>& out, uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}
inline void set32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
inline void putBe32(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

inline std::filesystem::path bmpSuitePath(const std::string& folder) { return testDataPath("bmpsuite") / folder; }

inline std::vector<uint8_t> readSuiteFile(const std::string& folder, const std::string& name) {
  return readWholeFile(bmpSuitePath(folder) / name);
}

// A bitmap file described field by field; bytes() lays it out the way the headers say.
struct TestBmp {
  uint32_t headerSize = 40;
  int32_t width = 1;
  int32_t height = 1;
  uint16_t planes = 1;
  uint16_t bpp = 24;
  uint32_t compression = 0;
  uint32_t colorsUsed = 0;
  std::vector<uint32_t> masks;   // after a 40-byte header, or inside a larger one
  std::vector<uint8_t> palette;  // raw entries, 4 bytes each (3 with a 12-byte header)
  std::vector<uint8_t> pixels;
  std::optional<uint32_t> pixelOffset;  // written as is; by default where the pixels really start

  std::vector<uint8_t> bytes() const {
    std::vector<uint8_t> out;
    const bool masksInside = headerSize >= 52;
    const size_t maskBytes = masksInside ? 0 : masks.size() * 4;
    const size_t dataStart = 14 + headerSize + maskBytes + palette.size();
    out.push_back('B');
    out.push_back('M');
    put32(out, static_cast<uint32_t>(dataStart + pixels.size()));
    put32(out, 0);
    put32(out, pixelOffset.value_or(static_cast<uint32_t>(dataStart)));
    put32(out, headerSize);
    if (headerSize == 12) {
      put16(out, static_cast<uint32_t>(width));
      put16(out, static_cast<uint32_t>(height));
      put16(out, planes);
      put16(out, bpp);
    } else {
      put32(out, static_cast<uint32_t>(width));
      put32(out, static_cast<uint32_t>(height));
      put16(out, planes);
      put16(out, bpp);
      put32(out, compression);
      put32(out, static_cast<uint32_t>(pixels.size()));
      put32(out, 2835);
      put32(out, 2835);
      put32(out, colorsUsed);
      put32(out, 0);
      for (size_t i = 0; masksInside && i < masks.size(); ++i) put32(out, masks[i]);
      out.resize(14 + headerSize, 0);
      for (size_t i = 0; !masksInside && i < masks.size(); ++i) put32(out, masks[i]);
    }
    out.insert(out.end(), palette.begin(), palette.end());
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
  }

  // The bitmap as metafile records carry it: the same without the 14-byte file header.
  std::vector<uint8_t> packed() const {
    std::vector<uint8_t> out = bytes();
    out.erase(out.begin(), out.begin() + 14);
    return out;
  }
};

}  // namespace lumivex::core::testing
