// The logo position dialog.
#include "dialogs/Upos.h"

namespace lumivex {

TposFrm::TposFrm() = default;
TposFrm::~TposFrm() = default;

void TposFrm::create() {}

}  // namespace lumivex
