// The logo position dialog: a placeholder frame of the splash window's size, dragged into place.
#include "dialogs/position_dialog.h"

#include "ui/layout.h"
#include "ui/text.h"

namespace lumivex {

PositionDialog::PositionDialog(ui::Form& frameOf) : Form(frameOf.session()), splash_(frameOf) {}
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
      {buttonPanel, *this, 8, 130, 201, 49, L""},
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
  setHeight(splash_.height());
  setWidth(splash_.width());
}

void PositionDialog::onConstrainedResize(int&, int&, int&, int&) { showPosition(); }

void PositionDialog::onOkClicked() {
  splash_.setTop(top());
  splash_.setLeft(left());
}

void PositionDialog::showPosition() {
  if (!topValue.hwnd()) return;
  topValue.setText(ui::decimal(top()));
  leftValue.setText(ui::decimal(left()));
}

// The constrained-resize event: the frame's bounds still hold the values from before the pending change.
void PositionDialog::checkSize() {
  int minWidth = 0, minHeight = 0, maxWidth = 0, maxHeight = 0;
  onConstrainedResize(minWidth, minHeight, maxWidth, maxHeight);
}

LRESULT PositionDialog::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NCHITTEST: {
      const LRESULT hit = Form::handleMessage(msg, wp, lp);
      return hit == HTCLIENT ? HTCAPTION : hit;
    }
    case WM_WINDOWPOSCHANGING: {
      if (reinterpret_cast<const WINDOWPOS*>(lp)->flags & SWP_NOSIZE) break;
      checkSize();
      sizeAnnounced_ = true;
      const LRESULT r = Form::handleMessage(msg, wp, lp);
      sizeAnnounced_ = false;
      return r;
    }
    case WM_GETMINMAXINFO:
      if (sizeAnnounced_) checkSize();
      break;
    case WM_SIZE: {
      if (!placeholderFrame.hwnd()) break;
      RECT rc;
      GetClientRect(hwnd(), &rc);
      placeholderFrame.setBounds({0, 0, rc.right, rc.bottom});
      break;
    }
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
