// The logo position dialog: a placeholder frame of the splash window's size, dragged into place.
#include "dialogs/Upos.h"

#include "app/application.h"
#include "splash/Usplash.h"
#include "ui/layout.h"
#include "ui/text.h"

namespace lumivex {

TposFrm::TposFrm() = default;
TposFrm::~TposFrm() = default;

void TposFrm::create() {
  ui::FormStyle style;
  style.caption = L"ポジション設定";
  style.clientWidth = 540;
  style.clientHeight = 307;
  style.topmost = true;
  style.keepsPixelSize = true;  // the splash window's size
  ui::Form::create(style);

  // The controls are made when the dialog is first shown.
  deferControls([this] {
    ui::createLayout({
        {Shape1, *this, 0, 0, 540, 307, L""},
        {Label1, *this, 16, 32, 0, 0, L"ロゴの表示位置を設定して下さい"},
        {topLbl, *this, 24, 72, 0, 0, L"Top"},
        {leftLbl, *this, 24, 96, 0, 0, L"Left"},
        {topvLbl, *this, 56, 72, 0, 0, L""},
        {leftvLbl, *this, 56, 96, 0, 0, L""},
        {Panel1, *this, 8, 130, 201, 49, L""},
        {BitBtn1, Panel1, 15, 12, 75, 25, L"OK"},
        {BitBtn2, Panel1, 111, 12, 75, 25, L"Cancel"},
    });

    BitBtn1.setGlyph(L"BBOK");
    BitBtn1.modalResult = ui::kResultOk;
    BitBtn1.setDefault(true);
    BitBtn1.onClick = [this] { BitBtn1Click(); };
    BitBtn2.setGlyph(L"BBCANCEL");
    BitBtn2.modalResult = ui::kResultCancel;
    setCancelButton(&BitBtn2);
    setTabOrder({&Panel1, &leftvLbl, &topvLbl, &leftLbl, &topLbl, &Label1, &Shape1});
    setTabOrder({&BitBtn2, &BitBtn1});
  });
  onShow = [this] { FormShow(); };
}

void TposFrm::FormShow() {
  setTop(splash->top());
  setLeft(splash->left());
  topvLbl.setText(ui::decimal(top()));
  leftvLbl.setText(ui::decimal(left()));
  setHeight(splash->height());
  setWidth(splash->width());
}

void TposFrm::FormConstrainedResize(int&, int&, int&, int&) { showPosition(); }

void TposFrm::BitBtn1Click() {
  splash->setTop(top());
  splash->setLeft(left());
}

void TposFrm::showPosition() {
  if (!topvLbl.hwnd()) return;
  topvLbl.setText(ui::decimal(top()));
  leftvLbl.setText(ui::decimal(left()));
}

// The constrained-resize event: the frame's bounds still hold the values from before the pending change.
void TposFrm::checkSize() {
  int minWidth = 0, minHeight = 0, maxWidth = 0, maxHeight = 0;
  FormConstrainedResize(minWidth, minHeight, maxWidth, maxHeight);
}

LRESULT TposFrm::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
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
      if (!Shape1.hwnd()) break;
      RECT rc;
      GetClientRect(hwnd(), &rc);
      Shape1.setBounds({0, 0, rc.right, rc.bottom});
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
