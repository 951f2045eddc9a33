// The window layer under Wine: timers, modal forms, dialog keys, change reactions, tooltips, boxes and the dispatch
// guard.
#include <gtest/gtest.h>

#include <memory>

#include <windows.h>
#include <commctrl.h>

#include "test_support.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/form.h"
#include "ui/message_box.h"
#include "ui/timer.h"

using namespace lumivex;
using namespace lumivex::testing;

namespace {

class TestForm : public LoneForm {
 public:
  TestForm() {
    create(ui::fixedDialogStyle(L"Test", 300, 200));
    panel.create(*this, {10, 100, 280, 40}, L"");
    okButton.create(panel, {10, 8, 75, 25}, L"OK");
    edit.create(*this, {10, 10, 100, 20}, L"");
    check.create(*this, {10, 40, 100, 20}, L"check");
    spin.create(*this, {10, 70, 60, 21}, L"5");
    okButton.modalResult = ui::kResultOk;
    okButton.setDefault(true);
    setTabOrder({&edit, &check, &spin, &panel});
  }
  ui::Container panel{*this, ui::Container::Frame::RaisedPanel};
  ui::Button okButton{*this};
  ui::Edit edit{*this};
  ui::CheckBox check{*this};
  ui::SpinEdit spin{*this, 1, 10};
};

// A button that counts the mouse moves its window procedure is given.
class MouseMoveCounter : public ui::Button {
 public:
  using ui::Button::Button;
  int mouseMoves = 0;

 protected:
  LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_MOUSEMOVE) ++mouseMoves;
    return ui::Button::handleMessage(msg, wp, lp);
  }
};

}  // namespace

TEST(Timer, IntervalEnableSemantics) {
  OwnSession own;
  ui::Timer t(own.session, 50, true);
  int ticks = 0;
  t.onTick = [&] { ++ticks; };
  ASSERT_TRUE(pumpUntil([&] { return ticks >= 1; }, 2000));
  t.setEnabled(false);
  const int stopped = ticks;
  pumpFor(150);
  EXPECT_EQ(ticks, stopped) << "a disabled timer does not tick";

  // Setting the same interval half way changes nothing: the tick comes before a restarted count could end. A new
  // interval restarts the count from zero: no tick before its full length. A late pump or tick has 600 ms to spare.
  t.setInterval(1200);
  t.setEnabled(true);
  const ULONGLONG start = GetTickCount64();
  pumpFor(600);
  const ULONGLONG sameSet = GetTickCount64();
  t.setInterval(1200);
  EXPECT_EQ(ticks, stopped);
  ASSERT_TRUE(pumpUntil([&] { return ticks > stopped; }, 4000));
  const ULONGLONG tick = GetTickCount64();
  EXPECT_GE(tick - start, 1190u) << "a new interval runs its full length";
  EXPECT_LT(tick, sameSet + 1200) << "the same interval must not restart the count";
}

TEST(Timer, ErrorBoxPausesOnlyMarkedTimersAndRestartsThemAtFullLength) {
  OwnSession own;
  ui::Timer countdown(own.session, 100, true), other(own.session, 30, true);
  countdown.pausesForErrorBox = true;
  int countdownTicks = 0, otherTicks = 0;
  countdown.onTick = [&] { ++countdownTicks; };
  other.onTick = [&] { ++otherTicks; };
  own.services.onBox = [&](const FakeServices::Box&) {
    EXPECT_FALSE(countdown.enabled());
    EXPECT_TRUE(other.enabled());
    pumpFor(300);
  };
  own.session.showError(L"書き込めません");
  const ULONGLONG closed = GetTickCount64();
  EXPECT_EQ(countdownTicks, 0);
  EXPECT_GT(otherTicks, 0);
  EXPECT_TRUE(countdown.enabled());
  ASSERT_EQ(own.services.boxes.size(), 1u);
  EXPECT_EQ(own.services.boxes[0].text, L"書き込めません.");
  ASSERT_TRUE(pumpUntil([&] { return countdownTicks > 0; }));
  EXPECT_GE(GetTickCount64() - closed, 95u) << "the countdown starts again at its full length";
}

// Enter presses the default button when the focus is not on another button; the form hides as its loop ends.
TEST(Form, EnterEndsTheModalLoopWithTheDefaultButtonsResult) {
  TestForm form;
  form.services.queueModalHook([](ui::Form& f) {
    auto& tf = static_cast<TestForm&>(f);
    tf.edit.focus();
    postKey(tf.edit.hwnd(), VK_RETURN);
  });
  EXPECT_EQ(form.showModal(), ui::kResultOk);
  EXPECT_FALSE(form.visible());
}

// The dispatch guard of the button's container shows the handler's error (the start-up registration's tests see the
// guard of a form for the buttons on it).
TEST(Form, ModalResultOfAButtonHoldsEvenWhenItsHandlerFails) {
  TestForm form;
  form.okButton.onClick = [] { throw ui::AppError(L"失敗"); };
  form.services.queueModalHook([](ui::Form& f) {
    press(static_cast<TestForm&>(f).okButton);
  });
  EXPECT_EQ(form.showModal(), ui::kResultOk);
  ASSERT_EQ(form.services.boxes.size(), 1u);
  EXPECT_EQ(form.services.boxes[0].kind, ui::BoxKind::Error);
  EXPECT_EQ(form.services.boxes[0].text, L"失敗.");
}

