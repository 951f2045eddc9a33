// The program's fonts.
#include "ui/fonts.h"

namespace lumivex::ui {

FontHandle makeUiFont(int pixelHeight, bool underline) {
  LOGFONTW lf{};
  lf.lfHeight = -pixelHeight;
  lf.lfWeight = FW_NORMAL;
  lf.lfUnderline = underline ? TRUE : FALSE;
  lf.lfCharSet = SHIFTJIS_CHARSET;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
  lstrcpynW(lf.lfFaceName, kUiFontFace, LF_FACESIZE);
  return FontHandle(CreateFontIndirectW(&lf));
}

HFONT uiFont() {
  static FontHandle font = makeUiFont();
  return font.get();
}

}  // namespace lumivex::ui
