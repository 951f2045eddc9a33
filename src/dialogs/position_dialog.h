// The logo position dialog: a placeholder frame of the splash window's size, dragged into place.
#pragma once
#include "ui/controls.h"
#include "ui/form.h"

namespace lumivex {

class PositionDialog : public ui::Form {
 public:
  // Places `frameOf`, the splash window: the placeholder takes its place and size, OK moves it.
  explicit PositionDialog(ui::Form& frameOf);
  ~PositionDialog() override;
  void create();

  ui::Label instruction{*this};
  ui::Label topCaption{*this};
  ui::Label leftCaption{*this};
  ui::Label topValue{*this};
  ui::Label leftValue{*this};
  ui::Container buttonPanel{*this, ui::Container::Frame::RaisedPanel};
  ui::Button cancelButton{*this};
  ui::Button okButton{*this};
  ui::Shape placeholderFrame{*this, ui::kButtonFace, 0x000080FF, 3};

 protected:
  LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void onShowing();
  void onOkClicked();
  void showPosition();
  void placeFrame();
  SIZE frame_{};  // the picture's size in pixels, which the frame keeps
  ui::Form& splash_;
  bool sizeAnnounced_ = false;
};

}  // namespace lumivex