TEST(Form, CentredOnTheDesktopAtTheFirstShowingOnly) {
  TestForm form;
  form.services.queueModalHook([](ui::Form& f) { f.setModalResult(ui::kResultOk); });
  form.showModal();
  const int w = form.width(), h = form.height();
  EXPECT_EQ(form.left(), (GetSystemMetrics(SM_CXSCREEN) - w) / 2);
  EXPECT_EQ(form.top(), (GetSystemMetrics(SM_CYSCREEN) - h) / 2);
  form.setLeft(5);
  form.setTop(7);
  form.services.queueModalHook([](ui::Form& f) { f.setModalResult(ui::kResultOk); });
  form.showModal();
  EXPECT_EQ(form.left(), 5);
  EXPECT_EQ(form.top(), 7);
}

TEST(Controls, SettersRunChangeReactionsOnlyOnRealChange) {
  TestForm form;
  int clicks = 0, changes = 0;
  form.check.onClick = [&] { ++clicks; };
  form.spin.onChange = [&] { ++changes; };
  form.check.setChecked(false);
  EXPECT_EQ(clicks, 0);
  form.check.setChecked(true);
  form.check.setChecked(true);
  EXPECT_EQ(clicks, 1);
  form.spin.setValue(5);
  EXPECT_EQ(changes, 0);
  form.spin.setValue(7);
  EXPECT_EQ(changes, 1);
}

// Measured as the window itself draws the text: its own font on its own DC.
SIZE drawnLine(HWND label) {
  ui::WindowDc dc(label);
  ui::SelectGuard font(dc.get(), reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
  wchar_t text[256];
  const int n = GetWindowTextW(label, text, 256);
  SIZE sz{};
  GetTextExtentPoint32W(dc.get(), text, n, &sz);
  TEXTMETRICW tm{};
  GetTextMetricsW(dc.get(), &tm);
  return {sz.cx, tm.tmHeight};
}

TEST(Controls, LabelSizesItselfToItsTextInItsFontUnlessItWraps) {
  TestForm form;
  ui::Label label{form}, big{form}, wrapped{form};
  label.create(form, {150, 10, 5, 5}, L"ラベル");
  const SIZE first = drawnLine(label.hwnd());
  EXPECT_EQ(label.bounds().w, first.cx);
  EXPECT_EQ(label.bounds().h, first.cy);
  label.setText(L"もっと長いラベルの文字列");
  EXPECT_GT(label.bounds().w, first.cx);
  EXPECT_EQ(label.bounds().w, drawnLine(label.hwnd()).cx);
  EXPECT_EQ(label.bounds().x, 150) << "it grows to the right";

  const ui::FontHandle font = ui::makeUiFont(30);
  big.create(form, {150, 40, 5, 5}, L"");
  SendMessageW(big.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
  big.setText(L"大きい");
  EXPECT_EQ(big.bounds().w, drawnLine(big.hwnd()).cx);
  EXPECT_EQ(big.bounds().h, drawnLine(big.hwnd()).cy);
  EXPECT_GT(big.bounds().h, first.cy);

  wrapped.wordWrap = true;
  wrapped.create(form, {150, 90, 40, 50}, L"折り返すラベルの長い文字列");
  EXPECT_EQ(wrapped.bounds().w, 40);
  EXPECT_EQ(wrapped.bounds().h, 50);
}

TEST(Controls, SpinEditReadsATypedNumberAsTypedUntilTheFocusLeaves) {
  TestForm form;
  SetWindowTextW(form.spin.hwnd(), L"25");
  EXPECT_EQ(form.spin.value(), 25);
  form.show();
  form.spin.focus();
  form.edit.focus();
  EXPECT_EQ(form.spin.text(), L"10") << "leaving the spin edit brings the typed value to the nearer bound";
  form.hide();
}

TEST(Controls, HintsReachTheTooltipWindowAtTheFirstShowing) {
  TestForm form;
  form.okButton.setHint(L"hint");
  EXPECT_EQ(tooltipOwnedBy(form.hwnd()), nullptr) << "no tooltip window for a form that has not been shown";
  form.okButton.setHint(L"later");
  form.show();
  const HWND tip = tooltipOwnedBy(form.hwnd());
  ASSERT_NE(tip, nullptr);
  wchar_t text[64]{};
  TOOLINFOW ti{};
  ti.cbSize = sizeof(ti);
  ti.hwnd = form.hwnd();
  ti.uId = reinterpret_cast<UINT_PTR>(form.okButton.hwnd());
  ti.uFlags = TTF_IDISHWND;
  ti.lpszText = text;
  ASSERT_TRUE(SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&ti)));
  EXPECT_STREQ(text, L"later");
  form.hide();
}

// Bound through their window procedure rather than a subclass chain.
TEST(Controls, HearTheirMessagesAndOutliveOrPrecedeTheirWindowsSafely) {
  TestForm form;
  auto button = std::make_unique<MouseMoveCounter>(form);
  button->create(form, {150, 10, 75, 25}, L"OK");
  button->setHint(L"tip");  // a tooltip's own subclass on top of the control's procedure
  form.show();
  SendMessageW(button->hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
  EXPECT_EQ(button->mouseMoves, 1);
  EXPECT_EQ(SendMessageW(button->hwnd(), WM_GETTEXTLENGTH, 0, 0), 2) << "the class's own procedure still answers";

  // The object goes first: its window is destroyed and later messages find nothing of it.
  const HWND h = button->hwnd();
  button.reset();
  EXPECT_FALSE(IsWindow(h));

  // The window goes first (with its form): the object forgets it.
  {
    TestForm owner;
    auto inner = std::make_unique<MouseMoveCounter>(owner);
    inner->create(owner, {150, 10, 75, 25}, L"OK");
    DestroyWindow(owner.hwnd());
    EXPECT_EQ(inner->hwnd(), nullptr);
    inner.reset();
  }
  form.hide();
}
