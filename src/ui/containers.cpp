// Group boxes, panels and radio groups: windows that hold controls and pass their notifications to the form.
#include <algorithm>

#include <windowsx.h>

#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/form.h"

namespace lumivex::ui {

void Container::create(Window& parent, Bounds b, const std::wstring& text) {
  const RECT r = form().toPixels(b);
  createOwn(WS_EX_CONTROLPARENT, WS_CHILD | WS_VISIBLE, text.c_str(), r.left, r.top, r.right - r.left,
            r.bottom - r.top, parent.hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id())));
  SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(uiFont(form().dpi())), FALSE);
}

void Container::paint(HDC dc) {
  RECT rc;
  GetClientRect(hwnd(), &rc);
  FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
  if (frame_ == Frame::RaisedPanel) {
    DrawEdge(dc, &rc, BDR_RAISEDINNER, BF_RECT);
    return;
  }
  if (frame_ != Frame::GroupBox) return;
  SelectGuard font(dc, uiFont(form().dpi()));
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  RECT frame = rc;
  frame.top += tm.tmHeight / 2;
  DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  const std::wstring caption = text();
  if (caption.empty()) return;
  SIZE sz{};
  GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &sz);
  const int textLeft = form().px(8);
  RECT textRect{textLeft, 0, textLeft + sz.cx + form().px(2), tm.tmHeight};
  FillRect(dc, &textRect, GetSysColorBrush(COLOR_BTNFACE));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(enabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  TextOutW(dc, form().px(9), 0, caption.c_str(), static_cast<int>(caption.size()));
}

// A shape is a background: a container is drawn over it and takes the mouse there.
bool Container::isBackground(HWND sibling) const {
  return dynamic_cast<const Shape*>(form().controlAt(sibling)) != nullptr;
}

bool Container::overLowerSibling(POINT screen) const {
  for (HWND s = GetWindow(hwnd(), GW_HWNDNEXT); s; s = GetWindow(s, GW_HWNDNEXT)) {
    RECT r;
    if (IsWindowVisible(s) && !isBackground(s) && GetWindowRect(s, &r) && PtInRect(&r, screen)) return true;
  }
  return false;
}

void Container::yieldToLowerSiblings(HDC dc) const {
  RECT mine;
  GetWindowRect(hwnd(), &mine);
  for (HWND s = GetWindow(hwnd(), GW_HWNDNEXT); s; s = GetWindow(s, GW_HWNDNEXT)) {
    RECT r, overlap;
    if (!IsWindowVisible(s) || isBackground(s) || !GetWindowRect(s, &r) || !IntersectRect(&overlap, &r, &mine))
      continue;
    // Clipped by the siblings above it, the sibling would have nothing of itself left to draw where it lies over
    // the container: it draws there unclipped, as the container leaves that place to it.
    const LONG style = GetWindowLongW(s, GWL_STYLE);
    if (style & WS_CLIPSIBLINGS) {
      SetWindowLongW(s, GWL_STYLE, style & ~WS_CLIPSIBLINGS);
      RedrawWindow(s, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
    MapWindowPoints(HWND_DESKTOP, hwnd(), reinterpret_cast<POINT*>(&overlap), 2);
    ExcludeClipRect(dc, overlap.left, overlap.top, overlap.right, overlap.bottom);
  }
}

LRESULT Container::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  bool handled = false;
  const LRESULT r = form().route(msg, wp, lp, handled);
  if (handled) return r;
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_NCHITTEST:
      if (overLowerSibling({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)})) return HTTRANSPARENT;
      break;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd(), &ps);
      yieldToLowerSiblings(dc);
      paint(dc);
      EndPaint(hwnd(), &ps);
      return 0;
    }
    case WM_SETTEXT: {
      const LRESULT res = callDefault(msg, wp, lp);
      InvalidateRect(hwnd(), nullptr, TRUE);
      return res;
    }
    default:
      break;
  }
  return Control::handleMessage(msg, wp, lp);
}

void RadioGroup::create(Window& parent, Bounds b, const std::wstring& text) { Container::create(parent, b, text); }

// The items share the group's height below its caption; the measures are design pixels, as the items' bounds are.
void RadioGroup::setItems(const std::vector<std::wstring>& texts) {
  items_.clear();
  const int dpi = form().dpi();
  const Bounds rc = bounds();
  const int lineHeight = toDesign(measureLine(uiFont(dpi), L"").cy, dpi);
  const int count = static_cast<int>(texts.size());
  if (count == 0) return;
  const int itemHeight = (rc.h - lineHeight - 5) / count;
  const int topMargin = lineHeight + 1 + (rc.h - lineHeight - 5 - itemHeight * count) / 2;
  for (int i = 0; i < count; ++i) {
    const int textWidth = toDesign(measureLine(uiFont(dpi), texts[i]).cx, dpi);
    auto item = std::make_unique<Item>(form(), *this);
    // The focus lies on the items; to the form it enters and leaves the group.
    item->onEnter = [this] { if (onEnter) onEnter(); };
    item->onExit = [this] { if (onExit) onExit(); };
    item->create(*this, {8, topMargin + i * itemHeight, std::min<int>(textWidth + 24, rc.w - 16), itemHeight}, texts[i]);
    items_.push_back(std::move(item));
  }
  index_ = -1;
}

HWND RadioGroup::itemHwnd(int i) const { return items_.at(static_cast<size_t>(i))->hwnd(); }

int RadioGroup::itemIndex() const { return index_; }

void RadioGroup::setItemIndex(int i) {
  if (i < -1 || i >= static_cast<int>(items_.size())) i = -1;
  if (i == index_) return;
  index_ = i;
  for (int k = 0; k < static_cast<int>(items_.size()); ++k) {
    SendMessageW(items_[static_cast<size_t>(k)]->hwnd(), BM_SETCHECK, k == i ? BST_CHECKED : BST_UNCHECKED, 0);
    const LONG style = GetWindowLongW(items_[static_cast<size_t>(k)]->hwnd(), GWL_STYLE);
    SetWindowLongW(items_[static_cast<size_t>(k)]->hwnd(), GWL_STYLE,
                   (k == i || (i == -1 && k == 0)) ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
  }
  if (onClick) onClick();
}

void RadioGroup::itemClicked() {
  for (int k = 0; k < static_cast<int>(items_.size()); ++k)
    if (SendMessageW(items_[static_cast<size_t>(k)]->hwnd(), BM_GETCHECK, 0, 0) == BST_CHECKED) {
      setItemIndex(k);
      return;
    }
}

void RadioGroup::Item::create(Window& parent, Bounds b, const std::wstring& text) {
  createChild(L"BUTTON", 0, WS_VISIBLE | BS_AUTORADIOBUTTON, parent, b, text);
}

void RadioGroup::Item::command(WORD code) {
  if (code == BN_CLICKED) group_.itemClicked();
}

}  // namespace lumivex::ui
