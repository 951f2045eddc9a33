// The program's fonts.
#include "ui/fonts.h"

#include <map>

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

HFONT uiFont(int dpi) {
  static std::map<int, FontHandle> fonts;
  FontHandle& font = fonts[dpi];
  if (!font) font = makeUiFont(toPixels(kUiFontHeight, dpi));
  return font.get();
}

SIZE measureLine(HFONT font, const std::wstring& text) {
  static MemoryDc dc(CreateCompatibleDC(nullptr));
  SelectGuard select(dc.get(), font ? font : static_cast<HFONT>(GetStockObject(SYSTEM_FONT)));
  SIZE size{};
  GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
  TEXTMETRICW tm{};
  GetTextMetricsW(dc.get(), &tm);
  return {size.cx, tm.tmHeight};
}

}  // namespace lumivex::ui
