// Text of the error message box: a failure's text closed with a full stop, and advice on a failed write.
#pragma once

#include <string>

#include "core/jpeg_decoder.h"
#include "core/png_decoder.h"

namespace lumivex::core {

// Appends "." when the last character sorts after "." in byte order. In the
// Japanese code page every byte of a non-ASCII character is 0x81 or above, so in
// UTF-16 any code unit above L'.' (all non-ASCII ones included) gets the stop.
inline std::wstring errorBoxText(std::wstring text) {
  if (!text.empty() && text.back() > L'.') text += L'.';
  return text;
}

// The JPEG error a user reads: the library's message number, so that a report can be traced.
inline std::wstring jpegErrorText(const JpegError& e) { return L"JPEG エラー #" + std::to_wstring(e.code()); }

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

// Why the program cannot write in its folder, as far as it can tell.
enum class FolderAccess {
  Writable,  // or the failure lies elsewhere (a file in use, a folder gone): no advice
  ReadOnly,  // a folder the user may not write to, or a read-only share
  Managed,   // a folder of installed programs, which an administrator keeps
};

// The failure's text, then on a line of its own (LF CR, as the boxes break lines) what the user can do.
inline std::wstring withWriteAdvice(std::wstring text, FolderAccess access) {
  switch (access) {
    case FolderAccess::Writable:
      break;
    case FolderAccess::ReadOnly:
      text += L"\n\rこのフォルダーには書き込めません。書き込みできるフォルダーに移してください";
      break;
    case FolderAccess::Managed:
      text += L"\n\r管理者がインストールしたフォルダーには書き込めません。設定の変更は管理者に依頼するか、"
              L"書き込みできるフォルダーに移してください";
      break;
  }
  return text;
}

}  // namespace lumivex::core
