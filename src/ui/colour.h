// Colour values of the settings: 0x00BBGGRR, or a system colour index with the top bit set.
#pragma once
#include <cstdint>
#include <windows.h>

namespace lumivex::ui {

using Colour = int32_t;
inline constexpr Colour kButtonFace = static_cast<Colour>(0x8000000F);
inline constexpr Colour kWindowBackground = static_cast<Colour>(0x80000005);
inline constexpr Colour kWindowText = static_cast<Colour>(0x80000008);

inline COLORREF toColorRef(Colour c) {
  return c < 0 ? GetSysColor(static_cast<int>(c & 0xFF)) : static_cast<COLORREF>(c & 0x00FFFFFF);
}

}  // namespace lumivex::ui
