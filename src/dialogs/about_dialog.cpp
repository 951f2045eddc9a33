// The About dialog: picture, version, credits and the user name as typed.
#include "dialogs/about_dialog.h"

#include <string>
#include <vector>

#include "core/version.h"
#include "ui/layout.h"

namespace lumivex {
namespace {

constexpr wchar_t kProductName[] = L"Lumivex";
constexpr wchar_t kAuthorName[] = L"Lumivex Project";
constexpr wchar_t kContactAddress[] = L"lumivex@example.org";
constexpr wchar_t kUnregistered[] = L"未登録";

}  // namespace

AboutDialog::AboutDialog(ui::Session& session, const core::Settings& settings)
    : Form(session), AboutDialogControls(static_cast<ui::Form&>(*this)), settings_(settings) {}
AboutDialog::~AboutDialog() = default;

void AboutDialog::create() {
  ui::Form::create(ui::fixedDialogStyle(L"About", 505, 321));

  credits.readOnly = true;
  ui::createLayout({
      {picture, *this, 16, 10, 301, 301, L""},
      {credits, *this, 330, 10, 169, 265, L""},
      {versionLabel, *this, 336, 292, 0, 0, (std::wstring(L"Version ") + core::kVersionText).c_str()},
      {okButton, *this, 424, 286, 75, 25, L"OK"},
  });

  picture.setBitmap(ui::BitmapHandle(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), L"ABOUTPICTURE",
                                                                    IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))),
                   true);
  okButton.setGlyph(L"BBOK");
  okButton.modalResult = ui::kResultOk;
  okButton.setDefault(true);
  setTabOrder({&credits, &okButton});

  onShow = [this] { onShowing(); };
}

void AboutDialog::onShowing() {
  std::wstring user = settings_.userName;
  if (user.empty()) user = kUnregistered;
  const std::vector<std::wstring> lines = {
      kProductName,
      L"",
      kAuthorName,
      L"",
      L"お気づきの点などがありましたら、",
      L"下記まで連絡を下さい。",
      L"",
      kContactAddress,
      L"",
      L"励ましのメールなども待っています。",
      L"",
      L"利用者 " + user,
  };
  std::wstring text;
  for (const std::wstring& line : lines) text += line + L"\r\n";
  credits.clear();
  credits.addLine(text);
}

}  // namespace lumivex
