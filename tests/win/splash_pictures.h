// Test pictures made in memory: 24-bit bitmaps written by hand, JPEG files through the JPEG library's compressor,
// metafiles recorded by the window system.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include <windows.h>

namespace lumivex::testing {

// Colour of the pixel at (x, y) as 0xRRGGBB.
using PixelFn = std::function<uint32_t(int x, int y)>;
// One colour all over.
PixelFn solid(uint32_t rgb);
// A picture of `width` x `height` in four quarters: red top left, blue top right, yellow bottom left, cyan bottom
// right.
PixelFn quadrants(int width, int height);

std::string bmpFile(int width, int height, const PixelFn& rgb);
// How the JPEG library codes the file: baseline Huffman, progressive, arithmetic, or CMYK (YCCK with an Adobe marker,
// as most CMYK files are).
enum class JpegKind { Baseline, Progressive, Arithmetic, Cmyk };
std::string jpegFile(int width, int height, const PixelFn& rgb, int quality = 95, JpegKind kind = JpegKind::Baseline);
// The same JPEG file without its quantisation tables: the header still reads, the pixels cannot be decoded.
std::string withoutQuantTables(const std::string& jpeg);

// An enhanced metafile whose frame is one inch by half an inch, of what `draw` records.
std::string emfFile(const std::function<void(HDC)>& draw);
// A placeable Windows metafile of 144 x 72 units at 144 units per inch (one inch by half an inch), of what `draw`
// records.
std::string placeableWmfFile(const std::function<void(HDC)>& draw);

// The JPEG library's message codes for the failures the tests provoke.
int jpegCodeNoSoi();
int jpegCodeInputEmpty();
int jpegCodeNoQuantTable();

}  // namespace lumivex::testing
