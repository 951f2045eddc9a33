// The splash window: shows the picture with its border, message and translucency, counts down and closes.
#include "splash/splash_window.h"

#include <algorithm>

#include <windowsx.h>

#include "core/geometry.h"
#include "core/placement.h"
#include "core/settings_value.h"
#include "splash/layered_surface.h"
#include "splash/picture_prefetch.h"
#include "ui/files.h"
#include "ui/fonts.h"
#include "ui/message_box.h"
#include "ui/monitors.h"
#include "ui/scaling.h"

namespace lumivex {
namespace {

constexpr ui::Colour kDesignColour = 0x00FF0000;
constexpr int kDesignClientWidth = 460;
constexpr int kDesignClientHeight = 246;
constexpr int kDesignMessageFontHeight = 19;
constexpr int kScrollLine = 8;
// Posted to report a picture whose pixels could not be produced while painting (no box inside a paint).
constexpr UINT kReportPictureFailure = WM_APP + 0x51;
// Posted by the picture when pixels that a paint found not yet decoded are ready (the paint showed the window colour).
constexpr UINT kPicturePixelsReady = WM_APP + 0x52;
constexpr UINT kFadeStepMs = 16;  // about 60 steps a second

RECT intersection(const RECT& a, const RECT& b) {
  RECT r{};
  IntersectRect(&r, &a, &b);
  return r;
}

bool contains(const RECT& r, POINT p) { return PtInRect(&r, p) != FALSE; }

}  // namespace

// ---- The picture control ----

void SplashWindow::PictureControl::loadFromFile(const std::wstring& path) {
  picture_ = owner_.host_.prefetch().take(path);
  if (!picture_) picture_ = pictures::Picture::fromFile(path, owner_.session().services().metafileTrialLimitMs());
  width_ = picture_->width();
  height_ = picture_->height();
  picture_->notifyWhenReady(owner_.hwnd(), kPicturePixelsReady);
  owner_.pictureFailureReported_ = false;
  if (owner_.hwnd()) InvalidateRect(owner_.hwnd(), nullptr, FALSE);
}

// ---- The message label ----

SplashWindow::MessageLabel::MessageLabel(SplashWindow& owner) : owner_(owner) { setFontHeight(kDesignMessageFontHeight); }

void SplashWindow::MessageLabel::setCaption(const std::wstring& text) {
  if (text == caption_) return;
  caption_ = text;
  owner_.invalidateMessage();
}

void SplashWindow::MessageLabel::setTransparent(bool on) {
  if (on == transparent_) return;
  transparent_ = on;
  owner_.invalidateMessage();
}

void SplashWindow::MessageLabel::setColour(ui::Colour c) {
  if (c == colour_) return;
  colour_ = c;
  if (!transparent_) owner_.invalidateMessage();
}

void SplashWindow::MessageLabel::setFontColour(ui::Colour c) {
  if (c == fontColour_) return;
  fontColour_ = c;
  owner_.invalidateMessage();
}

void SplashWindow::MessageLabel::setFontHeight(int pixels) {
  if (pixels == fontHeight_ && font_) return;
  fontHeight_ = pixels;
  font_ = ui::makeUiFont(pixels);
  ui::WindowDc screen(nullptr);
  ui::SelectGuard select(screen.get(), font_.get());
  TEXTMETRICW tm{};
  GetTextMetricsW(screen.get(), &tm);
  height_ = tm.tmHeight;
  if (owner_.hwnd()) owner_.layout();
}

// ---- The window ----

namespace {

// Whether the user works in another program's window: then the logo shows without taking the keyboard from it.
// The bare desktop (at logon) and the taskbar count as nothing in front.
bool anotherProgramInFront() {
  const HWND front = GetForegroundWindow();
  if (!front || front == GetDesktopWindow() || front == GetShellWindow()) return false;
  DWORD process = 0;
  GetWindowThreadProcessId(front, &process);
  if (process == GetCurrentProcessId()) return false;
  wchar_t name[32] = {};
  GetClassNameW(front, name, 32);
  for (const wchar_t* shell : {L"Progman", L"WorkerW", L"Shell_TrayWnd"})
    if (lstrcmpW(name, shell) == 0) return false;
  return true;
}

}  // namespace

SplashWindow::SplashWindow(ui::Session& session, core::Settings& settings, Host& host)
    : Form(session), settings_(settings), host_(host) {}
SplashWindow::~SplashWindow() = default;

void SplashWindow::create() {
  ui::FormStyle style;
  style.caption = L"splash";
  style.clientWidth = kDesignClientWidth;
  style.clientHeight = kDesignClientHeight;
  style.topmost = true;
  style.dialogKeys = false;  // key preview: every key comes to handleKey
  style.colour = kDesignColour;
  style.keepsPixelSize = true;  // the picture's size
  Form::create(style);

  countdown.pausesForErrorBox = true;
  countdown.onTick = [this] { endDisplay(); };
  onShow = [this] {
    if (shown_) return;
    shown_ = true;
    setActivatesWhenShown(!anotherProgramInFront());
    showSequence();
  };
  onClose = [this] {
    if (fadeSteps_) fadeSteps_->setEnabled(false);
    host_.splashClosed();
  };
  onDblClick = [this] { openOptions(); };
  onKeyDown = [this](WORD& key) { handleKey(key); };
  layout();
}

void SplashWindow::showSequence() {
  settings_.top = top();
  settings_.left = left();
  const core::SplashStart start = host_.loadSettings();
  setTop(settings_.top);
  setLeft(settings_.left);
  setColour(start.windowColour);
  messageLabel.setCaption(start.message);
  setWindowState(start.maximized ? ui::WindowState::Maximized : ui::WindowState::Normal);

  layeredEntry_ = nullptr;
  user32Module_ = LoadLibraryA("user32.dll");
  if (user32Module_) {
    if (FARPROC entry = session().services().layeredWindowEntry(user32Module_)) {
      layeredEntry_ = reinterpret_cast<SetLayeredWindowAttributesProc>(reinterpret_cast<void*>(entry));
    } else {
      FreeLibrary(user32Module_);
      user32Module_ = nullptr;
    }
  }

  if (user32Module_) {
    const LONG exStyle = GetWindowLongA(hwnd(), GWL_EXSTYLE);
    SetWindowLongA(hwnd(), GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    applyTranslucency();
  } else {
    host_.translucencyUnavailable();
  }

  if (const std::wstring picture = host_.pictureFile(); ui::isFile(picture)) {
    bool loaded = false;
    try {
      image.loadFromFile(picture);
      loaded = true;
    } catch (const ui::AppError& e) {
      // Reported like any failure, then handled like a missing picture, so the user can choose another one.
      placeOnMonitors();
      countdown.setEnabled(false);
      session().showError(e.text());
      host_.openOptions();
    }
    if (loaded) {
      setHeight(image.height());
      setWidth(image.width());
      placeOnMonitors();
    }
  } else {
    host_.prefetch().discard();
    placeOnMonitors();  // the empty window sits where a picture would
    countdown.setEnabled(false);
    session().showNotice(std::wstring(L"画像ファイルが見つかりませんでした") + L"\n\r\n\r" + L"再度設定してください");
    host_.openOptions();
  }

  // The values as the option dialog holds them: a spin edit's typed number may lie outside its range.
  messageLabel.setTransparent(!settings_.messageHasBackground);
  messageLabel.setColour(settings_.messageBackColour);
  messageLabel.setFontColour(settings_.messageTextColour);
  const auto inRange = [](int32_t v, core::Range r) { return core::clampToRange(v, r.lo, r.hi); };
  messageLabel.setFontHeight(
      core::pointsToPixels(inRange(settings_.messageFontSize, core::kFontSizeRange), ui::systemDpi()));
  setBorderWidth(inRange(settings_.borderWidth, core::kBorderWidthRange));
  countdown.setInterval(static_cast<UINT>(inRange(settings_.displaySeconds, core::kDisplaySecondsRange)) * 1000u);
  // The window is still hidden: it appears fully transparent (a layer is composed once, already so), and the
  // countdown already runs.
  const int32_t fadeIn = fadesAllowed() ? inRange(settings_.fadeInMs, core::kFadeRange) : 0;
  if (fadeIn > 0) fadeLevel_ = core::kFadeTransparent;
  useLayerForTranslucentPicture();
  if (fadeIn > 0) startFade(core::kFadeTransparent, core::kFadeFull, fadeIn);
}

// Centres the window on the primary monitor, or keeps its place while it shows on some monitor (moving it wholly
// onto the nearest one when it shows on none). The settings keep their Top and Left until a save.
void SplashWindow::placeOnMonitors() {
  const core::Point p = core::splashOrigin(width(), height(), ui::monitors(), settings_.placement == core::kCentred,
                                           core::Point{left(), top()});
  setTop(p.y);
  setLeft(p.x);
}

void SplashWindow::openOptions() {
  stopFade();
  countdown.setEnabled(false);
  host_.openOptions();
}

void SplashWindow::handleKey(WORD& key) {
  if (key == VK_ESCAPE) {
    close();
  } else if (key == VK_F1) {
    openOptions();
  }
}

int SplashWindow::translucencyAlpha() const {
  const int position = core::clampToRange(settings_.opacityPercent, core::kOpacityRange.lo, core::kOpacityRange.hi);
  return core::alphaForPosition(position, core::kOpacityRange.lo, core::kOpacityRange.hi);
}

void SplashWindow::applyTranslucency() {
  if (!user32Module_ || !layeredEntry_) return;
  const int alpha = translucencyAlpha();
  if (layered_) {
    layered_->setOpacity(static_cast<BYTE>(alpha));
    updateLayer();
    return;
  }
  layeredEntry_(hwnd(), 0, static_cast<BYTE>(core::alphaAtLevel(alpha, fadeLevel_)), LWA_ALPHA);
}

// ---- Fades ----

// A fade needs translucency, and the user's wish for animations in Windows (on where the system cannot say).
bool SplashWindow::fadesAllowed() const {
  if (!user32Module_ || !layeredEntry_) return false;
  BOOL animations = TRUE;
  if (!SystemParametersInfoW(SPI_GETCLIENTAREAANIMATION, 0, &animations, 0)) return true;
  return animations != FALSE;
}

// The display time is over: the window fades out and then closes, or closes at once.
void SplashWindow::endDisplay() {
  const int32_t fadeOut = core::clampToRange(settings_.fadeOutMs, core::kFadeRange.lo, core::kFadeRange.hi);
  if (fadeOut == 0 || !fadesAllowed()) {
    close();
    return;
  }
  countdown.setEnabled(false);
  startFade(fadeLevel_, core::kFadeTransparent, fadeOut);  // from where a fade in may have come to
}

void SplashWindow::startFade(int32_t from, int32_t to, int32_t durationMs) {
  if (!fadeSteps_) {
    fadeSteps_ = std::make_unique<ui::Timer>(session(), kFadeStepMs, false);
    fadeSteps_->pausesForErrorBox = true;  // the end of a fade out closes the window
    fadeSteps_->onTick = [this] { stepFade(); };
  }
  fade_ = core::Fade{from, to, durationMs, GetTickCount64()};
  showFadeLevel(from);
  fadeSteps_->setEnabled(true);
}

void SplashWindow::stepFade() {
  const uint64_t now = GetTickCount64();
  if (const int32_t level = fade_.level(now); level != fadeLevel_) showFadeLevel(level);
  if (!fade_.finished(now)) return;
  fadeSteps_->setEnabled(false);
  if (fade_.to == core::kFadeTransparent) close();
}

void SplashWindow::stopFade() {
  if (fadeSteps_) fadeSteps_->setEnabled(false);
  if (fadeLevel_ != core::kFadeFull) showFadeLevel(core::kFadeFull);
}

// Only the alpha changes: the picture is neither decoded nor painted again, and a layer is not composed again.
void SplashWindow::showFadeLevel(int32_t level) {
  fadeLevel_ = level;
  if (!user32Module_ || !layeredEntry_) return;
  if (layered_) {
    layered_->setConstantAlpha(static_cast<BYTE>(level));
    return;
  }
  layeredEntry_(hwnd(), 0, static_cast<BYTE>(core::alphaAtLevel(translucencyAlpha(), level)), LWA_ALPHA);
}

// ---- Per-pixel alpha ----

// A picture with transparent pixels is shown through a layer with per-pixel alpha, where the system has layered
// windows; the window's translucency then multiplies the picture's own alpha, and the frame, the message's text and
// its background (when it has one) are opaque. Every other picture keeps the usual painting. Called once the show
// sequence has set everything the layer shows, which it then composes once.
void SplashWindow::useLayerForTranslucentPicture() {
  layered_.reset();
  const pictures::Picture* p = image.picture();
  if (!user32Module_ || !p || !p->translucentPixels()) return;
  layered_ = std::make_unique<pictures::LayeredSurface>(hwnd());
  layered_->setConstantAlpha(static_cast<BYTE>(fadeLevel_));
  applyTranslucency();
}

// A layer gets no paints from the window system (Wine sends none once it has been updated): what changes it updates
// it at once.
void SplashWindow::refreshLayer() {
  if (layered_) updateLayer();
}

// The layer in window coordinates: the client area starts inside the frame.
void SplashWindow::updateLayer() {
  RECT window{};
  GetWindowRect(hwnd(), &window);
  core::SplashLayer layer;
  layer.width = window.right - window.left;
  layer.height = window.bottom - window.top;
  layer.border = border_;
  layer.windowColour = ui::toColorRef(colour());
  const RECT picture = pictureRect();
  layer.pictureX = picture.left + border_;
  layer.pictureY = picture.top + border_;
  RECT label = messageRect();
  OffsetRect(&label, border_, border_);
  pictures::LayerMessage message;
  message.strip = core::PixelRect{label.left, label.top, label.right, label.bottom};
  message.filled = !messageLabel.transparent();
  message.fill = ui::toColorRef(messageLabel.colour());
  message.text = ui::toColorRef(messageLabel.fontColour());
  message.drawText = [this](HDC dc, const RECT& r) { drawMessageText(dc, r); };
  layered_->update(layer, *image.picture()->translucentPixels(), message);
}

void SplashWindow::setMessageColour(ui::Colour c) {
  messageLabel.setColour(c);
  refreshLayer();
}
void SplashWindow::setMessageFontColour(ui::Colour c) {
  messageLabel.setFontColour(c);
  refreshLayer();
}
void SplashWindow::setColour(ui::Colour c) {
  Form::setColour(c);
  refreshLayer();
}

void SplashWindow::setBorderWidth(int n) {
  n = std::max(n, 0);
  if (n == border_) return;
  border_ = n;
  SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  RedrawWindow(hwnd(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

// ---- Layout and scrolling ----

RECT SplashWindow::pictureRect() const { return RECT{0, -scrollPos_, image.width(), image.height() - scrollPos_}; }

RECT SplashWindow::messageRect() const {
  RECT client{};
  GetClientRect(hwnd(), &client);
  const int contentHeight = std::max<int>(client.bottom, messageLabel.height());
  const int top = contentHeight - messageLabel.height() - scrollPos_;
  return RECT{0, top, client.right, top + messageLabel.height()};
}

// The content scrolls when it is taller than the client area; only the message label counts toward its size, so
// the scroll bar is vertical and appears only for a label taller than the client area.
void SplashWindow::layout() {
  if (layingOut_ || !hwnd()) return;
  layingOut_ = true;
  RECT client{};
  GetClientRect(hwnd(), &client);
  const int labelHeight = messageLabel.height();
  const bool needed = labelHeight > client.bottom;
  SCROLLINFO si{sizeof(si), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
  if (needed) {
    si.nMax = labelHeight - 1;
    si.nPage = static_cast<UINT>(client.bottom);
    si.nPos = std::clamp(scrollPos_, 0, labelHeight - static_cast<int>(client.bottom));
  }
  if (needed || hasScrollBar_) SetScrollInfo(hwnd(), SB_VERT, &si, TRUE);
  hasScrollBar_ = needed;
  scrollPos_ = needed ? si.nPos : 0;
  InvalidateRect(hwnd(), nullptr, FALSE);
  layingOut_ = false;
}

void SplashWindow::scrollTo(int pos) {
  SCROLLINFO si{sizeof(si), SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(hwnd(), SB_VERT, &si);
  const int last = si.nMax - static_cast<int>(si.nPage) + 1;
  pos = std::clamp(pos, si.nMin, std::max(si.nMin, last));
  if (pos == scrollPos_) return;
  scrollPos_ = pos;
  si.fMask = SIF_POS;
  si.nPos = pos;
  SetScrollInfo(hwnd(), SB_VERT, &si, TRUE);
  InvalidateRect(hwnd(), nullptr, FALSE);
  refreshLayer();
}

void SplashWindow::invalidateMessage() {
  if (!hwnd()) return;
  const RECT r = messageRect();
  InvalidateRect(hwnd(), &r, FALSE);
}

// ---- Painting ----

HBRUSH SplashWindow::windowBrush() {
  if (!brush_ || brushColour_ != colour()) {
    brushColour_ = colour();
    brush_ = ui::BrushHandle(CreateSolidBrush(ui::toColorRef(brushColour_)));
  }
  return brush_.get();
}

void SplashWindow::drawFrame(HDC windowDc) {
  frameColour_ = colour();
  if (border_ == 0) return;
  RECT w{};
  GetWindowRect(hwnd(), &w);
  const int width = w.right - w.left, height = w.bottom - w.top, n = border_;
  const RECT strips[] = {{0, 0, width, n}, {0, height - n, width, height}, {0, n, n, height - n},
                         {width - n, n, width, height - n}};
  for (const RECT& s : strips) FillRect(windowDc, &s, windowBrush());
}

void SplashWindow::paint(HDC dc, const RECT& clip) {
  if (layered_) return;  // the layer is updated by what changes it, not by paints
  paintClient(dc, clip);
  if (frameColour_ != colour() && border_ > 0) {
    HDC windowDc = GetWindowDC(hwnd());
    drawFrame(windowDc);
    ReleaseDC(hwnd(), windowDc);
  }
}

// Paints `area` of the client area. Only the part that lies on the desktop is composed (off screen in a memory
// bitmap, then copied in one go); the rest gets the window colour, and the picture there is drawn, and for a
// JPEG decoded, only when a move brings it onto the desktop.
void SplashWindow::paintClient(HDC dc, const RECT& area) {
  RECT client{};
  GetClientRect(hwnd(), &client);
  RECT window{};
  GetWindowRect(hwnd(), &window);
  const core::Rect onMonitors = core::shownPart(ui::toCore(window), ui::monitors());
  RECT desktop{onMonitors.left, onMonitors.top, onMonitors.right, onMonitors.bottom};
  MapWindowPoints(HWND_DESKTOP, hwnd(), reinterpret_cast<POINT*>(&desktop), 2);
  const RECT wanted = intersection(area, client);
  const RECT live = intersection(wanted, desktop);
  const RECT picture = pictureRect();

  if (!EqualRect(&live, &wanted)) {
    const int saved = SaveDC(dc);
    ExcludeClipRect(dc, live.left, live.top, live.right, live.bottom);
    FillRect(dc, &wanted, windowBrush());
    RestoreDC(dc, saved);
    const RECT hidden = intersection(wanted, picture);
    if (!IsRectEmpty(&hidden)) pictureDeferred_ = true;
  }
  if (IsRectEmpty(&live)) return;

  const int w = live.right - live.left, h = live.bottom - live.top;
  ui::MemoryDc mem(CreateCompatibleDC(dc));
  ui::BitmapHandle buffer(CreateCompatibleBitmap(dc, w, h));
  ui::SelectGuard selectBuffer(mem.get(), buffer.get());
  SetViewportOrgEx(mem.get(), -live.left, -live.top, nullptr);
  FillRect(mem.get(), &live, windowBrush());

  if (pictures::Picture* p = image.picture(); p && !p->failed()) {
    RECT part = intersection(live, picture);
    if (!IsRectEmpty(&part)) {
      OffsetRect(&part, 0, scrollPos_);
      if (!p->draw(mem.get(), POINT{picture.left, picture.top}, part)) {
        const RECT lost = intersection(live, picture);
        FillRect(mem.get(), &lost, windowBrush());
        if (!pictureFailureReported_) {
          pictureFailureReported_ = true;
          PostMessageW(hwnd(), kReportPictureFailure, 0, 0);
        }
      }
    }
  }

  const RECT label = messageRect();
  if (const RECT shown = intersection(live, label); !IsRectEmpty(&shown)) drawMessage(mem.get(), label);

  BitBlt(dc, live.left, live.top, w, h, mem.get(), live.left, live.top, SRCCOPY);
}

// The message label at `label`: its strip filled when it is opaque, then its one line of text.
void SplashWindow::drawMessage(HDC dc, const RECT& label) {
  if (!messageLabel.transparent()) {
    ui::BrushHandle fill(CreateSolidBrush(ui::toColorRef(messageLabel.colour())));
    FillRect(dc, &label, fill.get());
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ui::toColorRef(messageLabel.fontColour()));
  drawMessageText(dc, label);
}

// The message's one line of text in the label's font, in the DC's text colour.
void SplashWindow::drawMessageText(HDC dc, const RECT& label) {
  ui::SelectGuard selectFont(dc, messageLabel.font());
  RECT text = label;
  DrawTextW(dc, messageLabel.caption().c_str(), static_cast<int>(messageLabel.caption().size()), &text,
            DT_LEFT | DT_TOP | DT_SINGLELINE | DT_EXPANDTABS);
}

// ---- Messages ----

LRESULT SplashWindow::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NCCALCSIZE: {
      RECT* r = wp ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lp)->rgrc[0] : reinterpret_cast<RECT*>(lp);
      r->left += border_;
      r->top += border_;
      r->right = std::max(r->left, r->right - border_);
      r->bottom = std::max(r->top, r->bottom - border_);
      return callDefault(msg, wp, lp);  // the scroll bar, inside the frame
    }
    case WM_NCPAINT: {
      const LRESULT r = callDefault(msg, wp, lp);
      HDC windowDc = GetWindowDC(hwnd());
      drawFrame(windowDc);
      ReleaseDC(hwnd(), windowDc);
      return r;
    }
    case WM_PRINT: {
      const HDC dc = reinterpret_cast<HDC>(wp);
      if (lp & PRF_NONCLIENT) {
        callDefault(msg, wp, PRF_NONCLIENT);
        drawFrame(dc);
      }
      if (lp & PRF_CLIENT) {
        RECT client{}, window{};
        GetClientRect(hwnd(), &client);
        MapWindowPoints(hwnd(), HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
        GetWindowRect(hwnd(), &window);
        const int saved = SaveDC(dc);
        OffsetViewportOrgEx(dc, client.left - window.left, client.top - window.top, nullptr);
        IntersectClipRect(dc, 0, 0, client.right - client.left, client.bottom - client.top);
        paintClient(dc, RECT{0, 0, client.right - client.left, client.bottom - client.top});
        RestoreDC(dc, saved);
      }
      return 0;
    }
    case WM_PRINTCLIENT: {
      RECT client{};
      GetClientRect(hwnd(), &client);
      paintClient(reinterpret_cast<HDC>(wp), client);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;  // the paint covers every pixel
    case WM_NCHITTEST:
      // A fully transparent pixel of a layer is not the window's: the mouse goes to what is behind it. The window
      // system does this itself for a layer; saying it here makes it so wherever the system asks the window.
      if (layered_) {
        RECT window{};
        GetWindowRect(hwnd(), &window);
        const POINT p{GET_X_LPARAM(lp) - window.left, GET_Y_LPARAM(lp) - window.top};
        if (layered_->clearAt(p)) return HTTRANSPARENT;
      }
      break;
    case WM_SIZE:
      layout();
      break;
    case WM_WINDOWPOSCHANGED:
      if (pictureDeferred_ && !(reinterpret_cast<WINDOWPOS*>(lp)->flags & SWP_NOMOVE)) {
        pictureDeferred_ = false;
        InvalidateRect(hwnd(), nullptr, FALSE);
      }
      break;
    case WM_DISPLAYCHANGE:
      if (shown_) placeOnMonitors();  // a monitor plugged in, unplugged or rearranged
      InvalidateRect(hwnd(), nullptr, FALSE);
      break;
    case WM_VSCROLL: {
      if (lp) break;
      SCROLLINFO si{sizeof(si), SIF_ALL, 0, 0, 0, 0, 0};
      GetScrollInfo(hwnd(), SB_VERT, &si);
      switch (LOWORD(wp)) {
        case SB_LINEUP: scrollTo(scrollPos_ - kScrollLine); break;
        case SB_LINEDOWN: scrollTo(scrollPos_ + kScrollLine); break;
        case SB_PAGEUP: scrollTo(scrollPos_ - static_cast<int>(si.nPage)); break;
        case SB_PAGEDOWN: scrollTo(scrollPos_ + static_cast<int>(si.nPage)); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: scrollTo(si.nTrackPos); break;
        case SB_TOP: scrollTo(si.nMin); break;
        case SB_BOTTOM: scrollTo(si.nMax); break;
        default: break;
      }
      return 0;
    }
    case WM_SETCURSOR:
      if (LOWORD(lp) == HTCLIENT && reinterpret_cast<HWND>(wp) == hwnd()) {
        POINT p{};
        GetCursorPos(&p);
        ScreenToClient(hwnd(), &p);
        if (contains(pictureRect(), p) && !contains(messageRect(), p)) {
          SetCursor(LoadCursorW(nullptr, IDC_WAIT));
          return TRUE;
        }
      }
      break;
    case WM_LBUTTONDBLCLK: {
      const POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      if (contains(messageRect(), p)) return 0;  // the message label has no double-click handler
      if (contains(pictureRect(), p)) {
        openOptions();
        return 0;
      }
      break;
    }
    case WM_ACTIVATE: {
      const LRESULT r = Form::handleMessage(msg, wp, lp);
      if (LOWORD(wp) != WA_INACTIVE && !GetFocus()) SetFocus(hwnd());
      return r;
    }
    case kPicturePixelsReady:
      InvalidateRect(hwnd(), nullptr, FALSE);
      return 0;
    case kReportPictureFailure:
      InvalidateRect(hwnd(), nullptr, FALSE);
      if (image.picture()) session().showError(image.picture()->failureText());
      return 0;
    default:
      break;
  }
  return Form::handleMessage(msg, wp, lp);
}

}  // namespace lumivex
