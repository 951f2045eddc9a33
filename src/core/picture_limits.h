// The largest picture the program accepts, checked before any pixel memory is allocated.
#pragma once

#include <cstdint>

namespace lumivex::core {

// The largest picture accepted, by side and by decoded size, so a crafted header can never cause a huge allocation.
inline constexpr int kMaxPictureSide = 32767;
inline constexpr uint64_t kMaxPicturePixels = 1ull << 27;  // 134,217,728 pixels = 512 MiB decoded at 4 bytes each

inline constexpr bool pictureSizeAcceptable(int64_t width, int64_t height) {
  return width >= 1 && height >= 1 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
         static_cast<uint64_t>(width) * static_cast<uint64_t>(height) <= kMaxPicturePixels;
}

}  // namespace lumivex::core
