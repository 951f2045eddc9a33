// A picture with transparent pixels, held premultiplied for a per-pixel-alpha window and drawn blended elsewhere.
#include "splash/translucent_picture.h"

#include <algorithm>
#include <utility>

#include "splash/layered_surface.h"
#include "ui/handles.h"

namespace lumivex::pictures {

TranslucentPicture::TranslucentPicture(core::PremultipliedPixels pixels)
    : Picture(pixels.width, pixels.height), pixels_(std::move(pixels)) {}

bool TranslucentPicture::draw(HDC dc, POINT origin, const RECT& area) {
  const RECT r{std::max<LONG>(area.left, 0), std::max<LONG>(area.top, 0), std::min<LONG>(area.right, width()),
               std::min<LONG>(area.bottom, height())};
  if (r.right <= r.left || r.bottom <= r.top) return true;
  const int w = r.right - r.left, h = r.bottom - r.top;
  uint8_t* bits = nullptr;
  const ui::MemoryDc mem(CreateCompatibleDC(dc));
  const ui::BitmapHandle section = pictures::pixelSection(w, h, bits);
  if (!mem || !section) return true;  // nothing drawn this time; the next paint tries again
  for (int y = 0; y < h; ++y)
    std::copy_n(pixels_.row(r.top + y) + static_cast<size_t>(r.left) * 4, static_cast<size_t>(w) * 4,
                bits + static_cast<size_t>(y) * static_cast<size_t>(w) * 4);
  const ui::SelectGuard select(mem.get(), section.get());
  const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  GdiAlphaBlend(dc, origin.x + r.left, origin.y + r.top, w, h, mem.get(), 0, 0, w, h, blend);
  return true;
}

}  // namespace lumivex::pictures
