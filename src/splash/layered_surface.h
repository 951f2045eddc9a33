// The content of a window shown with per-pixel alpha: composed in a 32-bit surface and handed to the window system
// with UpdateLayeredWindow, so that the desktop shows through the picture's transparent pixels.
#pragma once

#include <functional>

#include <windows.h>

#include "core/alpha_pixels.h"
#include "ui/handles.h"

namespace lumivex::pictures {

// A 32-bit top-down DIB section of `width` x `height` (B, G, R, A rows), with its pixels at `bits`; empty on failure.
ui::BitmapHandle pixelSection(int width, int height, uint8_t*& bits);

// The message label as the layer shows it: its strip (window coordinates), filled when the label has a background,
// and its text, which `drawText` draws into the given rectangle with the DC's text colour and font left to it.
struct LayerMessage {
  core::PixelRect strip;
  bool filled = false;
  COLORREF fill = 0;
  COLORREF text = 0;
  std::function<void(HDC, const RECT&)> drawText;
};

class LayeredSurface {
 public:
  // From now on `window` shows what update() gives it. Its layered style is set anew: a window that was once given
  // SetLayeredWindowAttributes refuses UpdateLayeredWindow until then.
  explicit LayeredSurface(HWND window);
  ~LayeredSurface();
  LayeredSurface(const LayeredSurface&) = delete;
  LayeredSurface& operator=(const LayeredSurface&) = delete;

  // The window's translucency, applied on top of the picture's own alpha at the next update.
  void setOpacity(BYTE alpha) { opacity_ = alpha; }
  BYTE opacity() const { return opacity_; }

  // The constant alpha the window system lays over the composed surface (a fade's step). Shows the surface last
  // composed again with it, without composing anew (nothing for the alpha it has); false when the window system
  // refused.
  bool setConstantAlpha(BYTE alpha);
  BYTE constantAlpha() const { return constantAlpha_; }

  // Composes `layer` with `picture` and the message, and shows the result at the window's size and place. False
  // when the window system refused.
  bool update(const core::SplashLayer& layer, const core::PremultipliedPixels& picture, const LayerMessage& message);

  // Whether the pixel at `p` (window coordinates) of what was last shown is fully transparent.
  bool clearAt(POINT p) const;

 private:
  bool ensureSurface(int width, int height);
  void drawMessage(const LayerMessage& message, const core::PixelRect& strip);
  bool show();

  HWND window_;
  BYTE opacity_ = 255;
  BYTE constantAlpha_ = 255;
  ui::MemoryDc dc_;
  ui::BitmapHandle bitmap_;
  HGDIOBJ previous_ = nullptr;
  uint8_t* bits_ = nullptr;
  int width_ = 0, height_ = 0;
};

}  // namespace lumivex::pictures
