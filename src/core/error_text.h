// Text of the error message box: a failure's text closed with a full stop.
#pragma once

#include <string>

#include "core/png_decoder.h"

namespace lumivex::core {

// Appends "." when the last character sorts after "." in byte order. In the
// Japanese code page every byte of a non-ASCII character is 0x81 or above, so in
// UTF-16 any code unit above L'.' (all non-ASCII ones included) gets the stop.
inline std::wstring errorBoxText(std::wstring text) {
  if (!text.empty() && text.back() > L'.') text += L'.';
  return text;
}

// The PNG error a user reads: the library's number, so that a report can be traced, and the reason in Japanese.
inline std::wstring pngErrorText(const PngError& e) {
  const wchar_t* reason = L"データが壊れています";
  switch (e.kind()) {
    case PngError::Kind::Damaged: break;
    case PngError::Kind::NotPng: reason = L"PNG ファイルではありません"; break;
    case PngError::Kind::BadChecksum: reason = L"チェックサムが一致しません"; break;
    case PngError::Kind::Truncated: reason = L"ファイルが途中で切れています"; break;
    case PngError::Kind::TooLarge: reason = L"画像が大きすぎます"; break;
    case PngError::Kind::Unsupported: reason = L"対応していない形式です"; break;
  }
  return L"PNG エラー #" + std::to_wstring(e.code()) + L": " + reason;
}

}  // namespace lumivex::core
