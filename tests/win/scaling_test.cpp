// Display scaling: design pixels at every common dpi, the option dialog laid out for the screen's dpi with its text
// fitting its controls, and an open form following a move to a screen of another dpi. Run at 96 and at 144 dpi.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "option_fixture.h"
#include "splash_fixture.h"
#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/form.h"
#include "ui/handles.h"
#include "ui/scaling.h"

using namespace lumivex;
using namespace lumivex::testing;

namespace {

int scaled(int design) { return design * screenDpi() / 96; }

RECT rectInParent(HWND h) {
  RECT r{};
  GetWindowRect(h, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(h), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// The width of a window's text in the font it draws with.
int textWidth(HWND h, const std::wstring& text) {
  const auto font = reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0));
  return ui::measureLine(font, text).cx;
}

std::wstring textOf(HWND h) {
  std::wstring s(static_cast<size_t>(GetWindowTextLengthW(h)) + 1, L'\0');
  s.resize(static_cast<size_t>(GetWindowTextW(h, s.data(), static_cast<int>(s.size()))));
  return s;
}

int fontHeight(HWND h) {
  LOGFONTW lf{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0)), sizeof(lf), &lf);
  return -lf.lfHeight;
}

class ScaledForm : public lumivex::testing::LoneForm {
 public:
  ScaledForm() {
    create({L"Scaled", 300, 200, true, false, true, true, ui::kButtonFace});
    panel.create(*this, {10, 100, 280, 40}, L"");
    okButton.create(panel, {10, 8, 75, 25}, L"OK");
    label.create(*this, {10, 10, 0, 0}, L"ラベルの文字");
    spin.create(*this, {10, 70, 61, 21}, L"5");
    combo.create(*this, {120, 10, 150, 20}, L"");
    combo.setItems({L"一", L"二", L"三"});
    okButton.setGlyph(L"BBOK");
  }
  ui::Container panel{*this, ui::Container::Frame::RaisedPanel};
  ui::Button okButton{*this};
  ui::Label label{*this};
  ui::SpinEdit spin{*this, 1, 10};
  ui::ComboBox combo{*this};
};

int droppedHeight(const ui::ComboBox& combo) {
  RECT dropped{};
  SendMessageW(combo.hwnd(), CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
  return dropped.bottom - dropped.top;
}

}  // namespace

TEST(Scaling, DesignPixelsAndScreenPixelsMeetAtEveryCommonDpi) {
  for (int dpi : {96, 120, 144, 168, 192}) {
    for (int v = -40; v <= 1200; ++v) {
      ASSERT_EQ(ui::toDesign(ui::toPixels(v, dpi), dpi), v) << v << " at " << dpi << " dpi";
      ASSERT_LE(ui::toPixels(v, dpi), ui::toPixels(v + 1, dpi) - 1) << "distinct design pixels stay distinct";
      if (dpi == 96) {
        ASSERT_EQ(ui::toPixels(v, dpi), v) << "nothing changes at 96 dpi";
      }
    }
  }
}

