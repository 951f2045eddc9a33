// The error text of a failed COM or system call, as the error box shows it.
#pragma once
#include <string>

#include <windows.h>

namespace lumivex::startup {

// The system's text for a failure code without its closing blanks, control characters and full stops,
// or "OLE エラー" with the code when the system has none.
std::wstring failureText(HRESULT code);

// Raise ui::AppError with the failure's text when `code` failed.
void check(HRESULT code);
// As check, with the text of a missing interface.
void checkInterface(HRESULT code);

}  // namespace lumivex::startup
