// The horizontal scroll bar holding a position within a range.
#include <algorithm>

#include "ui/controls.h"

namespace lumivex::ui {

ScrollBar::ScrollBar(Form& form, int minimum, int maximum, int position)
    : Control(form), min_(minimum), max_(maximum), pos_(position) {}

void ScrollBar::create(Window& parent, Bounds b, const std::wstring&) {
  createChild(L"SCROLLBAR", 0, WS_VISIBLE | WS_TABSTOP | SBS_HORZ, parent, b, L"");
  SCROLLINFO si{sizeof(si), SIF_RANGE | SIF_POS | SIF_PAGE, min_, max_, 0, pos_, 0};
  SetScrollInfo(hwnd(), SB_CTL, &si, TRUE);
  handCursor = true;
}

void ScrollBar::setPosition(int p) {
  p = std::clamp(p, min_, max_);
  if (p == pos_) return;
  pos_ = p;
  SCROLLINFO si{sizeof(si), SIF_POS, 0, 0, 0, pos_, 0};
  SetScrollInfo(hwnd(), SB_CTL, &si, TRUE);
  if (onChange) onChange();
}

void ScrollBar::scroll(WORD code) {
  switch (code) {
    case SB_LINELEFT:
    case SB_PAGELEFT:
      setPosition(pos_ - 1);
      break;
    case SB_LINERIGHT:
    case SB_PAGERIGHT:
      setPosition(pos_ + 1);
      break;
    case SB_LEFT:
      setPosition(min_);
      break;
    case SB_RIGHT:
      setPosition(max_);
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO si{sizeof(si), SIF_TRACKPOS, 0, 0, 0, 0, 0};
      GetScrollInfo(hwnd(), SB_CTL, &si);
      setPosition(si.nTrackPos);
      break;
    }
    default:
      break;
  }
}

}  // namespace lumivex::ui
