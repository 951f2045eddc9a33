// Controls drawn by the program: shapes and pictures.
#include <algorithm>

#include "ui/controls.h"
#include "ui/form.h"

namespace lumivex::ui {

void Shape::create(Window& parent, Bounds b, const std::wstring& text) {
  const RECT r = form().toPixels(b);
  createOwn(0, WS_CHILD | WS_VISIBLE, text.c_str(), r.left, r.top, r.right - r.left, r.bottom - r.top, parent.hwnd(),
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id())));
}

LRESULT Shape::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NCHITTEST:
      return HTTRANSPARENT;
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE:
      InvalidateRect(hwnd(), nullptr, FALSE);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd(), &ps);
      RECT rc;
      GetClientRect(hwnd(), &rc);
      BrushHandle fill(CreateSolidBrush(toColorRef(fill_)));
      FillRect(dc, &rc, fill.get());
      if (penWidth_ > 0) {
        BrushHandle outline(CreateSolidBrush(toColorRef(outline_)));
        const int width = std::max(1, form().px(penWidth_));
        for (int i = 0; i < width; ++i) {
          RECT edge{rc.left + i, rc.top + i, rc.right - i, rc.bottom - i};
          FrameRect(dc, &edge, outline.get());
        }
      }
      EndPaint(hwnd(), &ps);
      redrawSiblingsAbove();
      return 0;
    }
    default:
      break;
  }
  return Control::handleMessage(msg, wp, lp);
}

// A shape lies beneath the controls stacked above it: having painted, it has them drawn again over it.
void Shape::redrawSiblingsAbove() {
  RECT mine;
  GetWindowRect(hwnd(), &mine);
  for (HWND s = GetWindow(hwnd(), GW_HWNDPREV); s; s = GetWindow(s, GW_HWNDPREV)) {
    RECT r, overlap;
    if (IsWindowVisible(s) && GetWindowRect(s, &r) && IntersectRect(&overlap, &r, &mine))
      RedrawWindow(s, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
  }
}

void Image::create(Window& parent, Bounds b, const std::wstring& text) {
  const RECT r = form().toPixels(b);
  createOwn(0, WS_CHILD | WS_VISIBLE, text.c_str(), r.left, r.top, r.right - r.left, r.bottom - r.top, parent.hwnd(),
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id())));
}

SIZE Image::shownSize() const {
  BITMAP info{};
  GetObjectW(bitmap_.get(), sizeof(info), &info);
  return {form().px(info.bmWidth), form().px(std::abs(info.bmHeight))};
}

void Image::setBitmap(BitmapHandle bitmap, bool autoSize) {
  bitmap_ = std::move(bitmap);
  autoSize_ = autoSize;
  dpiChanged();
}

void Image::dpiChanged() {
  if (autoSize_ && bitmap_) {
    const SIZE size = shownSize();
    SetWindowPos(hwnd(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  InvalidateRect(hwnd(), nullptr, TRUE);
}

LRESULT Image::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd(), &ps);
      RECT rc;
      GetClientRect(hwnd(), &rc);
      FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
      if (bitmap_) {
        MemoryDc mem(CreateCompatibleDC(dc));
        SelectGuard sel(mem.get(), bitmap_.get());
        BITMAP info{};
        GetObjectW(bitmap_.get(), sizeof(info), &info);
        const SIZE size = shownSize();
        if (size.cx == info.bmWidth && size.cy == std::abs(info.bmHeight)) {
          BitBlt(dc, 0, 0, size.cx, size.cy, mem.get(), 0, 0, SRCCOPY);
        } else {
          SetStretchBltMode(dc, HALFTONE);
          SetBrushOrgEx(dc, 0, 0, nullptr);
          StretchBlt(dc, 0, 0, size.cx, size.cy, mem.get(), 0, 0, info.bmWidth, std::abs(info.bmHeight), SRCCOPY);
        }
      }
      EndPaint(hwnd(), &ps);
      return 0;
    }
    default:
      break;
  }
  return Control::handleMessage(msg, wp, lp);
}

}  // namespace lumivex::ui
