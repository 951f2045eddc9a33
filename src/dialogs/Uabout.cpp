// The About dialog: picture, version, credits and the user name as typed.
#include "dialogs/Uabout.h"

#include <string>
#include <vector>

#include "app/application.h"
#include "app/version.h"
#include "dialogs/Uoption.h"
#include "ui/layout.h"

namespace lumivex {
namespace {

constexpr wchar_t kProductName[] = L"Lumivex";
constexpr wchar_t kAuthorName[] = L"Lumivex Project";
constexpr wchar_t kContactAddress[] = L"lumivex@example.org";
constexpr wchar_t kUnregistered[] = L"未登録";

}  // namespace

TAbout::TAbout() = default;
TAbout::~TAbout() = default;

void TAbout::create() {
  ui::FormStyle style;
  style.caption = L"About";
  style.clientWidth = 505;
  style.clientHeight = 321;
  style.fixedDialogFrame = true;
  style.centreOnFirstShow = true;
  ui::Form::create(style);

  // The controls are made when the dialog is first shown.
  deferControls([this] {
    Memo1.readOnly = true;
    ui::createLayout({
        {Image1, *this, 16, 10, 301, 301, L""},
        {Memo1, *this, 330, 10, 169, 265, L""},
        {verLbl, *this, 336, 292, 0, 0, L""},
        {BitBtn1, *this, 424, 286, 75, 25, L"OK"},
    });

    Image1.setBitmap(ui::BitmapHandle(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), L"ABOUTPICTURE",
                                                                      IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))),
                     true);
    BitBtn1.setGlyph(L"BBOK");
    BitBtn1.modalResult = ui::kResultOk;
    BitBtn1.setDefault(true);
    setTabOrder({&Memo1, &BitBtn1});

    FormCreate();
  });
  onShow = [this] { FormShow(); };
}

void TAbout::FormCreate() { verLbl.setText(std::wstring(L"Version ") + app::kVersionText); }

void TAbout::FormShow() {
  std::wstring user = Option->nameEdt.text();
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
  Memo1.clear();
  Memo1.addLine(text);
}

}  // namespace lumivex
