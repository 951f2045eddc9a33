// A picture with transparent pixels (a PNG with an alpha channel or tRNS), held premultiplied for a per-pixel-alpha
// window and drawn blended where it is drawn into a device context.
#pragma once

#include "core/alpha_pixels.h"
#include "splash/picture.h"

namespace lumivex::pictures {

class TranslucentPicture : public Picture {
 public:
  explicit TranslucentPicture(core::PremultipliedPixels pixels);

  // Blends the picture over what `dc` already holds: the window colour, where no per-pixel alpha window is at hand.
  bool draw(HDC dc, POINT origin, const RECT& area) override;
  const core::PremultipliedPixels* translucentPixels() const override { return &pixels_; }

 private:
  core::PremultipliedPixels pixels_;
};

}  // namespace lumivex::pictures
