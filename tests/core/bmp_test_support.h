// Test helpers for the bitmap reader: loading the bitmap test suite and building small bitmap files in memory.
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

inline std::filesystem::path bmpSuitePath(const std::string& folder) {
  return std::filesystem::path(LUMIVEX_TESTDATA) / "bmpsuite" / folder;
}

// A file that cannot be opened throws, so a test without its pictures fails with the path instead of reading
// past an empty buffer.
inline std::vector<uint8_t> readWholeFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read test picture " + path.string());
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

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
    auto put16 = [&](uint32_t v) {
      out.push_back(static_cast<uint8_t>(v));
      out.push_back(static_cast<uint8_t>(v >> 8));
    };
    auto put32 = [&](uint32_t v) {
      put16(v & 0xFFFF);
      put16(v >> 16);
    };
    const bool masksInside = headerSize >= 52;
    const size_t maskBytes = masksInside ? 0 : masks.size() * 4;
    const size_t dataStart = 14 + headerSize + maskBytes + palette.size();
    out.push_back('B');
    out.push_back('M');
    put32(static_cast<uint32_t>(dataStart + pixels.size()));
    put32(0);
    put32(pixelOffset.value_or(static_cast<uint32_t>(dataStart)));
    put32(headerSize);
    if (headerSize == 12) {
      put16(static_cast<uint32_t>(width));
      put16(static_cast<uint32_t>(height));
      put16(planes);
      put16(bpp);
    } else {
      put32(static_cast<uint32_t>(width));
      put32(static_cast<uint32_t>(height));
      put16(planes);
      put16(bpp);
      put32(compression);
      put32(static_cast<uint32_t>(pixels.size()));
      put32(2835);
      put32(2835);
      put32(colorsUsed);
      put32(0);
      for (size_t i = 0; masksInside && i < masks.size(); ++i) put32(masks[i]);
      out.resize(14 + headerSize, 0);
      for (size_t i = 0; !masksInside && i < masks.size(); ++i) put32(masks[i]);
    }
    out.insert(out.end(), palette.begin(), palette.end());
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
  }
};

}  // namespace lumivex::core::testing
