// Common behaviour of controls: geometry, state, hints, the hand pointer and focus/mouse events.
#include "ui/control.h"

#include <algorithm>

#include <windowsx.h>

#include "ui/fonts.h"
#include "ui/form.h"

namespace lumivex::ui {

Control::Control(Form& form) : form_(form), id_(form.registerControl(this)) {}

Control::~Control() { form_.unregisterControl(this); }

void Control::reportException() { form_.session().showCurrentException(); }

void Control::createChild(const wchar_t* className, DWORD exStyle, DWORD style, Window& parent, Bounds b,
                          const std::wstring& text) {
  const RECT r = form_.toPixels(b);
  createStandard(className, exStyle, style | WS_CHILD | WS_CLIPSIBLINGS, text.c_str(), r.left, r.top,
                 r.right - r.left, r.bottom - r.top, parent.hwnd(), id_);
  SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(uiFont(form_.dpi())), FALSE);
}

void Control::rescale(int oldDpi) {
  if (!hwnd()) return;
  RECT r{};
  GetWindowRect(hwnd(), &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(hwnd()), reinterpret_cast<POINT*>(&r), 2);
  const Bounds design = Form::toDesign(r, oldDpi);
  const RECT now = form_.toPixels(design);
  SetWindowPos(hwnd(), nullptr, now.left, now.top, now.right - now.left, now.bottom - now.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(uiFont(form_.dpi())), TRUE);
  dpiChanged();
}

namespace {
RECT pixelRectInParent(HWND h) {
  RECT r{};
  GetWindowRect(h, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(h), reinterpret_cast<POINT*>(&r), 2);
  return r;
}
}  // namespace

Bounds Control::bounds() const { return Form::toDesign(pixelRectInParent(hwnd()), form_.dpi()); }

void Control::setBounds(Bounds b) {
  const RECT r = form_.toPixels(b);
  SetWindowPos(hwnd(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Control::setLeft(int x) {
  const RECT was = pixelRectInParent(hwnd());
  const int left = toPixels(x, form_.dpi());
  if (was.left == left) return;
  // Copied bits would carry whatever lay under a transparent control: the parent repaints both places instead.
  SetWindowPos(hwnd(), nullptr, left, was.top, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOCOPYBITS);
  RECT r{std::min<int>(was.left, left), was.top, std::max<int>(was.left, left) + (was.right - was.left), was.bottom};
  RedrawWindow(GetParent(hwnd()), &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

bool Control::visible() const { return (GetWindowLongW(hwnd(), GWL_STYLE) & WS_VISIBLE) != 0; }
void Control::setVisible(bool on) { ShowWindow(hwnd(), on ? SW_SHOWNA : SW_HIDE); }
bool Control::enabled() const { return IsWindowEnabled(hwnd()) != FALSE; }
void Control::setEnabled(bool on) { EnableWindow(hwnd(), on ? TRUE : FALSE); }
bool Control::focused() const { return GetFocus() == hwnd(); }
void Control::focus() { SetFocus(hwnd()); }

std::wstring Control::text() const {
  std::wstring s(static_cast<size_t>(GetWindowTextLengthW(hwnd())) + 1, L'\0');
  s.resize(static_cast<size_t>(GetWindowTextW(hwnd(), s.data(), static_cast<int>(s.size()))));
  return s;
}

void Control::setTextRaw(const std::wstring& text) { SetWindowTextW(hwnd(), text.c_str()); }

void Control::setHint(std::wstring hint) {
  if (hint == hint_) return;
  hint_ = std::move(hint);
  form_.updateTooltip(*this);
}

LRESULT Control::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SETCURSOR:
      if (handCursor && LOWORD(lp) == HTCLIENT) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    case WM_MOUSEMOVE:
      mousePoint_ = {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      if (onMouseMove) onMouseMove();
      break;
    case WM_SETFOCUS: {
      LRESULT r = callDefault(msg, wp, lp);
      form_.focusArrived(*this);
      return r;
    }
    case WM_KILLFOCUS: {
      LRESULT r = callDefault(msg, wp, lp);
      form_.focusDeparted(*this);
      return r;
    }
    default:
      break;
  }
  return callDefault(msg, wp, lp);
}

}  // namespace lumivex::ui
