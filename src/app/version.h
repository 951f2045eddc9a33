// The program's version text, shown in the About dialog.
#pragma once

namespace lumivex::app {

inline constexpr wchar_t kVersionText[] = L"0.006";

}  // namespace lumivex::app
