// The logo position dialog: a placeholder frame of the splash window's size, dragged into place.
#pragma once
#include "ui/controls.h"
#include "ui/form.h"

namespace lumivex {

class TposFrm : public ui::Form {
 public:
  TposFrm();
  ~TposFrm() override;
  void create();

  ui::Label Label1{*this};
  ui::Label topLbl{*this};
  ui::Label leftLbl{*this};
  ui::Label topvLbl{*this};
  ui::Label leftvLbl{*this};
  ui::Container Panel1{*this, ui::Container::Frame::RaisedPanel};
  ui::Button BitBtn2{*this};
  ui::Button BitBtn1{*this};
  ui::Shape Shape1{*this, ui::kButtonFace, 0x000080FF, 3};

  void FormShow();
  void FormConstrainedResize(int& minWidth, int& minHeight, int& maxWidth, int& maxHeight);
  void BitBtn1Click();

 protected:
  LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void showPosition();
  void checkSize();
  bool sizeAnnounced_ = false;
};

}  // namespace lumivex
