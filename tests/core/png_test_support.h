// Test helpers for PNG: the PngSuite pictures copied into the repository, and PNG files assembled chunk by chunk.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

#include "picture_files.h"

namespace lumivex::core::testing {

inline std::vector<uint8_t> readPngSuite(const std::string& name) {
  return readWholeFile(testDataPath("pngsuite") / name);
}

inline std::vector<uint8_t> deflated(const std::vector<uint8_t>& raw) {
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  std::vector<uint8_t> out(size);
  compress2(out.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 9);
  out.resize(size);
  return out;
}

// A PNG file built chunk by chunk, with correct lengths and checksums.
class PngWriter {
 public:
  PngWriter() : bytes_{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'} {}

  PngWriter& chunk(const char type[5], const std::vector<uint8_t>& data) {
    putBe32(bytes_, static_cast<uint32_t>(data.size()));
    const size_t start = bytes_.size();
    bytes_.insert(bytes_.end(), type, type + 4);
    bytes_.insert(bytes_.end(), data.begin(), data.end());
    putBe32(bytes_, static_cast<uint32_t>(crc32(0, bytes_.data() + start, static_cast<uInt>(bytes_.size() - start))));
    return *this;
  }

  PngWriter& header(uint32_t width, uint32_t height, uint8_t depth, uint8_t colourType, uint8_t interlace = 0) {
    std::vector<uint8_t> d;
    putBe32(d, width);
    putBe32(d, height);
    d.insert(d.end(), {depth, colourType, 0, 0, interlace});
    return chunk("IHDR", d);
  }

  // Rows given without their filter bytes; each gets filter 0.
  PngWriter& rows(const std::vector<std::vector<uint8_t>>& lines) {
    std::vector<uint8_t> raw;
    for (const auto& line : lines) {
      raw.push_back(0);
      raw.insert(raw.end(), line.begin(), line.end());
    }
    return chunk("IDAT", deflated(raw));
  }

  std::vector<uint8_t> end() {
    chunk("IEND", {});
    return bytes_;
  }

 private:
  std::vector<uint8_t> bytes_;
};

// An 8-bit RGBA picture of `w` x `h` from straight R, G, B, A values given by `at(x, y)`.
template <class F>
std::vector<uint8_t> rgbaPng(int w, int h, F at) {
  std::vector<std::vector<uint8_t>> lines(static_cast<size_t>(h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint32_t rgba = at(x, y);
      for (int shift = 24; shift >= 0; shift -= 8)
        lines[static_cast<size_t>(y)].push_back(static_cast<uint8_t>(rgba >> shift));
    }
  return PngWriter().header(static_cast<uint32_t>(w), static_cast<uint32_t>(h), 8, 6).rows(lines).end();
}

}  // namespace lumivex::core::testing
