// The content of a window shown with per-pixel alpha, composed in a 32-bit surface and given to UpdateLayeredWindow.
#include "splash/layered_surface.h"

#include <algorithm>

namespace lumivex::pictures {

ui::BitmapHandle pixelSection(int width, int height, uint8_t*& bits) {
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* p = nullptr;
  ui::BitmapHandle section(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &p, nullptr, 0));
  bits = static_cast<uint8_t*>(p);
  return section;
}

LayeredSurface::LayeredSurface(HWND window) : window_(window), dc_(CreateCompatibleDC(nullptr)) {
  const LONG_PTR exStyle = GetWindowLongPtrW(window_, GWL_EXSTYLE);
  SetWindowLongPtrW(window_, GWL_EXSTYLE, exStyle & ~WS_EX_LAYERED);
  SetWindowLongPtrW(window_, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
}

LayeredSurface::~LayeredSurface() {
  if (previous_) SelectObject(dc_.get(), previous_);  // a bitmap is deleted only once out of its DC
}

bool LayeredSurface::ensureSurface(int width, int height) {
  if (bitmap_ && width == width_ && height == height_) return true;
  if (!dc_) return false;
  if (previous_) SelectObject(dc_.get(), previous_);
  previous_ = nullptr;
  bitmap_.reset();
  bitmap_ = pixelSection(width, height, bits_);
  if (!bitmap_) return false;
  previous_ = SelectObject(dc_.get(), bitmap_.get());
  width_ = width;
  height_ = height;
  return true;
}

bool LayeredSurface::clearAt(POINT p) const {
  if (!bits_ || p.x < 0 || p.y < 0 || p.x >= width_ || p.y >= height_) return false;
  return bits_[(static_cast<size_t>(p.y) * static_cast<size_t>(width_) + static_cast<size_t>(p.x)) * 4 + 3] == 0;
}

// The text is drawn in white on black into a surface of its own, which gives its coverage for blending: the window
// system leaves the alpha bytes of what it draws undefined.
void LayeredSurface::drawMessage(const LayerMessage& message, const core::PixelRect& strip) {
  if (message.filled) core::fillOpaque(bits_, width_, height_, strip, message.fill);
  if (!message.drawText) return;
  const int w = strip.right - strip.left, h = strip.bottom - strip.top;
  uint8_t* bits = nullptr;
  const ui::MemoryDc dc(CreateCompatibleDC(nullptr));
  const ui::BitmapHandle mask = pixelSection(w, h, bits);
  if (!dc || !mask) return;
  const ui::SelectGuard select(dc.get(), mask.get());
  SetViewportOrgEx(dc.get(), -strip.left, -strip.top, nullptr);
  SetBkMode(dc.get(), TRANSPARENT);
  SetTextColor(dc.get(), RGB(255, 255, 255));
  const RECT r{message.strip.left, message.strip.top, message.strip.right, message.strip.bottom};
  message.drawText(dc.get(), r);
  GdiFlush();
  core::blendText(bits_, width_, height_, strip, bits, message.text);
}

bool LayeredSurface::update(const core::SplashLayer& layer, const core::PremultipliedPixels& picture,
                            const LayerMessage& message) {
  if (layer.width <= 0 || layer.height <= 0 || !ensureSurface(layer.width, layer.height)) return false;
  core::composeSplashLayer(layer, picture, bits_);
  // The strip within the frame.
  const core::PixelRect strip{std::max(message.strip.left, layer.border), std::max(message.strip.top, layer.border),
                              std::min(message.strip.right, layer.width - layer.border),
                              std::min(message.strip.bottom, layer.height - layer.border)};
  if (strip.right > strip.left && strip.bottom > strip.top) drawMessage(message, strip);
  core::applyOpacity(bits_, static_cast<size_t>(width_) * static_cast<size_t>(height_), opacity_);
  return show();
}

bool LayeredSurface::setConstantAlpha(BYTE alpha) {
  if (alpha == constantAlpha_) return true;
  constantAlpha_ = alpha;
  return !bitmap_ || show();
}

bool LayeredSurface::show() {
  SIZE size{width_, height_};
  POINT origin{0, 0};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, constantAlpha_, AC_SRC_ALPHA};
  return UpdateLayeredWindow(window_, nullptr, nullptr, &size, dc_.get(), &origin, 0, &blend, ULW_ALPHA) != FALSE;
}

}  // namespace lumivex::pictures
