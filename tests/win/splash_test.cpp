// The splash window: design, show sequence, translucency, placement, border, message label, keys, mouse, countdown.
#include <gtest/gtest.h>

#include <vector>

#include "core/geometry.h"
#include "splash_fixture.h"

using namespace lumivex;
using namespace lumivex::testing;

namespace {

std::string greenBmp(int w, int h) { return bmpFile(w, h, solid(0x00C000)); }

// Typed for real, so the modifier (none when 0) is really down while the key is pressed; with Alt held the
// window system sends the key as a system key.
void typeKey(WORD vk, WORD modifier) {
  std::vector<INPUT> keys;
  const auto key = [&](WORD code, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = code;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    keys.push_back(in);
  };
  if (modifier) key(modifier, false);
  key(vk, false);
  key(vk, true);
  if (modifier) key(modifier, true);
  SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
}

constexpr WORD kModifiers[] = {0, VK_SHIFT, VK_CONTROL, VK_MENU};

void doubleClick(HWND window, int x, int y) {
  SendMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(x, y));
}

}  // namespace

TEST(Splash, DesignBeforeShowing) {
  SplashRun run(std::string{});
  EXPECT_EQ(run.splash().top(), 0) << "the place a settings file without one loads";
  EXPECT_EQ(run.splash().left(), 0);
  // Nothing is looked up before the first showing, so the slider's previews in a first run change nothing.
  run.splash().applyTranslucency();
  EXPECT_FALSE(GetWindowLongW(run.splash().hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
  EXPECT_FALSE(run.splash().translucencyAvailable());
}

TEST(Splash, TranslucencyFollowsTheSlider) {
  SplashRun run({L"a.bmp", greenBmp(40, 30)}, "trans=50\r\n");
  run.show();
  ASSERT_TRUE(run.splash().translucencyAvailable());
  const auto alpha = [&] {
    BYTE got = 0;
    DWORD flags = 0;
    EXPECT_TRUE(GetLayeredWindowAttributes(run.splash().hwnd(), nullptr, &got, &flags));
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));
    return got;
  };
  EXPECT_EQ(alpha(), 134);
  run.controls().translucencySlider.setPosition(20);  // the option dialog forwards every change
  EXPECT_EQ(alpha(), 53);
}

