// Labels, the guidance-line static text and colour swatches.
#include <windowsx.h>

#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/form.h"

namespace lumivex::ui {

bool Coloured::changeColour(Colour c) {
  if (c == colour_ && brush_) return false;
  colour_ = c;
  brush_ = BrushHandle(CreateSolidBrush(toColorRef(c)));
  return true;
}

HBRUSH Coloured::paintColours(HDC dc) {
  if (!brush_) brush_ = BrushHandle(CreateSolidBrush(toColorRef(colour_)));
  SetBkColor(dc, toColorRef(colour_));
  return brush_.get();
}

void Label::create(Window& parent, Bounds b, const std::wstring& text) {
  createChild(L"STATIC", 0, WS_VISIBLE | SS_LEFT | SS_NOPREFIX, parent, b, text);
  autoSize();
}

void Label::autoSize() {
  if (wordWrap) return;
  const SIZE sz = measureLine(reinterpret_cast<HFONT>(SendMessageW(hwnd(), WM_GETFONT, 0, 0)), text());
  RECT r{};
  GetWindowRect(hwnd(), &r);
  if (r.right - r.left != sz.cx || r.bottom - r.top != sz.cy)
    SetWindowPos(hwnd(), nullptr, 0, 0, sz.cx, sz.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Label::setText(const std::wstring& text) {
  if (text == this->text()) return;
  const Bounds before = bounds();
  setTextRaw(text);
  autoSize();
  const Bounds after = bounds();
  RECT r{std::min(before.x, after.x), std::min(before.y, after.y), std::max(before.x + before.w, after.x + after.w),
         std::max(before.y + before.h, after.y + after.h)};
  RedrawWindow(GetParent(hwnd()), &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

HBRUSH Label::colours(HDC dc) {
  if (!transparent) return nullptr;
  SetBkMode(dc, TRANSPARENT);
  if (!enabled()) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

void StaticText::create(Window& parent, Bounds b, const std::wstring& text) {
  createChild(L"STATIC", 0, WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_SUNKEN | SS_NOTIFY, parent, b, text);
}

void StaticText::setText(const std::wstring& text) {
  if (text == this->text()) return;
  setTextRaw(text);
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void ColourSwatch::create(Window& parent, Bounds b, const std::wstring&) {
  createChild(L"STATIC", 0, WS_VISIBLE | WS_BORDER | SS_NOTIFY, parent, b, L"");
}

void ColourSwatch::setColour(Colour c) {
  if (changeColour(c) && hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
}

HBRUSH ColourSwatch::colours(HDC dc) { return paintColours(dc); }

void ColourSwatch::command(WORD code) {
  if (code == STN_CLICKED && onClick) onClick();
}

}  // namespace lumivex::ui
