// The start-up registration dialog.
#include "dialogs/UstupFrm.h"

namespace lumivex {

TstupFrm::TstupFrm() = default;
TstupFrm::~TstupFrm() = default;

void TstupFrm::create() {}

}  // namespace lumivex
