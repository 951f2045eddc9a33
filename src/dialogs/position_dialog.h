// The logo position dialog: a placeholder frame of the splash window's size, dragged into place.
#pragma once
#include "ui/controls.h"
#include "ui/form.h"

namespace lumivex {

// The position dialog's controls by role.
class PositionDialogControls : protected ui::FormControls {
 protected:
  using FormControls::FormControls;

 public:
  ui::Label instruction{form_};
  ui::Label topCaption{form_};
  ui::Label leftCaption{form_};
  ui::Label topValue{form_};
  ui::Label leftValue{form_};
  ui::Container buttonPanel{form_, ui::Container::Frame::RaisedPanel};
  ui::Button cancelButton{form_};
  ui::Button okButton{form_};
  ui::Shape placeholderFrame{form_, ui::kButtonFace, 0x000080FF, 3};
};

class PositionDialog : public ui::Form, private PositionDialogControls {
 public:
  // Places `frameOf`, the splash window: the placeholder takes its place and size, OK moves it.
  explicit PositionDialog(ui::Form& frameOf);
  ~PositionDialog() override;
  void create();

 protected:
  LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  // What drives the dialog from outside its code, as a user would, reaches the controls through this.
  friend PositionDialogControls& controlsOf(PositionDialog& dialog);

  void onShowing();
  void onOkClicked();
  void showPosition();
  void placeFrame();
  SIZE frame_{};  // the picture's size in pixels, which the frame keeps
  ui::Form& splash_;
  bool sizeAnnounced_ = false;
};

}  // namespace lumivex