TEST(Scaling, TheOptionDialogIsLaidOutForTheScreensDpiAndItsTextFits) {
  OptionRun run;
  OptionDialog& o = run.option();
  auto& ctl = controlsOf(o);
  EXPECT_EQ(o.dpi(), screenDpi());
  EXPECT_EQ(clientSize(o.hwnd()).cx, scaled(532));
  EXPECT_EQ(clientSize(o.hwnd()).cy, scaled(357));
  EXPECT_EQ(fontHeight(ctl.okButton.hwnd()), scaled(12));
  EXPECT_EQ(fontHeight(ctl.placementGroup.itemHwnd(1)), scaled(12));

  run.withDialogOpen([](OptionDialog& d) {
    auto& ctl = controlsOf(d);
    // Buttons: the caption, and the glyph beside it, within the button's face.
    for (const ui::Button* b : {&ctl.okButton, &ctl.closeButton, &ctl.defaultButton, &ctl.choosePictureButton, &ctl.aboutButton, &ctl.startupRegistrationButton, &ctl.positionButton}) {
      const SIZE size = clientSize(b->hwnd());
      EXPECT_NEAR(size.cy, scaled(25), 1) << textOf(b->hwnd());
      SIZE ideal{};
      SendMessageW(b->hwnd(), BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal));
      EXPECT_LE(ideal.cx, size.cx) << "the caption and glyph of \"" << textOf(b->hwnd()) << "\" fit";
    }
    // Check box and radio items: the box and the caption.
    const int box = GetSystemMetrics(SM_CXMENUCHECK);
    for (HWND h : {ctl.messageBackgroundCheck.hwnd(), ctl.placementGroup.itemHwnd(0), ctl.placementGroup.itemHwnd(1)})
      EXPECT_LE(box + textWidth(h, textOf(h)), clientSize(h).cx) << textOf(h);
    // Group boxes: the caption within the frame.
    for (const ui::Container* g : std::initializer_list<const ui::Container*>{
             &ctl.displayTimeGroup, &ctl.pictureGroup, &ctl.messageGroup, &ctl.borderGroup, &ctl.translucencyGroup, &ctl.placementGroup, &ctl.windowColourGroup})
      EXPECT_LE(scaled(9) + ui::measureLine(ui::uiFont(d.dpi()), textOf(g->hwnd())).cx, clientSize(g->hwnd()).cx)
          << textOf(g->hwnd());
    // The longest message of the README's example within the combo box's edit field.
    const std::wstring message = L"起動中・・・  Lumivex 0.006";
    ctl.messageCombo.setText(message);
    RECT field{};
    GetClientRect(ctl.messageCombo.editHwnd(), &field);
    EXPECT_LE(textWidth(ctl.messageCombo.editHwnd(), message), field.right);
    // The spin buttons have their design width at the screen's scale (the system's arrows in them are scaled).
    const HWND spinButtons = FindWindowExW(ctl.displayTimeGroup.hwnd(), nullptr, UPDOWN_CLASSW, nullptr);
    EXPECT_NEAR(rectInParent(spinButtons).right - rectInParent(spinButtons).left, scaled(16), 1);
    // The guidance line and the pointer: one line of text high, the pointer's design stop.
    EXPECT_GE(clientSize(ctl.guidanceLine.hwnd()).cy, ui::measureLine(ui::uiFont(d.dpi()), L"").cy);
    EXPECT_EQ(ctl.guidancePointer.bounds().x, 498) << "label places read in design pixels";
  });
}

// The glyph's transparent background shows the button's face at every dpi, not a black square.
TEST(Scaling, AGlyphIsDrawnOnTheButtonsFaceAtTheScreensDpi) {
  ScaledForm form;
  form.show();
  pumpUntil([&] { return !GetUpdateRect(form.okButton.hwnd(), nullptr, FALSE); }, 1000);
  pumpFor(50);
  const SIZE size = clientSize(form.okButton.hwnd());
  const int glyph = ui::toPixels(18, form.dpi()), top = (size.cy - glyph) / 2;
  int black = 0, face = 0;
  {
    ui::WindowDc dc(form.okButton.hwnd());
    const COLORREF buttonFace = GetPixel(dc.get(), size.cx - form.px(6), size.cy / 2);
    for (int y = top; y < top + glyph; ++y)
      for (int x = form.px(2); x < form.px(2) + glyph; ++x) {
        const COLORREF c = GetPixel(dc.get(), x, y);
        black += c == RGB(0, 0, 0);
        face += c == buttonFace;
      }
  }
  form.hide();
  EXPECT_LT(black, glyph) << "black pixels in the glyph's square of " << glyph << " px";
  EXPECT_GT(face, glyph * glyph / 3) << "the face shows around the check mark";
}

