// The monitors as the window system reports them, for the placement rule.
#pragma once
#include <windows.h>

#include "core/placement.h"

namespace lumivex::ui {

// Every monitor with its whole area and work area; where the system knows a single screen, that screen.
core::Monitors monitors();

inline core::Rect toCore(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace lumivex::ui
