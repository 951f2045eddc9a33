// The platform's file-open and colour choosers, each keeping its settings between runs like a component.
#pragma once
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

  // Runs the platform's dialog; true when the user confirmed a file (then fileName holds its full path). The
  // windows run it through their session's services.
  bool run(HWND owner);
};

class ColourDialog {
 public:
  Colour colour = 0;  // the colour it opens with; the confirmed one afterwards

  bool run(HWND owner);

 private:
  COLORREF custom_[16] = {};
};

}  // namespace lumivex::ui
