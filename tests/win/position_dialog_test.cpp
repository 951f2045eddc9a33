// The logo position dialog under Wine: placement over the splash window, dragging, OK and Cancel, the outline.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app_under_test.h"
#include "dialogs/position_dialog.h"
#include "splash/splash_window.h"
#include "test_support.h"
#include "ui/handles.h"

using namespace lumivex;
using namespace lumivex::testing;

namespace {

struct Rect {
  int left, top, width, height;
  bool operator==(const Rect& o) const {
    return left == o.left && top == o.top && width == o.width && height == o.height;
  }
};

Rect boundsOf(const ui::Form& f) { return {f.left(), f.top(), f.width(), f.height()}; }

void placeSplash(ui::Form& splash, const Rect& r) {
  splash.setLeft(r.left);
  splash.setTop(r.top);
  splash.setWidth(r.width);
  splash.setHeight(r.height);
}

void moveFrame(const ui::Form& frame, int left, int top) {
  SetWindowPos(frame.hwnd(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

struct PositionDialogTest : ProgramFolderTest {
  PositionDialogControls& dialogControls() { return controlsOf(positionDialog()); }
};

}  // namespace

TEST_F(PositionDialogTest, OpensExactlyOverTheSplashWindowShowingItsPosition) {
  EXPECT_EQ(boundsOf(positionDialog()), (Rect{positionDialog().left(), positionDialog().top(), 540, 307}));
  const Rect splashBounds = boundsOf(splash());
  Rect seen{};
  std::wstring topText, leftText;
  const auto showAndLook = [&] {
    services.queueModalHook([&](ui::Form&) {
      seen = boundsOf(positionDialog());
      topText = dialogControls().topValue.text();
      leftText = dialogControls().leftValue.text();
      press(dialogControls().cancelButton);
    });
    positionDialog().showModal();
  };
  showAndLook();
  EXPECT_EQ(seen, splashBounds) << "the never-shown splash window's bounds from its creation";

  placeSplash(splash(), {-40, -116, 300, 200});
  showAndLook();
  EXPECT_EQ(seen, (Rect{-40, -116, 300, 200}));
  EXPECT_EQ(topText, L"-116");
  EXPECT_EQ(leftText, L"-40");
}

TEST_F(PositionDialogTest, OkMovesTheSplashWindowCancelAndEscDoNot) {
  placeSplash(splash(), {100, 50, 320, 240});
  // At the first opening Cancel has the focus, so Enter presses it.
  HWND focus = nullptr;
  services.queueModalHook([&](ui::Form&) {
    focus = GetFocus();
    moveFrame(positionDialog(), 300, 200);
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_RETURN, 0);
  });
  EXPECT_EQ(positionDialog().showModal(), ui::kResultCancel);
  EXPECT_EQ(focus, dialogControls().cancelButton.hwnd());
  EXPECT_EQ(boundsOf(splash()), (Rect{100, 50, 320, 240}));

  services.queueModalHook([&](ui::Form&) {
    moveFrame(positionDialog(), 310, 210);
    PostMessageW(dialogControls().okButton.hwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
  });
  EXPECT_EQ(positionDialog().showModal(), ui::kResultCancel);
  EXPECT_EQ(boundsOf(splash()), (Rect{100, 50, 320, 240}));

  services.queueModalHook([&](ui::Form&) {
    moveFrame(positionDialog(), -20, 400);
    press(dialogControls().okButton);
  });
  EXPECT_EQ(positionDialog().showModal(), ui::kResultOk);
  EXPECT_EQ(boundsOf(splash()), (Rect{-20, 400, 320, 240}));
}

TEST_F(PositionDialogTest, SurfaceDragsTheFramePanelAndButtonsDoNot) {
  placeSplash(splash(), {200, 150, 400, 300});
  int surfaceHit = 0, labelHit = 0, panelHit = 0;
  HWND underLabel = nullptr, underPanel = nullptr;
  std::wstring topAfterDrag, leftAfterDrag;
  Rect dragged{};
  services.queueModalHook([&](ui::Form&) {
    const HWND frame = positionDialog().hwnd();
    auto hit = [](HWND h, int x, int y) {
      return static_cast<int>(SendMessageW(h, WM_NCHITTEST, 0, MAKELPARAM(x, y)));
    };
    // A point on the outline, one on a label and one on the panel between the buttons (screen coordinates).
    surfaceHit = hit(frame, 201, 151);
    underLabel = WindowFromPoint({200 + 30, 150 + 36});
    labelHit = hit(underLabel, 230, 186);
    underPanel = WindowFromPoint({200 + 8 + 100, 150 + 130 + 24});
    panelHit = hit(underPanel, 308, 304);

    // A drag: press on the surface, move, release, all queued before the window system's move loop starts.
    std::vector<INPUT> inputs;
    auto mouse = [&](DWORD flags, int x, int y) {
      INPUT in{};
      in.type = INPUT_MOUSE;
      in.mi.dx = x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
      in.mi.dy = y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
      in.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
      inputs.push_back(in);
    };
    mouse(0, 500, 400);
    mouse(MOUSEEVENTF_LEFTDOWN, 500, 400);
    for (int step = 1; step <= 5; ++step) mouse(0, 500 - step * 20, 400 - step * 30);
    mouse(MOUSEEVENTF_LEFTUP, 400, 250);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    pumpUntil([&] { return positionDialog().left() == 100 && positionDialog().top() == 0; }, 2000);
    dragged = boundsOf(positionDialog());
    topAfterDrag = dialogControls().topValue.text();
    leftAfterDrag = dialogControls().leftValue.text();
    press(dialogControls().cancelButton);
  });
  positionDialog().showModal();
  EXPECT_EQ(surfaceHit, HTCAPTION);
  EXPECT_EQ(underLabel, positionDialog().hwnd()) << "labels and the shape let the mouse through to the frame";
  EXPECT_EQ(labelHit, HTCAPTION);
  EXPECT_EQ(underPanel, dialogControls().buttonPanel.hwnd());
  EXPECT_EQ(panelHit, HTCLIENT);
  EXPECT_EQ(dragged, (Rect{100, 0, 400, 300}));
  EXPECT_EQ(topAfterDrag, L"0") << "the values follow the frame";
  EXPECT_EQ(leftAfterDrag, L"100");
  EXPECT_EQ(boundsOf(splash()), (Rect{200, 150, 400, 300}));
}

// At any dpi: the outline along the picture's own size, and OK and Cancel wholly on the window, where they can be
// clicked, inside the frame where they fit and beneath it where it is too small for them.
TEST_F(PositionDialogTest, OutlineRunsAlongTheEdgesAtAnySizeBeneathTheLabelsAndThePanel) {
  const COLORREF orange = RGB(255, 128, 0), face = GetSysColor(COLOR_BTNFACE);
  for (const Rect& r : {Rect{20, 30, 60, 28}, Rect{10, 10, 480, 170}, Rect{10, 10, 900, 700}}) {
    placeSplash(splash(), r);
    std::vector<COLORREF> edge, inside;
    int labelInk = 0;
    COLORREF panelCorner = 0;
    bool panelInside = false, buttonsShown = true;
    services.queueModalHook([&](ui::Form& f) {
      pumpUntil([&] { return !GetUpdateRect(positionDialog().hwnd(), nullptr, FALSE); }, 1000);
      pumpFor(50);
      ui::WindowDc dc(positionDialog().hwnd());
      const int w = r.width, h = r.height;
      for (POINT p : {POINT{0, 0}, POINT{2, 2}, POINT{w - 1, h - 1}, POINT{w - 3, h - 3}, POINT{w / 2, 1},
                      POINT{1, h / 2}, POINT{w - 2, h / 2}, POINT{w / 2, h - 2}})
        edge.push_back(GetPixel(dc.get(), p.x, p.y));
      const int pen = f.px(3);
      for (POINT p : {POINT{pen, pen}, POINT{w - pen - 1, h - pen - 1}, POINT{w - pen - 1, h / 2}})
        inside.push_back(GetPixel(dc.get(), p.x, p.y));
      RECT client{}, panel{};
      GetClientRect(positionDialog().hwnd(), &client);
      GetWindowRect(dialogControls().buttonPanel.hwnd(), &panel);
      MapWindowPoints(HWND_DESKTOP, positionDialog().hwnd(), reinterpret_cast<POINT*>(&panel), 2);
      panelInside = panel.bottom <= h && panel.right <= w;
      for (const ui::Button* b : {&dialogControls().okButton, &dialogControls().cancelButton}) {
        RECT button{};
        GetWindowRect(b->hwnd(), &button);
        MapWindowPoints(HWND_DESKTOP, positionDialog().hwnd(), reinterpret_cast<POINT*>(&button), 2);
        RECT both{};
        IntersectRect(&both, &button, &client);
        buttonsShown = buttonsShown && EqualRect(&both, &button) && button.right > button.left;
        const POINT centre{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
        POINT onScreen = centre;
        ClientToScreen(positionDialog().hwnd(), &onScreen);
        buttonsShown = buttonsShown && WindowFromPoint(onScreen) == b->hwnd();
      }
      const ui::Bounds label = dialogControls().instruction.bounds();
      for (int y = f.px(label.y); y < f.px(label.y + label.h) && y < h; ++y)
        for (int x = f.px(label.x); x < f.px(label.x + label.w) && x < w; ++x)
          if (GetPixel(dc.get(), x, y) != face) ++labelInk;
      panelCorner = GetPixel(dc.get(), panel.left, panel.top);
      press(dialogControls().cancelButton);
    });
    positionDialog().showModal();
    for (size_t i = 0; i < edge.size(); ++i) EXPECT_EQ(edge[i], orange) << r.width << " edge sample " << i;
    for (size_t i = 0; i < inside.size(); ++i) EXPECT_EQ(inside[i], face) << r.width << " inside sample " << i;
    EXPECT_TRUE(buttonsShown) << r.width << " x " << r.height << ": OK and Cancel wholly on the window";
    if (r.width > 500) {
      EXPECT_TRUE(panelInside) << "a large frame keeps the panel inside it";
      EXPECT_GT(labelInk, 50) << "the label's text is drawn over the shape";
      EXPECT_EQ(panelCorner, GetSysColor(COLOR_BTNHIGHLIGHT)) << "the panel's raised edge is drawn over the shape";
    }
  }
}
