// Forms: creation, showing, the modal loop, dialog keys, routing of child notifications and tooltips.
#include "ui/form.h"

#include <algorithm>
#include <vector>

#include <commctrl.h>

#include "ui/controls.h"
#include "ui/fonts.h"
#include "ui/message_box.h"
#include "ui/monitors.h"

namespace lumivex::ui {
namespace {

constexpr int kTooltipWidth = 600;  // design pixels; longer hints wrap

}  // namespace

Form::Form(Session& session) : session_(session) { session_.add(this); }

Form::~Form() {
  session_.remove(this);
  destroy();
}

void Form::create(const FormStyle& style) {
  DWORD ws = WS_POPUP;
  DWORD ex = WS_EX_CONTROLPARENT;
  if (style.fixedDialogFrame) {
    ws |= WS_CAPTION | WS_SYSMENU;
    ex |= WS_EX_DLGMODALFRAME;
  }
  if (style.topmost) ex |= WS_EX_TOPMOST;
  dpi_ = systemDpi();
  RECT r{0, 0, px(style.clientWidth), px(style.clientHeight)};
  AdjustWindowRectEx(&r, ws, FALSE, ex);
  colour_ = style.colour;
  brush_ = BrushHandle(CreateSolidBrush(toColorRef(colour_)));
  centreOnFirstShow_ = style.centreOnFirstShow;
  dialogKeys_ = style.dialogKeys;
  keepsPixelSize_ = style.keepsPixelSize;
  createOwn(ex, ws, style.caption, 0, 0, r.right - r.left, r.bottom - r.top, session_.owner());
  SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(uiFont(dpi_)), FALSE);
  // Made on a monitor of another dpi than the system's, the form takes that monitor's at once.
  const int own = windowDpi(hwnd());
  if (own != dpi_) {
    changeDpi(own);
    setClientSize(style.clientWidth, style.clientHeight);
  }
}

RECT Form::toPixels(const Bounds& b) const {
  const int left = px(b.x), top = px(b.y);
  return {left, top, px(b.x + b.w), px(b.y + b.h)};
}

Bounds Form::toDesign(const RECT& r, int dpi) {
  const int x = ui::toDesign(r.left, dpi), y = ui::toDesign(r.top, dpi);
  return {x, y, ui::toDesign(r.right, dpi) - x, ui::toDesign(r.bottom, dpi) - y};
}

// Every control keeps its design place at the new dpi and takes the font for it; the form's own size is the caller's.
void Form::changeDpi(int dpi) {
  if (dpi <= 0 || dpi == dpi_) return;
  const int old = dpi_;
  dpi_ = dpi;
  SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(uiFont(dpi_)), FALSE);
  for (const auto& [id, c] : controls_) c->rescale(old);
  if (tooltip_) SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, px(kTooltipWidth));
  InvalidateRect(hwnd(), nullptr, TRUE);
}

bool Form::visible() const { return IsWindowVisible(hwnd()) != FALSE; }

void Form::show() {
  if (visible()) {
    SetForegroundWindow(hwnd());
    return;
  }
  if (!shownOnce_) {
    if (centreOnFirstShow_) centreOnPrimaryMonitor();
    keepWithinWorkArea();
  }
  shownOnce_ = true;
  if (!tooltipsLive_) {
    tooltipsLive_ = true;
    for (const auto& [id, c] : controls_)
      if (!c->hint().empty()) updateTooltip(*c);
  }
  showing_ = true;
  try {
    if (onShow) onShow();
  } catch (...) {
    session_.showCurrentException();
  }
  showing_ = false;
  if (!visible())
    ShowWindow(hwnd(), state_ == WindowState::Maximized ? SW_SHOWMAXIMIZED
                       : activatesWhenShown_            ? SW_SHOW
                                                        : SW_SHOWNOACTIVATE);
}

void Form::applyShowState(int showCommand) {
  if (showCommand == SW_SHOWMAXIMIZED) state_ = WindowState::Maximized;
  show();
}

