// A window's layout as one table: each row creates a control inside its parent at its design place, in order.
#pragma once
#include <initializer_list>

#include "ui/control.h"

namespace lumivex::ui {

struct LayoutRow {
  Control& control;
  Window& parent;
  int x, y, w, h;
  const wchar_t* text;
};

inline void createLayout(std::initializer_list<LayoutRow> rows) {
  for (const LayoutRow& r : rows) r.control.create(r.parent, {r.x, r.y, r.w, r.h}, r.text);
}

}  // namespace lumivex::ui
