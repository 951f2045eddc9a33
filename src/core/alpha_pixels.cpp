// Pixels with per-pixel alpha: premultiplying a decoded picture, and composing the splash window's layer.
#include "core/alpha_pixels.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace lumivex::core {
namespace {

// a * b / 255, rounded to nearest, exact for every pair of bytes.
inline uint8_t mul255(unsigned a, unsigned b) {
  const unsigned t = a * b + 128;
  return static_cast<uint8_t>((t + (t >> 8)) >> 8);
}

void putOpaque(uint8_t* px, uint32_t colour) {
  px[0] = static_cast<uint8_t>(colour >> 16);
  px[1] = static_cast<uint8_t>(colour >> 8);
  px[2] = static_cast<uint8_t>(colour);
  px[3] = 255;
}

PixelRect clip(PixelRect r, int width, int height) {
  r.left = std::clamp(r.left, 0, width);
  r.right = std::clamp(r.right, r.left, width);
  r.top = std::clamp(r.top, 0, height);
  r.bottom = std::clamp(r.bottom, r.top, height);
  return r;
}

}  // namespace

PremultipliedPixels premultiplied(PngImage image) {
  PremultipliedPixels out{image.width, image.height, std::move(image.bgra)};
  for (size_t i = 0; i < out.bgra.size(); i += 4) {
    const unsigned a = out.bgra[i + 3];
    if (a == 255) continue;
    out.bgra[i] = mul255(out.bgra[i], a);
    out.bgra[i + 1] = mul255(out.bgra[i + 1], a);
    out.bgra[i + 2] = mul255(out.bgra[i + 2], a);
  }
  return out;
}

PixelBuffer withoutAlpha(PngImage image) {
  PixelBuffer out{image.width, image.height, std::move(image.bgra)};
  for (size_t i = 3; i < out.bgrx.size(); i += 4) out.bgrx[i] = 0;
  return out;
}

void composeSplashLayer(const SplashLayer& layer, const PremultipliedPixels& picture, uint8_t* out) {
  const int w = layer.width, h = layer.height;
  const PixelRect client = clip({layer.border, layer.border, w - layer.border, h - layer.border}, w, h);
  // The picture's columns on the surface, within the client area.
  const int px0 = std::clamp(layer.pictureX, client.left, client.right);
  const int px1 = std::clamp(layer.pictureX + picture.width, px0, client.right);

  for (int y = 0; y < h; ++y) {
    uint8_t* row = out + static_cast<size_t>(y) * static_cast<size_t>(w) * 4;
    const int sy = y - layer.pictureY;
    const bool pictureRow = y >= client.top && y < client.bottom && sy >= 0 && sy < picture.height;
    const int x0 = pictureRow ? px0 : w, x1 = pictureRow ? px1 : w;
    for (int x = 0; x < x0; ++x) putOpaque(row + static_cast<size_t>(x) * 4, layer.windowColour);
    if (x1 > x0)
      std::memcpy(row + static_cast<size_t>(x0) * 4, picture.row(sy) + static_cast<size_t>(x0 - layer.pictureX) * 4,
                  static_cast<size_t>(x1 - x0) * 4);
    for (int x = x1; x < w; ++x) putOpaque(row + static_cast<size_t>(x) * 4, layer.windowColour);
  }
}

void fillOpaque(uint8_t* surface, int width, int height, PixelRect r, uint32_t colour) {
  r = clip(r, width, height);
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      putOpaque(surface + (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 4, colour);
}

void blendText(uint8_t* surface, int width, int height, PixelRect r, const uint8_t* coverage, uint32_t colour) {
  const PixelRect c = clip(r, width, height);
  const unsigned ink[3] = {colour >> 16 & 0xFF, colour >> 8 & 0xFF, colour & 0xFF};
  const size_t maskStride = static_cast<size_t>(std::max(r.right - r.left, 0)) * 4;
  for (int y = c.top; y < c.bottom; ++y) {
    const uint8_t* m = coverage + static_cast<size_t>(y - r.top) * maskStride;
    uint8_t* row = surface + static_cast<size_t>(y) * static_cast<size_t>(width) * 4;
    for (int x = c.left; x < c.right; ++x) {
      const uint8_t* cm = m + static_cast<size_t>(x - r.left) * 4;
      const unsigned cover = std::max({cm[0], cm[1], cm[2]});
      if (cover == 0) continue;
      uint8_t* px = row + static_cast<size_t>(x) * 4;
      for (int k = 0; k < 3; ++k) px[k] = static_cast<uint8_t>(mul255(ink[k], cover) + mul255(px[k], 255 - cover));
      px[3] = static_cast<uint8_t>(cover + mul255(px[3], 255 - cover));
    }
  }
}

void applyOpacity(uint8_t* surface, size_t pixels, uint8_t alpha) {
  if (alpha == 255) return;
  for (size_t i = 0; i < pixels * 4; ++i) surface[i] = mul255(surface[i], alpha);
}

PremultipliedPixels resized(const PremultipliedPixels& picture, int width, int height) {
  PremultipliedPixels out;
  if (width <= 0 || height <= 0 || picture.width <= 0 || picture.height <= 0) return out;
  out.width = width;
  out.height = height;
  out.bgra.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  const double sx = static_cast<double>(picture.width) / width, sy = static_cast<double>(picture.height) / height;
  for (int y = 0; y < height; ++y) {
    const double y0 = y * sy, y1 = (y + 1) * sy;
    for (int x = 0; x < width; ++x) {
      const double x0 = x * sx, x1 = (x + 1) * sx;
      double sum[4] = {0, 0, 0, 0};
      for (int py = static_cast<int>(y0); py < picture.height && py < y1; ++py) {
        const double wy = std::min(y1, py + 1.0) - std::max(y0, static_cast<double>(py));
        const uint8_t* row = picture.row(py);
        for (int px = static_cast<int>(x0); px < picture.width && px < x1; ++px) {
          const double w = wy * (std::min(x1, px + 1.0) - std::max(x0, static_cast<double>(px)));
          for (int c = 0; c < 4; ++c) sum[c] += w * row[px * 4 + c];
        }
      }
      uint8_t* dst = out.bgra.data() + (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * 4;
      const double area = sx * sy;
      for (int c = 0; c < 4; ++c) dst[c] = static_cast<uint8_t>(std::min(255.0, sum[c] / area + 0.5));
      for (int c = 0; c < 3; ++c) dst[c] = std::min(dst[c], dst[3]);
    }
  }
  return out;
}

}  // namespace lumivex::core
