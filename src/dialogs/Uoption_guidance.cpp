// The option dialog's guidance line: focus colouring, guidance texts, tooltips and the sliding pointer.
#include "dialogs/Uoption.h"

namespace lumivex {

void TOption::splSpnEnter() {}
void TOption::splSpnExit() {}
void TOption::bordSpnEnter() {}
void TOption::bordSpnExit() {}
void TOption::mesCmbEnter() {}
void TOption::mesCmbExit() {}
void TOption::fsizEdtEnter() {}
void TOption::fsizEdtExit() {}
void TOption::nameEdtEnter() {}
void TOption::nameEdtExit() {}
void TOption::ScrollBar1Enter() {}
void TOption::ScrollBar1Exit() {}
void TOption::winposGrpEnter() {}
void TOption::smpTxtMouseMove() {}
void TOption::BitBtn1MouseMove() {}
void TOption::lblTransMouseMove() {}
void TOption::GroupBox5MouseMove() {}
void TOption::defBtnMouseMove() {}
void TOption::okBtnMouseMove() {}
void TOption::clsBtnMouseMove() {}
void TOption::BitBtn2MouseMove() {}
void TOption::mesColMouseMove() {}
void TOption::mesCol2MouseMove() {}
void TOption::stUpMouseMove() {}
void TOption::posBtnMouseMove() {}
void TOption::manuTxtMouseMove() {}
void TOption::Timer1Timer() {}

}  // namespace lumivex
