// The About dialog under Wine: the credits text with the user name, the version label and the stored picture.
#include <gtest/gtest.h>

#include <string>

#include "app_under_test.h"
#include "dialogs/about_dialog.h"
#include "dialogs/option_dialog.h"
#include "test_support.h"

using namespace lumivex;
using namespace lumivex::testing;
using lumivex::testing::pumpUntil;
using lumivex::testing::TempFolder;

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
  run.services.queueModalHook([&](ui::Form&) {
    seen.memo = about.credits.text();
    seen.version = about.versionLabel.text();
    seen.lines = static_cast<int>(SendMessageW(about.credits.hwnd(), EM_GETLINECOUNT, 0, 0));
    PostMessageW(about.okButton.hwnd(), BM_CLICK, 0, 0);
  });
  EXPECT_EQ(about.showModal(), ui::kResultOk);
  return seen;
}

using AboutDialogTest = ProgramFolderTest;

}  // namespace

TEST_F(AboutDialogTest, CreditsTextCarriesTheUserNameAsTyped) {
  controls().userNameEdit.setText(L"");
  Showing s = showAbout(*this);
  EXPECT_EQ(s.memo, expectedText(L"未登録"));
  const int shortNameLines = s.lines;
  EXPECT_EQ(s.version, L"Version 0.006");

  controls().userNameEdit.setText(L"   ");
  s = showAbout(*this);
  EXPECT_EQ(s.memo, expectedText(L"   ")) << "blanks are a name, not an empty one";

  // Typed and never saved; reopening after a change shows only the new name.
  controls().userNameEdit.setText(L"山田 花子 ");
  EXPECT_EQ(showAbout(*this).memo, expectedText(L"山田 花子 "));
  controls().userNameEdit.setText(L"Taro");
  s = showAbout(*this);
  EXPECT_EQ(s.memo, expectedText(L"Taro"));
  EXPECT_EQ(s.version, L"Version 0.006");

  // A long name wraps onto further lines at the box's width, and text beyond the visible lines is kept.
  const std::wstring name(300, L'名');
  controls().userNameEdit.setText(name);
  s = showAbout(*this);
  EXPECT_EQ(s.memo, expectedText(name));
  EXPECT_GE(s.lines, shortNameLines + 15);
  const LONG style = GetWindowLongW(about().credits.hwnd(), GWL_STYLE);
  EXPECT_EQ(style & (WS_HSCROLL | WS_VSCROLL), 0);
}

TEST_F(AboutDialogTest, OpenedFromTheOptionDialogsAboutButton) {
  controls().userNameEdit.setText(L"user");
  option().show();
  bool seen = false;
  services.queueModalHook([&](ui::Form& f) {
    seen = &f == &about() && about().credits.text() == expectedText(L"user");
    PostMessageW(about().okButton.hwnd(), BM_CLICK, 0, 0);
  });
  PostMessageW(controls().aboutButton.hwnd(), BM_CLICK, 0, 0);
  ASSERT_TRUE(pumpUntil([&] { return services.pendingModalHooks() == 0 && !about().visible(); }));
  EXPECT_TRUE(seen);
  option().hide();
}

TEST_F(AboutDialogTest, PictureIsTheStoredBitmapAtItsOwnSize) {
  const ui::Bounds image = about().picture.bounds();
  EXPECT_EQ(image.w, 301);
  EXPECT_EQ(image.h, 301);
  HRSRC found = FindResourceW(nullptr, L"ABOUTPICTURE", MAKEINTRESOURCEW(2) /* RT_BITMAP */);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(SizeofResource(nullptr, found), 92582u - 14u) << "a 92,582-byte file without its file header";
  const auto* info = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(nullptr, found)));
  ASSERT_NE(info, nullptr);
  EXPECT_EQ(info->biSize, 40u);
  EXPECT_EQ(info->biWidth, 301);
  EXPECT_EQ(info->biHeight, 301);
  EXPECT_EQ(info->biBitCount, 8);
  EXPECT_EQ(info->biCompression, static_cast<DWORD>(BI_RGB));
  EXPECT_TRUE(info->biClrUsed == 0 || info->biClrUsed == 256u);
}
