// The splash window: shows the picture with its border, message and translucency, counts down and closes.
#pragma once
#include "ui/colour.h"
#include "ui/form.h"
#include "ui/timer.h"

namespace lumivex {

class Tsplash : public ui::Form {
 public:
  Tsplash();
  ~Tsplash() override;
  void create();  // the window and its controls; FormCreate runs before it returns

  ui::Timer Timer1{1000, true};

  // Published operations.
  void Img1DblClick();
  void FormDblClick();
  void FormCreate();
  void FormShow();
  void Timer1Timer();
  void ReadEnv();
  void FormClose();
  void ScrollBar1Change();
  void FormKeyDown(WORD& key);

  // Previews from the option dialog.
  void setMessageColour(ui::Colour c);
  void setMessageFontColour(ui::Colour c);
};

}  // namespace lumivex
