// The start-up registration dialog: puts the program's shortcut into the Startup folder.
#pragma once
#include "ui/controls.h"
#include "ui/form.h"

namespace lumivex {

class TstupFrm : public ui::Form {
 public:
  TstupFrm();
  ~TstupFrm() override;
  void create();

  ui::Label Label1{*this};
  ui::Button BitBtn1{*this};
  ui::Button BitBtn2{*this};

  void BitBtn1Click();  // writes the shortcut
  void BitBtn2Click();
};

}  // namespace lumivex
