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
};

}  // namespace lumivex