void Form::hide() {
  if (!visible()) return;
  active_ = false;  // hiding is no focus move between the form's controls
  ShowWindow(hwnd(), SW_HIDE);
}

int Form::showModal() {
  std::vector<HWND> disabled;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND h, LPARAM p) -> BOOL {
        if (IsWindowVisible(h) && IsWindowEnabled(h)) reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&disabled));
  disabled.erase(std::remove(disabled.begin(), disabled.end(), hwnd()), disabled.end());
  for (HWND h : disabled) EnableWindow(h, FALSE);
  const HWND previous = GetActiveWindow();

  // Opened while one of the program's topmost forms is on screen, a modal form must not end up beneath it.
  bool raised = false;
  if (!(GetWindowLongW(hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST))
    for (Form* f : session_.forms())
      if (f != this && f->visible() && (GetWindowLongW(f->hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST)) raised = true;
  if (raised) SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

  modal_ = true;
  modalResult_ = kNoResult;
  show();
  SetForegroundWindow(hwnd());
  SetActiveWindow(hwnd());
  session_.services().modalLoopEntered(*this);
  session_.runLoop([this] { return modalResult_ != kNoResult || !IsWindow(hwnd()); });
  if (modalResult_ == kNoResult) modalResult_ = kResultCancel;

  for (HWND h : disabled)
    if (IsWindow(h)) EnableWindow(h, TRUE);
  hide();
  if (raised) SetWindowPos(hwnd(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  if (previous && IsWindow(previous) && IsWindowVisible(previous)) SetActiveWindow(previous);
  modal_ = false;
  return modalResult_;
}

void Form::close() {
  if (modal_) {
    modalResult_ = kResultCancel;
    return;
  }
  hide();
  if (onClose) onClose();
  if (session_.mainForm() == this) session_.requestQuit();
}

namespace {
RECT outerRect(HWND h) {
  if (IsZoomed(h)) {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    GetWindowPlacement(h, &wp);
    return wp.rcNormalPosition;
  }
  RECT r{};
  GetWindowRect(h, &r);
  return r;
}

void setOuterRect(HWND h, const RECT& r) {
  if (IsZoomed(h)) {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    GetWindowPlacement(h, &wp);
    wp.rcNormalPosition = r;
    SetWindowPlacement(h, &wp);
    return;
  }
  SetWindowPos(h, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}
}  // namespace

int Form::top() const { return outerRect(hwnd()).top; }
int Form::left() const { return outerRect(hwnd()).left; }
int Form::width() const { const RECT r = outerRect(hwnd()); return r.right - r.left; }
int Form::height() const { const RECT r = outerRect(hwnd()); return r.bottom - r.top; }

void Form::setTop(int v) {
  RECT r = outerRect(hwnd());
  if (r.top == v) return;
  if (IsZoomed(hwnd())) {
    OffsetRect(&r, 0, v - r.top);
    setOuterRect(hwnd(), r);
  } else {
    SetWindowPos(hwnd(), nullptr, r.left, v, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
  }
}

void Form::setLeft(int v) {
  RECT r = outerRect(hwnd());
  if (r.left == v) return;
  if (IsZoomed(hwnd())) {
    OffsetRect(&r, v - r.left, 0);
    setOuterRect(hwnd(), r);
  } else {
    SetWindowPos(hwnd(), nullptr, v, r.top, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
  }
}

void Form::setWidth(int v) {
  RECT r = outerRect(hwnd());
  if (r.right - r.left == v) return;
  r.right = r.left + v;
  setOuterRect(hwnd(), r);
}

void Form::setHeight(int v) {
  RECT r = outerRect(hwnd());
  if (r.bottom - r.top == v) return;
  r.bottom = r.top + v;
  setOuterRect(hwnd(), r);
}

void Form::setClientSize(int w, int h) {
  RECT r{0, 0, px(w), px(h)};
  AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongW(hwnd(), GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongW(hwnd(), GWL_EXSTYLE)));
  setWidth(r.right - r.left);
  setHeight(r.bottom - r.top);
}

WindowState Form::windowState() const { return state_; }

void Form::setWindowState(WindowState s) {
  if (s == state_) return;
  state_ = s;
  if (visible() || showing_) ShowWindow(hwnd(), s == WindowState::Maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
}

void Form::setColour(Colour c) {
  if (c == colour_) return;
  colour_ = c;
  brush_ = BrushHandle(CreateSolidBrush(toColorRef(c)));
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void Form::setTabOrder(std::initializer_list<const Control*> order) {
  HWND after = HWND_TOP;
  for (const Control* c : order) {
    SetWindowPos(c->hwnd(), after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    after = c->hwnd();
  }
}

void Form::centreOnPrimaryMonitor() {
  const core::Point p = core::centredDialog(width(), height(), monitors());
  SetWindowPos(hwnd(), nullptr, p.x, p.y, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
}

// A dialog is wholly within the work area of its monitor; a picture-sized form (the splash window, the logo's frame)
// goes where the user put it.
void Form::keepWithinWorkArea() {
  if (keepsPixelSize_) return;
  const core::Rect now{left(), top(), left() + width(), top() + height()};
  const core::Point p = core::withinWorkArea(now, monitors());
  if (p.x != now.left || p.y != now.top)
    SetWindowPos(hwnd(), nullptr, p.x, p.y, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
}

int Form::registerControl(Control* c) {
  const int id = nextId_++;
  controls_[id] = c;
  return id;
}

void Form::unregisterControl(Control* c) {
  if (defaultButton_ == static_cast<Control*>(c)) defaultButton_ = nullptr;
  if (entered_ == c) entered_ = nullptr;
  if (cancelButton_ == static_cast<Control*>(c)) cancelButton_ = nullptr;
  for (auto it = controls_.begin(); it != controls_.end(); ++it)
    if (it->second == c) {
      controls_.erase(it);
      break;
    }
}

void Form::focusArrived(Control& c) {
  if (!active_ && (!entered_ || entered_ == &c)) return;
  if (entered_ && entered_ != &c) {
    Control* left = std::exchange(entered_, nullptr);
    if (left->onExit) left->onExit();
  }
  entered_ = &c;
  if (c.onEnter) c.onEnter();
}

void Form::focusDeparted(Control& c) {
  if (!active_) return;
  if (entered_ == &c) entered_ = nullptr;
  if (c.onExit) c.onExit();
}

Control* Form::controlAt(HWND h) const {
  if (!h) return nullptr;
  for (const auto& [id, c] : controls_)
    if (c->hwnd() == h) return c;
  return nullptr;
}

void Form::updateTooltip(Control& c) {
  if (!c.hwnd() || !tooltipsLive_) return;
  if (!tooltip_) {
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0,
                               0, 0, 0, hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, px(kTooltipWidth));
  }
  TOOLINFOW ti{};
  ti.cbSize = sizeof(ti);
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = hwnd();
  ti.uId = reinterpret_cast<UINT_PTR>(c.hwnd());
  ti.lpszText = const_cast<wchar_t*>(c.hint().c_str());
  // Asked without a text buffer: the tooltip would otherwise copy its old text into the hint's storage.
  TOOLINFOW probe = ti;
  probe.lpszText = nullptr;
  if (c.hint().empty()) {
    SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  } else if (!SendMessageW(tooltip_, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&probe))) {
    ti.lpszText = const_cast<wchar_t*>(c.hint().c_str());
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  } else {
    ti.lpszText = const_cast<wchar_t*>(c.hint().c_str());
    SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
  }
}

bool Form::pressButton(Button* b) {
  if (!b || !b->visible() || !b->enabled()) return false;
  b->click();
  return true;
}

LRESULT Form::route(UINT msg, WPARAM wp, LPARAM lp, bool& handled) {
  handled = true;
  switch (msg) {
    case WM_COMMAND: {
      const HWND from = reinterpret_cast<HWND>(lp);
      Control* c = controlAt(from);
      if (!c && !from) {
        const int id = LOWORD(wp);
        if (id == IDOK) return pressButton(defaultButton_), 0;
        if (id == IDCANCEL) return pressButton(cancelButton_), 0;
        auto it = controls_.find(id);
        if (it != controls_.end()) c = it->second;
      }
      if (c) c->command(HIWORD(wp));
      return 0;
    }
    case WM_NOTIFY: {
      auto* hdr = reinterpret_cast<NMHDR*>(lp);
      if (Control* c = controlAt(hdr->hwndFrom)) return c->notify(hdr);
      break;
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (Control* c = controlAt(reinterpret_cast<HWND>(lp))) {
        c->scroll(LOWORD(wp));
        return 0;
      }
      break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
      if (Control* c = controlAt(reinterpret_cast<HWND>(lp)))
        if (HBRUSH b = c->colours(reinterpret_cast<HDC>(wp))) return reinterpret_cast<LRESULT>(b);
      break;
    default:
      break;
  }
  handled = false;
  return 0;
}

void Form::paint(HDC, const RECT&) {}

void Form::trackingLimits(MINMAXINFO* info) {
  info->ptMaxTrackSize = {0x10000, 0x10000};
}

LRESULT Form::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  bool handled = false;
  LRESULT r = route(msg, wp, lp, handled);
  if (handled) return r;
  switch (msg) {
    case WM_ERASEBKGND: {
      RECT rc;
      GetClientRect(hwnd(), &rc);
      FillRect(reinterpret_cast<HDC>(wp), &rc, brush_.get());
      return 1;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd(), &ps);
      paint(dc, ps.rcPaint);
      EndPaint(hwnd(), &ps);
      return 0;
    }
    case WM_CLOSE:
      close();
      return 0;
    case DM_GETDEFID: {
      // A push button with the focus is the one that Enter presses.
      const HWND focus = GetFocus();
      if (focus && IsChild(hwnd(), focus) &&
          (SendMessageW(focus, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)))
        return MAKELRESULT(GetDlgCtrlID(focus), DC_HASDEFID);
      if (defaultButton_ && defaultButton_->visible() && defaultButton_->enabled())
        return MAKELRESULT(defaultButton_->id(), DC_HASDEFID);
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(wp) == WA_INACTIVE) {
        active_ = false;
        HWND f = GetFocus();
        if (f && IsChild(hwnd(), f)) lastFocus_ = f;
      } else {
        if (lastFocus_ && IsWindow(lastFocus_) && IsWindowVisible(lastFocus_) && IsWindowEnabled(lastFocus_)) {
          SetFocus(lastFocus_);
        } else if (HWND first = GetNextDlgTabItem(hwnd(), nullptr, FALSE)) {
          SetFocus(first);
        }
        active_ = true;
        return 0;
      }
      break;
    case WM_DPICHANGED: {
      changeDpi(HIWORD(wp));
      const RECT* suggested = reinterpret_cast<const RECT*>(lp);
      SetWindowPos(hwnd(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                   suggested->bottom - suggested->top,
                   SWP_NOZORDER | SWP_NOACTIVATE | (keepsPixelSize_ ? SWP_NOSIZE : 0));
      keepWithinWorkArea();
      return 0;
    }
    case WM_GETMINMAXINFO:
      trackingLimits(reinterpret_cast<MINMAXINFO*>(lp));
      return 0;
    case WM_LBUTTONDBLCLK:
      if (onDblClick) onDblClick();
      return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:  // keys typed with Alt held
      if (onKeyDown) {
        WORD key = static_cast<WORD>(wp);
        onKeyDown(key);
        // A key the handler leaves alone still does what the window system does with it (Alt+F4).
        if (msg == WM_KEYDOWN || key == 0) return 0;
      }
      break;
    default:
      break;
  }
  return callDefault(msg, wp, lp);
}

}  // namespace lumivex::ui
