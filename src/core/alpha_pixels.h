// Pixels with per-pixel alpha: premultiplying a decoded picture, and composing the splash window's layer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/pixels.h"
#include "core/png_decoder.h"

namespace lumivex::core {

// Top-down rows of B, G, R, A with B, G and R already multiplied by A / 255 (what a per-pixel-alpha window takes);
// the stride is width * 4 bytes.
struct PremultipliedPixels {
  int width = 0, height = 0;
  std::vector<uint8_t> bgra;

  const uint8_t* row(int y) const {
    return bgra.data() + static_cast<size_t>(y) * static_cast<size_t>(width) * 4;
  }
};

// The picture resampled to width x height: each new pixel averages the part of the picture it covers, weighted by
// how much of each pixel it covers, so edges stay antialiased and transparent pixels stay transparent.
PremultipliedPixels resized(const PremultipliedPixels& picture, int width, int height);

// Both take the image's memory over, so a large picture is never held twice.
PremultipliedPixels premultiplied(PngImage image);
PixelBuffer withoutAlpha(PngImage image);  // for a picture with no transparent pixel: B, G, R, 0

struct PixelRect {
  int left = 0, top = 0, right = 0, bottom = 0;
};

// The splash window's layer, in window coordinates: a frame of `border` pixels in the window colour, and the
// picture inside it with its top-left corner at (pictureX, pictureY), keeping its own alpha. The frame and any part
// of the client area the picture leaves uncovered are opaque. Colours are 0x00BBGGRR.
struct SplashLayer {
  int width = 0, height = 0;
  int border = 0;
  uint32_t windowColour = 0;
  int pictureX = 0, pictureY = 0;
};

// Writes the layer into `out` (layer.width * layer.height premultiplied B, G, R, A pixels).
void composeSplashLayer(const SplashLayer& layer, const PremultipliedPixels& picture, uint8_t* out);

// Fills `r` (clipped to the surface) with an opaque colour: the message label's own background.
void fillOpaque(uint8_t* surface, int width, int height, PixelRect r, uint32_t colour);

// Lays text of an opaque colour over `r` of the surface. `coverage` holds the text as the window system drew it in
// white on black, B, G, R, X rows of r's size; the brightest channel of each pixel is how much of it the text
// covers, so antialiased edges blend and the desktop still shows between the letters of a label without background.
void blendText(uint8_t* surface, int width, int height, PixelRect r, const uint8_t* coverage, uint32_t colour);

// Multiplies every pixel of a premultiplied surface, colour and alpha, by alpha / 255: the window's translucency
// applied on top of the picture's own.
void applyOpacity(uint8_t* surface, size_t pixels, uint8_t alpha);

}  // namespace lumivex::core
