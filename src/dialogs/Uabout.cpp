// The About dialog.
#include "dialogs/Uabout.h"

namespace lumivex {

TAbout::TAbout() = default;
TAbout::~TAbout() = default;

void TAbout::create() {}

}  // namespace lumivex
