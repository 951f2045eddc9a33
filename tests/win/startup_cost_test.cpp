// What keeps the start cheap: dialogs made at their first use, tooltips registered at the first showing, and
// controls bound through their window procedure rather than a subclass chain.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include <windows.h>
#include <commctrl.h>

#include "app_under_test.h"
#include "dialogs/about_dialog.h"
#include "dialogs/option_dialog.h"
#include "dialogs/position_dialog.h"
#include "dialogs/startup_registration_dialog.h"
#include "splash_pictures.h"
#include "test_support.h"
#include "ui/text.h"
#include "ui/controls.h"
#include "ui/form.h"

using namespace lumivex;
using namespace lumivex::testing;
using lumivex::testing::FakeServices;
using lumivex::testing::pumpUntil;
using lumivex::testing::TempFolder;

namespace {

int childWindows(HWND parent) {
  int n = 0;
  EnumChildWindows(
      parent,
      [](HWND, LPARAM p) -> BOOL {
        ++*reinterpret_cast<int*>(p);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&n));
  return n;
}

class HintedForm : public lumivex::testing::LoneForm {
 public:
  HintedForm() {
    create({L"Hinted", 300, 120, true, false, false, true, ui::kButtonFace});
    label.create(*this, {10, 10, 0, 0}, L"text");
    okButton.create(*this, {10, 50, 75, 25}, L"OK");
    okButton.setHint(L"hint");
  }
  ui::Label label{*this};
  ui::Button okButton{*this};
};

class ClickCounter : public ui::Button {
 public:
  using ui::Button::Button;
  int mouseMoves = 0;

 protected:
  LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_MOUSEMOVE) ++mouseMoves;
    return ui::Button::handleMessage(msg, wp, lp);
  }
};

class PlainForm : public lumivex::testing::LoneForm {
 public:
  PlainForm() { create({L"Plain", 300, 120, true, false, false, true, ui::kButtonFace}); }
};

}  // namespace

TEST(StartupCost, HintsReachTheTooltipWindowAtTheFirstShowing) {
  HintedForm f;
  EXPECT_EQ(lumivex::testing::tooltipOwnedBy(f.hwnd()), nullptr) << "no tooltip window for a form that has not been shown";
  f.okButton.setHint(L"later");
  f.show();
  const HWND tip = lumivex::testing::tooltipOwnedBy(f.hwnd());
  ASSERT_NE(tip, nullptr);
  wchar_t text[64]{};
  TOOLINFOW ti{};
  ti.cbSize = sizeof(ti);
  ti.hwnd = f.hwnd();
  ti.uId = reinterpret_cast<UINT_PTR>(f.okButton.hwnd());
  ti.uFlags = TTF_IDISHWND;
  ti.lpszText = text;
  ASSERT_TRUE(SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti)));
  EXPECT_STREQ(text, L"later");
  f.hide();
}

TEST(StartupCost, ControlsHearTheirMessagesAndOutliveOrPrecedeTheirWindowsSafely) {
  PlainForm f;
  auto button = std::make_unique<ClickCounter>(f);
  button->create(f, {10, 10, 75, 25}, L"OK");
  button->setHint(L"tip");  // a tooltip's own subclass on top of the control's procedure
  f.show();
  SendMessageW(button->hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
  EXPECT_EQ(button->mouseMoves, 1);
  EXPECT_EQ(SendMessageW(button->hwnd(), WM_GETTEXTLENGTH, 0, 0), 2) << "the class's own procedure still answers";

  // The object goes first: its window is destroyed and later messages find nothing of it.
  const HWND h = button->hwnd();
  button.reset();
  EXPECT_FALSE(IsWindow(h));

  // The window goes first (with its form): the object forgets it.
  {
    PlainForm owner;
    auto inner = std::make_unique<ClickCounter>(owner);
    inner->create(owner, {10, 10, 75, 25}, L"OK");
    DestroyWindow(owner.hwnd());
    EXPECT_EQ(inner->hwnd(), nullptr);
    inner.reset();
  }
  f.hide();
}

namespace {

// The class names of the thread's top-level windows, without the input method's own.
std::multiset<std::wstring> topLevelWindows() {
  std::multiset<std::wstring> found;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND h, LPARAM p) -> BOOL {
        wchar_t name[64]{};
        GetClassNameW(h, name, 64);
        if (std::wstring(name) != L"IME") reinterpret_cast<std::multiset<std::wstring>*>(p)->insert(name);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

}  // namespace

// Up to the splash window's first paint a normal run makes the owner window and the splash window and nothing
// else; each dialog is made, with its controls, when it is first asked for.
TEST(StartupCost, ANormalRunMakesTheDialogsAtTheirFirstUse) {
  TempFolder dir;
  const std::wstring picture = dir.file(L"logo.bmp");
  lumivex::testing::writeFileBytes(picture, lumivex::testing::bmpFile(64, 48, [](int, int) { return 0x336699u; }));
  lumivex::testing::writeFileBytes(dir.file(L"lumivex.ini"),
                                   "[option]\r\nsplashtime=180\r\n[pic]\r\npicture=" + ui::narrow(picture) + "\r\n");
  FakeServices services(dir.file(L"lumivex.exe"));
  const std::multiset<std::wstring> before = topLevelWindows();
  TestApplication program(services);
  splash().show();
  UpdateWindow(splash().hwnd());
  std::multiset<std::wstring> made = topLevelWindows();
  for (const std::wstring& name : before) made.erase(made.find(name));
  std::wstring names;
  for (const std::wstring& name : made) names += name + L" ";
  EXPECT_EQ(made.size(), 2u) << "the owner window and the splash window, not " << ui::narrow(names);
  EXPECT_FALSE(program.optionDialogMade());

  bool seen = false;
  fakeServices().queueModalHook([&](ui::Form&) {
    seen = about().versionLabel.text() == L"Version 0.006" && childWindows(about().hwnd()) == 4;
    PostMessageW(about().okButton.hwnd(), BM_CLICK, 0, 0);
  });
  EXPECT_EQ(about().showModal(), ui::kResultOk);
  EXPECT_TRUE(seen);
  EXPECT_FALSE(program.optionDialogMade()) << "one dialog does not bring the others";
  EXPECT_GT(childWindows(option().hwnd()), 40);
}
