// Test pictures made in memory: 24-bit bitmaps written by hand, JPEG files through the JPEG library's compressor,
// metafiles recorded by the window system.
#include "splash_pictures.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

#include "ui/handles.h"

namespace lumivex::testing {
namespace {

void put16(std::string& s, uint32_t v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>((v >> 8) & 0xFF);
}
void put32(std::string& s, uint32_t v) {
  put16(s, v & 0xFFFF);
  put16(s, v >> 16);
}

}  // namespace

PixelFn solid(uint32_t rgb) {
  return [rgb](int, int) { return rgb; };
}

PixelFn quadrants(int width, int height) {
  return [width, height](int x, int y) -> uint32_t {
    return (x < width / 2 ? 0xFF0000 : 0x0000FF) | (y < height / 2 ? 0 : 0x00FF00);
  };
}

std::string bmpFile(int width, int height, const PixelFn& rgb) {
  const uint32_t stride = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
  const uint32_t imageSize = stride * static_cast<uint32_t>(height);
  std::string s = "BM";
  put32(s, 54 + imageSize);
  put32(s, 0);
  put32(s, 54);
  put32(s, 40);
  put32(s, static_cast<uint32_t>(width));
  put32(s, static_cast<uint32_t>(height));
  put16(s, 1);
  put16(s, 24);
  put32(s, 0);
  put32(s, imageSize);
  put32(s, 2835);
  put32(s, 2835);
  put32(s, 0);
  put32(s, 0);
  for (int y = height - 1; y >= 0; --y) {
    std::string row;
    for (int x = 0; x < width; ++x) {
      const uint32_t c = rgb(x, y);
      row += static_cast<char>(c & 0xFF);
      row += static_cast<char>((c >> 8) & 0xFF);
      row += static_cast<char>((c >> 16) & 0xFF);
    }
    row.resize(stride, '\0');
    s += row;
  }
  return s;
}

std::string jpegFile(int width, int height, const PixelFn& rgb, int quality, JpegKind kind) {
  jpeg_compress_struct c{};
  jpeg_error_mgr err{};
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &out, &size);
  c.image_width = static_cast<JDIMENSION>(width);
  c.image_height = static_cast<JDIMENSION>(height);
  const bool cmyk = kind == JpegKind::Cmyk;
  const size_t components = cmyk ? 4 : 3;
  c.input_components = static_cast<int>(components);
  c.in_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, quality, TRUE);
  if (kind == JpegKind::Progressive) jpeg_simple_progression(&c);
  if (kind == JpegKind::Arithmetic) c.arith_code = TRUE;
  if (cmyk) jpeg_set_colorspace(&c, JCS_YCCK);
  jpeg_start_compress(&c, TRUE);
  std::vector<JSAMPLE> row(static_cast<size_t>(width) * components);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const uint32_t p = rgb(x, y);
      JSAMPLE* px = &row[static_cast<size_t>(x) * components];
      // CMYK of an RGB colour is C 255-R, M 255-G, Y 255-B, K 0; files with an Adobe marker store it inverted.
      px[0] = static_cast<JSAMPLE>((p >> 16) & 0xFF);
      px[1] = static_cast<JSAMPLE>((p >> 8) & 0xFF);
      px[2] = static_cast<JSAMPLE>(p & 0xFF);
      if (cmyk) px[3] = 255;
    }
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&c, &r, 1);
  }
  jpeg_finish_compress(&c);
  std::string bytes(reinterpret_cast<const char*>(out), size);
  std::free(out);
  jpeg_destroy_compress(&c);
  return bytes;
}

std::string withoutQuantTables(const std::string& jpeg) {
  std::string out = jpeg.substr(0, 2);
  size_t at = 2;
  while (at + 4 <= jpeg.size() && static_cast<unsigned char>(jpeg[at]) == 0xFF) {
    const unsigned char marker = static_cast<unsigned char>(jpeg[at + 1]);
    const size_t length = static_cast<unsigned char>(jpeg[at + 2]) << 8 | static_cast<unsigned char>(jpeg[at + 3]);
    if (marker == 0xDA) break;  // start of scan: the rest is entropy-coded data
    if (marker != 0xDB) out += jpeg.substr(at, 2 + length);
    at += 2 + length;
  }
  if (at >= jpeg.size()) throw std::runtime_error("no scan in the JPEG file");
  return out + jpeg.substr(at);
}

std::string emfFile(const std::function<void(HDC)>& draw) {
  const RECT frame{0, 0, 2540, 1270};
  HDC mf = CreateEnhMetaFileW(ui::WindowDc(nullptr).get(), nullptr, &frame, nullptr);
  draw(mf);
  HENHMETAFILE h = CloseEnhMetaFile(mf);
  std::string bytes(GetEnhMetaFileBits(h, 0, nullptr), '\0');
  GetEnhMetaFileBits(h, static_cast<UINT>(bytes.size()), reinterpret_cast<BYTE*>(bytes.data()));
  DeleteEnhMetaFile(h);
  return bytes;
}

std::string placeableWmfFile(const std::function<void(HDC)>& draw) {
  HDC mf = CreateMetaFileW(nullptr);
  SetWindowExtEx(mf, 144, 72, nullptr);
  draw(mf);
  HMETAFILE h = CloseMetaFile(mf);
  std::string bits(GetMetaFileBitsEx(h, 0, nullptr), '\0');
  GetMetaFileBitsEx(h, static_cast<UINT>(bits.size()), bits.data());
  DeleteMetaFile(h);
  std::string header;
  const uint16_t words[] = {0xCDD7, 0x9AC6, 0, 0, 0, 144, 72, 144, 0, 0};
  uint16_t sum = 0;
  for (uint16_t w : words) put16(header, w), sum ^= w;
  put16(header, sum);
  return header + bits;
}

int jpegCodeNoSoi() { return JERR_NO_SOI; }
int jpegCodeInputEmpty() { return JERR_INPUT_EMPTY; }
int jpegCodeNoQuantTable() { return JERR_NO_QUANT_TABLE; }

}  // namespace lumivex::testing