TEST(Scaling, AnOpenFormFollowsAMoveToAScreenOfAnotherDpi) {
  ScaledForm form;
  form.show();
  const int from = form.dpi(), to = from * 3 / 2;
  const std::vector<HWND> windows{form.panel.hwnd(), form.okButton.hwnd(), form.label.hwnd(), form.spin.hwnd(),
                                  form.combo.hwnd()};
  std::vector<RECT> before;
  for (HWND h : windows) before.push_back(rectInParent(h));
  const ui::Bounds labelDesign = form.label.bounds();

  auto moveTo = [&](int dpi) {
    RECT frame{};
    GetWindowRect(form.hwnd(), &frame);
    RECT suggested{0, 0, ui::toPixels(300, dpi), ui::toPixels(200, dpi)};
    AdjustWindowRectEx(&suggested, static_cast<DWORD>(GetWindowLongW(form.hwnd(), GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(form.hwnd(), GWL_EXSTYLE)));
    OffsetRect(&suggested, frame.left - suggested.left, frame.top - suggested.top);
    SendMessageW(form.hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  };

  moveTo(to);
  EXPECT_EQ(form.dpi(), to);
  EXPECT_EQ(clientSize(form.hwnd()).cx, ui::toPixels(300, to)) << "the suggested rectangle is taken";
  EXPECT_EQ(clientSize(form.hwnd()).cy, ui::toPixels(200, to));
  const RECT button = rectInParent(form.okButton.hwnd());
  EXPECT_EQ(button.left, ui::toPixels(10, to));
  EXPECT_EQ(button.bottom - button.top, ui::toPixels(33, to) - ui::toPixels(8, to));
  EXPECT_EQ(rectInParent(form.panel.hwnd()).right, ui::toPixels(290, to));
  EXPECT_EQ(fontHeight(form.okButton.hwnd()), ui::toPixels(12, to));
  EXPECT_EQ(fontHeight(form.label.hwnd()), ui::toPixels(12, to));
  const SIZE line = ui::measureLine(ui::uiFont(to), L"ラベルの文字");
  EXPECT_EQ(clientSize(form.label.hwnd()).cx, line.cx) << "the label sizes itself in its new font";
  EXPECT_EQ(clientSize(form.label.hwnd()).cy, line.cy);
  EXPECT_EQ(form.label.bounds().x, labelDesign.x);
  EXPECT_EQ(form.label.bounds().y, labelDesign.y);
  BUTTON_IMAGELIST list{};
  SendMessageW(form.okButton.hwnd(), BCM_GETIMAGELIST, 0, reinterpret_cast<LPARAM>(&list));
  int glyphW = 0, glyphH = 0;
  ASSERT_NE(list.himl, nullptr);
  ImageList_GetIconSize(list.himl, &glyphW, &glyphH);
  EXPECT_EQ(glyphH, ui::toPixels(18, to)) << "the glyph grows with the text";
  EXPECT_GT(droppedHeight(form.combo), ui::toPixels(350, to)) << "the combo box keeps its list, at the new scale";

  moveTo(from);
  for (size_t i = 0; i < windows.size(); ++i) {
    const RECT now = rectInParent(windows[i]);
    EXPECT_TRUE(EqualRect(&now, &before[i])) << "window " << i << " is back at its place";
  }
  EXPECT_EQ(fontHeight(form.okButton.hwnd()), ui::toPixels(12, from));
  EXPECT_GT(droppedHeight(form.combo), ui::toPixels(350, from));
  EXPECT_LE(droppedHeight(form.combo), ui::toPixels(400, from));
  form.hide();
}

TEST(Scaling, TheSplashIsThePicturesSizeAtAnyDpiAndKeepsItOnAScreenOfAnotherDpi) {
  SplashRun run({L"a.bmp", bmpFile(400, 300, solid(0x00C000))});
  run.show();
  const HWND h = run.splash().hwnd();
  RECT frame{};
  GetWindowRect(h, &frame);
  RECT suggested{frame.left + 10, frame.top + 20, frame.left + 10 + 600, frame.top + 20 + 450};
  const int dpi = run.splash().dpi() * 3 / 2;
  SendMessageW(h, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(outerSize(h).cx, 400) << "the picture keeps its own pixel size";
  EXPECT_EQ(outerSize(h).cy, 300);
  EXPECT_EQ(run.splash().left(), frame.left + 10) << "the window goes where the system puts it";
}
