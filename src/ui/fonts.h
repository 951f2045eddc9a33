// The program's fonts: the common window font and sized variants of its face.
#pragma once
#include <string>

#include "ui/handles.h"
#include "ui/scaling.h"

namespace lumivex::ui {

inline constexpr wchar_t kUiFontFace[] = L"ＭＳ Ｐゴシック";
inline constexpr int kUiFontHeight = 12;  // design pixels: 9 points

// A font of the program's face, `pixelHeight` pixels high (character height), in the Shift-JIS character set.
FontHandle makeUiFont(int pixelHeight = kUiFontHeight, bool underline = false);
// The shared window font for a screen of `dpi` (12 pixels at 96 dpi), alive for the whole run.
HFONT uiFont(int dpi = kDesignDpi);

// The width of `text` in `font` and the font's line height, measured on a memory DC kept for the run: cheaper
// than a window's DC, which under Wine asks the window server for the window's visible region.
SIZE measureLine(HFONT font, const std::wstring& text);

}  // namespace lumivex::ui
