// The real services: the platform's boxes and choosers, the module's path, user32's layered-window entry.
#include "ui/services.h"

#include "ui/common_dialogs.h"
#include "ui/message_box.h"

namespace lumivex::ui {

void SystemServices::showBox(BoxKind kind, const std::wstring& text) {
  const UINT flags = MB_OK | (kind == BoxKind::Error ? MB_ICONERROR : 0u);
  MessageBoxW(GetActiveWindow(), text.c_str(), kAppTitle, flags);
}

bool SystemServices::choose(OpenFileDialog& dialog, HWND owner) { return dialog.run(owner); }
bool SystemServices::choose(ColourDialog& dialog, HWND owner) { return dialog.run(owner); }

std::wstring SystemServices::exePath() {
  std::wstring buffer(32768, L'\0');
  buffer.resize(GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size())));
  return buffer;
}

FARPROC SystemServices::layeredWindowEntry(HMODULE user32) {
  return GetProcAddress(user32, "SetLayeredWindowAttributes");
}

}  // namespace lumivex::ui
