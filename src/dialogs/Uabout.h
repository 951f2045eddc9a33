// The About dialog: picture, version, credits and the user name as typed.
#pragma once
#include "ui/controls.h"
#include "ui/form.h"

namespace lumivex {

class TAbout : public ui::Form {
 public:
  TAbout();
  ~TAbout() override;
  void create();
};

}  // namespace lumivex
