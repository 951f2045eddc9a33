// Text of the error message box: a failure's text closed with a full stop.
#pragma once

#include <string>

namespace lumivex::core {

// Appends "." when the last character sorts after "." in byte order. In the
// Japanese code page every byte of a non-ASCII character is 0x81 or above, so in
// UTF-16 any code unit above L'.' (all non-ASCII ones included) gets the stop.
inline std::wstring errorBoxText(std::wstring text) {
  if (!text.empty() && text.back() > L'.') text += L'.';
  return text;
}

}  // namespace lumivex::core
