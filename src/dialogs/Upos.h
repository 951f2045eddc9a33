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
};

}  // namespace lumivex
