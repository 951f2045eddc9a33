// The About dialog: picture, version, credits and the user name as typed.
#pragma once
#include "ui/controls.h"
#include "ui/form.h"

namespace lumivex {

class TAbout : public ui::Form {
 public:
  TAbout();
  ~TAbout() override;
  void create();  // the window and its controls; FormCreate runs before it returns

  ui::Image Image1{*this};
  ui::Memo Memo1{*this};
  ui::Label verLbl{*this};
  ui::Button BitBtn1{*this};

  void FormCreate();
  void FormShow();
};

}  // namespace lumivex
