// The program's version text, shown in the About dialog.
#pragma once

namespace lumivex::core {

inline constexpr wchar_t kVersionText[] = L"0.006";

}  // namespace lumivex::core
