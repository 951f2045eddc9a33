// The logo position dialog: a placeholder frame of the splash window's size, dragged into place.
#include "dialogs/position_dialog.h"

#include <algorithm>

#include "core/placement.h"
#include "ui/layout.h"
#include "ui/monitors.h"
#include "ui/scaling.h"
#include "ui/text.h"

namespace lumivex {
namespace {

using ui::Bounds;
constexpr Bounds kPanelInFrame{8, 130, 201, 49};

}  // namespace

PositionDialog::PositionDialog(ui::Form& frameOf)
    : Form(frameOf.session()), PositionDialogControls(static_cast<ui::Form&>(*this)), splash_(frameOf) {}
PositionDialog::~PositionDialog() = default;

void PositionDialog::create() {
  ui::FormStyle style;
  style.caption = L"ポジション設定";
  style.clientWidth = 540;
  style.clientHeight = 307;
  style.topmost = true;
  style.keepsPixelSize = true;  // the splash window's size
  ui::Form::create(style);

  ui::createLayout({
      {placeholderFrame, *this, 0, 0, 540, 307, L""},
      {instruction, *this, 16, 32, 0, 0, L"ロゴの表示位置を設定して下さい"},
      {topCaption, *this, 24, 72, 0, 0, L"Top"},
      {leftCaption, *this, 24, 96, 0, 0, L"Left"},
      {topValue, *this, 56, 72, 0, 0, L""},
      {leftValue, *this, 56, 96, 0, 0, L""},
      {buttonPanel, *this, kPanelInFrame.x, kPanelInFrame.y, kPanelInFrame.w, kPanelInFrame.h, L""},
      {okButton, buttonPanel, 15, 12, 75, 25, L"OK"},
      {cancelButton, buttonPanel, 111, 12, 75, 25, L"Cancel"},
  });

  okButton.setGlyph(L"BBOK");
  okButton.modalResult = ui::kResultOk;
  okButton.setDefault(true);
  okButton.onClick = [this] { onOkClicked(); };
  cancelButton.setGlyph(L"BBCANCEL");
  cancelButton.modalResult = ui::kResultCancel;
  setCancelButton(&cancelButton);
  setTabOrder({&buttonPanel, &leftValue, &topValue, &leftCaption, &topCaption, &instruction, &placeholderFrame});
  setTabOrder({&cancelButton, &okButton});
  onShow = [this] { onShowing(); };
}

void PositionDialog::onShowing() {
  setTop(splash_.top());
  setLeft(splash_.left());
  topValue.setText(ui::decimal(top()));
  leftValue.setText(ui::decimal(left()));
  frame_ = {splash_.width(), splash_.height()};
  // The OK/Cancel panel keeps its place inside the frame where it fits there; below a frame too small for it, the
  // window grows downwards to hold it beneath the frame's lower edge, and the frame keeps the picture's size.
  const Bounds panel = kPanelInFrame;
  const bool fitsInside = px(panel.x + panel.w) <= frame_.cx && px(panel.y + panel.h) <= frame_.cy;
  buttonPanel.setBounds(fitsInside ? panel : Bounds{0, ui::toDesign(frame_.cy, dpi()), panel.w, panel.h});
  setHeight(fitsInside ? frame_.cy : frame_.cy + px(panel.h));
  setWidth(fitsInside ? frame_.cx : std::max<int>(frame_.cx, px(panel.w)));
  placeFrame();
}

// The frame runs along the picture's own pixel size, whatever the screen's dpi.
void PositionDialog::placeFrame() {
  if (!placeholderFrame.hwnd() || frame_.cx <= 0) return;
  SetWindowPos(placeholderFrame.hwnd(), nullptr, 0, 0, frame_.cx, frame_.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void PositionDialog::onOkClicked() {
  splash_.setTop(top());
  splash_.setLeft(left());
}

void PositionDialog::showPosition() {
  if (!topValue.hwnd()) return;
  topValue.setText(ui::decimal(top()));
  leftValue.setText(ui::decimal(left()));
}

LRESULT PositionDialog::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NCHITTEST: {
      const LRESULT hit = Form::handleMessage(msg, wp, lp);
      return hit == HTCLIENT ? HTCAPTION : hit;
    }
    case WM_WINDOWPOSCHANGING: {
      // The frame goes onto any monitor, at negative coordinates too, but never where it touches none.
      WINDOWPOS* pos = reinterpret_cast<WINDOWPOS*>(lp);
      if (!(pos->flags & SWP_NOMOVE)) {
        const int w = (pos->flags & SWP_NOSIZE) ? width() : pos->cx, h = (pos->flags & SWP_NOSIZE) ? height() : pos->cy;
        const core::Point kept = core::keptOnSomeMonitor({pos->x, pos->y, pos->x + w, pos->y + h}, ui::monitors());
        pos->x = kept.x;
        pos->y = kept.y;
      }
      if (pos->flags & SWP_NOSIZE) break;
      // A size about to change shows the values again, as they stand before the change, and so does each size
      // limit asked for while the change is under way.
      showPosition();
      sizeAnnounced_ = true;
      const LRESULT r = Form::handleMessage(msg, wp, lp);
      sizeAnnounced_ = false;
      return r;
    }
    case WM_GETMINMAXINFO:
      if (sizeAnnounced_) showPosition();
      break;
    case WM_SIZE:
      placeFrame();
      break;
    case WM_MOVE:
      // The values follow the frame while it is dragged, so they always read its current place.
      showPosition();
      break;
    default:
      break;
  }
  return Form::handleMessage(msg, wp, lp);
}

}  // namespace lumivex
