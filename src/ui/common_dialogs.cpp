// Running the platform's file-open and colour choosers.
#include "ui/common_dialogs.h"

#include <vector>

#include "ui/system_libraries.h"

namespace lumivex::ui {
bool OpenFileDialog::run(HWND owner) {
  std::wstring filterZ = filter;
  for (auto& c : filterZ)
    if (c == L'|') c = L'\0';
  filterZ.push_back(L'\0');
  filterZ.push_back(L'\0');
  std::vector<wchar_t> buffer(32768, L'\0');
  fileName.copy(buffer.data(), std::min(fileName.size(), buffer.size() - 1));
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filterZ.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(buffer.size());
  ofn.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
  ofn.lpstrTitle = title.empty() ? nullptr : title.c_str();
  ofn.lpstrDefExt = defaultExtension.empty() ? nullptr : defaultExtension.c_str();
  ofn.Flags = flags | OFN_EXPLORER | OFN_ENABLESIZING;
  ofn.FlagsEx = flagsEx;
  if (!syslib::getOpenFileName(&ofn)) return false;
  fileName = buffer.data();
  return true;
}

bool ColourDialog::run(HWND owner) {
  CHOOSECOLORW cc{};
  cc.lStructSize = sizeof(cc);
  cc.hwndOwner = owner;
  cc.rgbResult = toColorRef(colour);
  cc.lpCustColors = custom_;
  cc.Flags = CC_RGBINIT;
  if (!syslib::chooseColor(&cc)) return false;
  colour = static_cast<Colour>(cc.rgbResult & 0x00FFFFFF);
  return true;
}

}  // namespace lumivex::ui
