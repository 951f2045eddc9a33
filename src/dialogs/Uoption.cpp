// The option dialog: layout, the live settings in its controls, saving and the bottom buttons.
#include "dialogs/Uoption.h"

namespace lumivex {

TOption::TOption() = default;
TOption::~TOption() = default;

void TOption::create() {}
void TOption::WriteEnv() {}
void TOption::FormCreate() {}
void TOption::FormShow() {}
void TOption::okBtnClick() {}
void TOption::clsBtnClick() {}
void TOption::defBtnClick() {}
void TOption::iniBtnClick() {}
void TOption::BitBtn1Click() {}
void TOption::smpTxtClick() {}
void TOption::mesColClick() {}
void TOption::mesCol2Click() {}
void TOption::lblTransClick() {}
void TOption::ScrollBar1Change() {}
void TOption::mesCmbChange() {}
void TOption::winposGrpClick() {}
void TOption::posBtnClick() {}
void TOption::stUpClick() {}
void TOption::BitBtn2Click() {}
void TOption::chooseColour(ui::ColourSwatch&, void (*)(ui::Colour)) {}

}  // namespace lumivex