TEST(Splash, WithoutTheLayeredWindowCallTheSliderIsDisabled) {
  SplashRun run(splashIni(L""));
  run.services.layeredEntryName = "NoSuchLayeredWindowEntry";
  run.expectModal();
  run.show();
  EXPECT_FALSE(run.splash().translucencyAvailable());
  EXPECT_FALSE(GetWindowLongW(run.splash().hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
  EXPECT_FALSE(run.controls().translucencySlider.enabled());
  EXPECT_TRUE(run.controls().translucencyUnsupportedLabel.visible());
  EXPECT_TRUE(run.services.boxes.size() == 1 && run.services.boxes[0].kind == ui::BoxKind::Notice) << "nothing reported";
}

TEST(Splash, CentredOnTheDesktopWithoutClamping) {
  SplashRun run({L"a.bmp", greenBmp(2000, 1000)}, "", "Top=10\r\nLeft=20\r\n");
  run.show();
  EXPECT_EQ(run.splash().width(), 2000) << "a window may be larger than the screen";
  EXPECT_EQ(run.splash().height(), 1000);
  EXPECT_EQ(run.splash().top(), core::centredOrigin(GetSystemMetrics(SM_CYVIRTUALSCREEN), 1000));
  EXPECT_EQ(run.splash().left(), core::centredOrigin(GetSystemMetrics(SM_CXVIRTUALSCREEN), 2000));
  EXPECT_TRUE(run.services.boxes.empty());
}

TEST(Splash, StoredPlacementKeepsTopAndLeft) {
  // No placement at all (-1) keeps the stored place as the stored placement (1) does.
  SplashRun run({L"a.bmp", greenBmp(300, 200)}, "winpos=-1\r\n", "Top=-50\r\nLeft=70\r\n");
  run.show();
  EXPECT_EQ(run.splash().top(), -50);
  EXPECT_EQ(run.splash().left(), 70);
  EXPECT_EQ(run.splash().width(), 300);
}

TEST(Splash, BorderFramesTheWindowInItsColour) {
  // Green where the window shows the picture, blue in the 6 columns the frame cuts.
  SplashRun run({L"a.bmp", bmpFile(400, 300, [](int x, int) -> uint32_t { return x < 394 ? 0x00C000 : 0x0000FF; })},
                "b_size=3\r\ncolo=255\r\n");
  run.show();
  const HWND h = run.splash().hwnd();
  EXPECT_EQ(outerSize(h).cx, 400);
  EXPECT_EQ(outerSize(h).cy, 300);
  EXPECT_EQ(clientSize(h).cx, 394) << "no frame of the window system's, and no scroll bar for the cut picture";
  EXPECT_EQ(clientSize(h).cy, 294);

  const WindowPixels px(h);
  const COLORREF red = RGB(255, 0, 0), pictureGreen = RGB(0, 0xC0, 0);
  for (const POINT p : {POINT{0, 0}, POINT{2, 150}, POINT{399, 299}, POINT{200, 1}, POINT{397, 150}, POINT{200, 297}})
    EXPECT_EQ(px.at(p.x, p.y), red) << p.x << "," << p.y;
  EXPECT_EQ(px.at(3, 3), pictureGreen) << "the picture starts inside the frame";
  EXPECT_EQ(px.at(396, 100), pictureGreen) << "the picture's last 6 columns are cut";
  // The window system's own drawing of the frame, not only the printed copy.
  HDC windowDc = GetWindowDC(h);
  EXPECT_EQ(GetPixel(windowDc, 1, 1), red);
  EXPECT_EQ(GetPixel(windowDc, 398, 150), red);
  EXPECT_EQ(GetPixel(windowDc, 200, 3), pictureGreen);
  ReleaseDC(h, windowDc);

  // A new colour (what the option dialog's window colour swatch previews) repaints the frame at once.
  run.splash().setColour(0xFF0000);
  run.settle();
  windowDc = GetWindowDC(h);
  EXPECT_EQ(GetPixel(windowDc, 0, 50), RGB(0, 0, 255));
  ReleaseDC(h, windowDc);

  // A new width changes the frame at once; the outer size stays.
  run.splash().setBorderWidth(0);
  EXPECT_EQ(clientSize(h).cx, 400);
  EXPECT_EQ(outerSize(h).cx, 400);
  run.splash().setBorderWidth(10);
  EXPECT_EQ(clientSize(h).cy, 280);
}

TEST(Splash, MessageLabelColoursAndPreviews) {
  SplashRun run({L"a.bmp", greenBmp(300, 100)}, "b_size=0\r\nlbltrans=1\r\nbcol=16711680\r\nfcol=255\r\nfsiz=9\r\n");
  run.show();
  EXPECT_FALSE(run.splash().messageLabel.transparent());
  EXPECT_EQ(run.splash().messageLabel.colour(), 0xFF0000);
  EXPECT_EQ(run.splash().messageLabel.fontColour(), 255);
  const RECT m = run.splash().messageRect();
  EXPECT_EQ(m.bottom, 100);
  EXPECT_EQ(run.splash().messageLabel.fontHeight(), core::pointsToPixels(9, screenDpi()));
  EXPECT_EQ(WindowPixels(run.splash().hwnd()).at(290, m.bottom - 2), RGB(0, 0, 255)) << "strip in the label colour";
  EXPECT_EQ(WindowPixels(run.splash().hwnd()).at(290, m.top - 2), RGB(0, 0xC0, 0)) << "picture above the strip";

  run.splash().setMessageColour(0x00FFFF);
  run.settle();
  EXPECT_EQ(WindowPixels(run.splash().hwnd()).at(290, m.bottom - 2), RGB(255, 255, 0));
}

TEST(Splash, MessageTextIsDrawnWithMnemonicPrefixes) {
  const std::string white = bmpFile(300, 100, solid(0xFFFFFF));
  // Two labels that differ only in "&&" against "&": the first shows an ampersand, the second an underline.
  const auto inkOf = [&](const std::wstring& text) {
    SplashRun run({L"a.bmp", white}, "b_size=0\r\nfcol=0\r\n");
    run.show();
    run.splash().messageLabel.setCaption(text);
    run.settle();
    const WindowPixels px(run.splash().hwnd());
    const RECT m = run.splash().messageRect();
    int ink = 0;
    for (int y = m.top; y < m.bottom; ++y)
      for (int x = 0; x < 300; ++x) ink += px.at(x, y) != RGB(255, 255, 255);
    return ink;
  };
  const int plain = inkOf(L"A"), underlined = inkOf(L"&A"), ampersand = inkOf(L"&&A");
  EXPECT_GT(plain, 0);
  EXPECT_GT(underlined, plain) << "the \"&\" is not shown; the character after it is underlined";
  EXPECT_GT(ampersand, underlined) << "\"&&\" shows one \"&\"";
}

// A picture that is missing, or that cannot be loaded, is reported with the countdown stopped; then the option dialog
// opens, so that another one can be chosen, over the window at its design size.
TEST(Splash, MissingOrUnloadablePictureIsReportedThenTheOptionDialogOpensOverTheDesignSize) {
  TempFolder pics;
  const std::wstring missing = L"画像ファイルが見つかりませんでした\n\r\n\r再度設定してください";
  const struct {
    std::wstring path;
    ui::BoxKind kind;
    std::wstring text;
  } cases[] = {
      {L"", ui::BoxKind::Notice, missing},
      {pics.path(), ui::BoxKind::Notice, missing},
      {pics.file(L"gone.bmp"), ui::BoxKind::Notice, missing},
      {writtenFile(pics, L"logo.gif", "GIF89a"), ui::BoxKind::Error, L"拡張子 .gif の画像形式は処理できません."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(ui::narrow(c.path));
    SplashRun run(splashIni(c.path, "b_size=0\r\nfsiz=10\r\nsplashtime=3\r\n"));
    bool timerDuringBox = true;
    run.services.onBox = [&](const FakeServices::Box&) { timerDuringBox = run.splash().countdown.enabled(); };
    run.expectModal();
    run.show();
    ASSERT_EQ(run.services.boxes.size(), 1u);
    EXPECT_EQ(run.services.boxes[0].kind, c.kind);
    EXPECT_EQ(run.services.boxes[0].text, c.text);
    EXPECT_FALSE(timerDuringBox);
    EXPECT_EQ(run.modalShowings, 1);
    EXPECT_FALSE(run.timerDuringModal);
    EXPECT_TRUE(run.splash().visible());
    EXPECT_EQ(clientSize(run.splash().hwnd()).cx, 460);
    EXPECT_EQ(clientSize(run.splash().hwnd()).cy, 246);
    EXPECT_EQ(run.splash().image.picture(), nullptr);
    EXPECT_EQ(run.splash().messageLabel.fontHeight(), core::pointsToPixels(10, screenDpi()))
        << "the rest of the sequence still runs";
    EXPECT_EQ(run.splash().countdown.interval(), 3000u);
    EXPECT_FALSE(run.splash().countdown.enabled()) << "only the dialog's OK or Close restart it";
  }
}

TEST(Splash, JpegThatFailsWhenFirstDrawnIsReportedOnceAndLeavesTheWindowColour) {
  SplashRun run({L"broken.jpeg", withoutQuantTables(jpegFile(160, 120, solid(0x00C000)))},
                "b_size=0\r\ncolo=255\r\nsplashtime=2\r\n");
  bool timerDuringBox = true;
  run.services.onBox = [&](const FakeServices::Box&) { timerDuringBox = run.splash().countdown.enabled(); };
  run.show();
  ASSERT_EQ(run.services.boxes.size(), 1u);
  EXPECT_EQ(run.services.boxes[0].kind, ui::BoxKind::Error);
  EXPECT_EQ(run.services.boxes[0].text, L"JPEG エラー #" + std::to_wstring(jpegCodeNoQuantTable()) + L".");
  EXPECT_FALSE(timerDuringBox) << "no countdown while the box is open";
  EXPECT_TRUE(run.splash().countdown.enabled()) << "and it runs again afterwards";
  EXPECT_EQ(WindowPixels(run.splash().hwnd()).at(80, 30), RGB(255, 0, 0));
}

TEST(Splash, LargeJpegDecodesOnlyWhatTheDesktopShows) {
  SplashRun run({L"big.jpg", jpegFile(4000, 3000, [](int x, int y) -> uint32_t {
                   return static_cast<uint32_t>((x / 16) & 0xFF) << 16 | static_cast<uint32_t>((y / 16) & 0xFF);
                 }, 50)}, "b_size=0\r\n");
  run.show();
  const pictures::Picture* p = run.splash().image.picture();
  ASSERT_NE(p, nullptr);
  const uint64_t total = 4000ull * 3000ull;
  EXPECT_GT(p->decodedPixels(), 0u);
  EXPECT_LT(p->decodedPixels(), total / 4) << "only the part on the desktop";

  // Moving the window brings other parts onto the desktop; their paint leaves them to the picture's worker and
  // shows them when it says they are ready.
  const uint64_t before = p->decodedPixels();
  run.splash().setLeft(0);
  run.splash().setTop(0);
  run.settle();
  EXPECT_TRUE(pumpUntil([&] { return p->decodedPixels() > before; }));
  run.settle();
  const COLORREF c = WindowPixels(run.splash().hwnd()).at(320, 160);
  EXPECT_NEAR(GetRValue(c), 320 / 16, 12);
  EXPECT_NEAR(GetBValue(c), 160 / 16, 12);
}

TEST(Splash, EscapeClosesWhateverTheShiftState) {
  for (WORD modifier : kModifiers) {
    SCOPED_TRACE(modifier);
    SplashRun run({L"a.bmp", greenBmp(100, 60)});
    run.show();
    ASSERT_EQ(GetFocus(), run.splash().hwnd()) << "keys typed on the splash reach it";
    typeKey(VK_ESCAPE, modifier);
    EXPECT_TRUE(pumpUntil([&] { return !run.splash().visible(); }));
    EXPECT_EQ(run.app().settingsFile(), nullptr);
  }
}

TEST(Splash, F1OpensTheOptionDialogAndOtherKeysDoNothing) {
  SplashRun run({L"a.bmp", greenBmp(100, 60)});
  run.show();
  for (WORD vk : {WORD{VK_RETURN}, WORD{'A'}, WORD{VK_SPACE}, WORD{VK_F2}}) postKey(run.splash().hwnd(), vk);
  run.settle();
  EXPECT_TRUE(run.splash().visible());
  EXPECT_TRUE(run.splash().countdown.enabled());

  for (WORD modifier : kModifiers) {
    SCOPED_TRACE(modifier);
    const int before = run.modalShowings;
    run.expectModal();
    typeKey(VK_F1, modifier);
    EXPECT_TRUE(pumpUntil([&] { return run.modalShowings == before + 1; }));
    EXPECT_TRUE(run.splash().visible());
  }
}

TEST(Splash, DoubleClickOnThePictureButNotOnTheMessageStrip) {
  SplashRun run({L"a.bmp", greenBmp(200, 100)}, "b_size=0\r\n");
  run.show();
  const RECT m = run.splash().messageRect();
  doubleClick(run.splash().hwnd(), 50, (m.top + m.bottom) / 2);
  EXPECT_TRUE(run.splash().countdown.enabled()) << "the message label takes the double-click and does nothing";

  run.expectModal();
  doubleClick(run.splash().hwnd(), 50, 10);
  EXPECT_EQ(run.modalShowings, 1);
  EXPECT_FALSE(run.timerDuringModal);
}

TEST(Splash, HourglassOverThePictureOnly) {
  SplashRun run({L"a.bmp", greenBmp(200, 100)}, "b_size=0\r\n");
  run.show();
  const auto cursorAt = [&](int x, int y) {
    POINT p{x, y};
    ClientToScreen(run.splash().hwnd(), &p);
    SetCursorPos(p.x, p.y);
    // The pointer reaches the new place when the display has moved it, not at once.
    pumpUntil([p] {
      POINT now{};
      return GetCursorPos(&now) && now.x == p.x && now.y == p.y;
    }, 2000);
    SendMessageW(run.splash().hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(run.splash().hwnd()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
  };
  EXPECT_EQ(cursorAt(20, 10), LoadCursorW(nullptr, IDC_WAIT));
  const RECT m = run.splash().messageRect();
  EXPECT_NE(cursorAt(20, (m.top + m.bottom) / 2), LoadCursorW(nullptr, IDC_WAIT));
}

TEST(Splash, VerticalScrollBarOnlyForAMessageTallerThanTheClientArea) {
  SplashRun run({L"low.bmp", greenBmp(300, 60)}, "fsiz=64\r\n");
  run.show();
  const LONG style = GetWindowLongW(run.splash().hwnd(), GWL_STYLE);
  EXPECT_TRUE(style & WS_VSCROLL);
  EXPECT_FALSE(style & WS_HSCROLL);
  EXPECT_EQ(outerSize(run.splash().hwnd()).cx, 300);
  EXPECT_EQ(clientSize(run.splash().hwnd()).cx, 294 - GetSystemMetrics(SM_CXVSCROLL));
  const int clientHeight = clientSize(run.splash().hwnd()).cy, labelHeight = run.splash().messageLabel.height();
  EXPECT_EQ(run.splash().messageRect().top, 0) << "scrolled to the top of the label";
  SendMessageW(run.splash().hwnd(), WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(run.splash().scrollPosition(), labelHeight - clientHeight);
  EXPECT_EQ(run.splash().messageRect().bottom, clientHeight);
  EXPECT_EQ(run.splash().pictureRect().top, clientHeight - labelHeight) << "the picture scrolls with it";
  run.splash().messageLabel.setFontHeight(12);
  EXPECT_FALSE(GetWindowLongW(run.splash().hwnd(), GWL_STYLE) & WS_VSCROLL) << "gone with a smaller font";
  EXPECT_EQ(run.splash().scrollPosition(), 0);
  EXPECT_EQ(clientSize(run.splash().hwnd()).cx, 294);
}

TEST(Splash, MaximizedFillsTheScreenWithThePictureAtTheTopLeft) {
  SplashRun run({L"a.bmp", greenBmp(300, 200)}, "b_size=2\r\ncolo=255\r\n", "Maxmize=1\r\n");
  run.show();
  const HWND h = run.splash().hwnd();
  EXPECT_TRUE(IsZoomed(h));
  RECT r{};
  GetWindowRect(h, &r);
  EXPECT_EQ(r.right - r.left, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(r.bottom - r.top, GetSystemMetrics(SM_CYSCREEN));
  EXPECT_EQ(run.splash().width(), 300) << "the restored bounds follow the picture";
  EXPECT_EQ(run.splash().height(), 200);
  EXPECT_EQ(run.splash().top(), core::centredOrigin(GetSystemMetrics(SM_CYVIRTUALSCREEN), 200));
  const WindowPixels px(h);
  EXPECT_EQ(px.at(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(px.at(10, 10), RGB(0, 0xC0, 0));
  EXPECT_EQ(px.at(r.right - r.left - 50, 100), RGB(255, 0, 0)) << "window colour beside the picture";
  EXPECT_EQ(run.splash().messageRect().bottom, clientSize(h).cy);
}
