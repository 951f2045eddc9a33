// The platform's file-open and colour choosers, each keeping its settings between runs like a component.
#pragma once
#include <functional>
#include <optional>
#include <string>

#include "ui/colour.h"
#include <windows.h>

namespace lumivex::ui {

class OpenFileDialog {
 public:
  std::wstring title;
  std::wstring filter;  // pairs "name|pattern|name|pattern"
  std::wstring defaultExtension;
  std::wstring initialDir;
  std::wstring fileName;  // the file name the dialog starts with; the confirmed full path afterwards
  DWORD flags = 0;
  DWORD flagsEx = 0;

  // Runs the dialog; true when the user confirmed a file (then fileName holds its full path).
  bool run(HWND owner);

  // Tests: answers the next runs instead of the platform dialog (nullopt = cancelled).
  using Hook = std::function<std::optional<std::wstring>(const OpenFileDialog&)>;
  static void setHook(Hook hook);
};

class ColourDialog {
 public:
  Colour colour = 0;  // the colour it opens with; the confirmed one afterwards

  bool run(HWND owner);

  using Hook = std::function<std::optional<Colour>(const ColourDialog&)>;
  static void setHook(Hook hook);

 private:
  COLORREF custom_[16] = {};
};

}  // namespace lumivex::ui
