// The About dialog under Wine: the credits text with the user name, the version label and the stored picture.
#include <gtest/gtest.h>

#include <string>

#include "app_under_test.h"
#include "dialogs/about_dialog.h"
#include "dialogs/option_dialog.h"
#include "test_support.h"

using namespace lumivex;
using namespace lumivex::testing;

namespace {

std::wstring expectedText(const std::wstring& user) {
  return L"Lumivex\r\n\r\nLumivex Project\r\n\r\nお気づきの点などがありましたら、\r\n下記まで連絡を下さい。\r\n\r\n"
         L"lumivex@example.org\r\n\r\n励ましのメールなども待っています。\r\n\r\n利用者 " +
         user + L"\r\n\r\n";
}

struct Showing {
  std::wstring memo, version;
  int lines = 0;
};

// Opens the About dialog modally, records what it shows and closes it with its OK button.
Showing showAbout(ProgramRun& run) {
  Showing seen;
  AboutDialog& about = run.about();
  AboutDialogControls& ctl = controlsOf(about);
  run.services.queueModalHook([&](ui::Form&) {
    seen.memo = ctl.credits.text();
    seen.version = ctl.versionLabel.text();
    seen.lines = static_cast<int>(SendMessageW(ctl.credits.hwnd(), EM_GETLINECOUNT, 0, 0));
    press(ctl.okButton);
  });
  EXPECT_EQ(about.showModal(), ui::kResultOk);
  return seen;
}

using AboutDialogTest = ProgramFolderTest;

}  // namespace

TEST_F(AboutDialogTest, CreditsTextCarriesTheUserNameAsTyped) {
  const Showing unnamed = showAbout(*this);
  EXPECT_EQ(unnamed.memo, expectedText(L"未登録"));
  EXPECT_EQ(unnamed.version, L"Version 0.006");

  // Typed and never saved; each opening shows the name of the moment. A long name wraps onto further lines at the
  // box's width, and text beyond the visible lines is kept.
  const std::pair<std::wstring, const char*> names[] = {
      {L"   ", "blanks are a name, not an empty one"}, {L"山田 花子 ", "as typed"}, {std::wstring(300, L'名'), "long"}};
  for (const auto& [name, why] : names) {
    SCOPED_TRACE(why);
    controls().userNameEdit.setText(name);
    const Showing s = showAbout(*this);
    EXPECT_EQ(s.memo, expectedText(name));
    if (name.size() == 300) {
      EXPECT_GE(s.lines, unnamed.lines + 15);
    }
  }
  const LONG style = GetWindowLongW(controlsOf(about()).credits.hwnd(), GWL_STYLE);
  EXPECT_EQ(style & (WS_HSCROLL | WS_VSCROLL), 0);
}

TEST_F(AboutDialogTest, PictureIsTheStoredBitmapAtItsOwnSize) {
  const ui::Image& picture = controlsOf(about()).picture;
  const ui::Bounds image = picture.bounds();
  EXPECT_EQ(image.w, 301);
  EXPECT_EQ(image.h, 301);
  BITMAP shown{};
  ASSERT_EQ(GetObjectW(picture.bitmap(), sizeof(shown), &shown), static_cast<int>(sizeof(shown)))
      << "the picture is loaded from the program's resources";
  EXPECT_EQ(shown.bmWidth, 301);
  EXPECT_EQ(shown.bmHeight, 301);
  EXPECT_EQ(shown.bmBitsPixel, 8);
}
