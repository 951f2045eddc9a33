// Edit boxes and spin edits.
#include <algorithm>
#include <cwctype>

#include "ui/controls.h"
#include "ui/form.h"
#include "ui/text.h"

namespace lumivex::ui {

void Edit::create(Window& parent, Bounds b, const std::wstring& text) {
  createChild(L"EDIT", 0, WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL | (readOnly ? ES_READONLY : 0), parent,
              b, text);
}

void Edit::setText(const std::wstring& text) {
  if (text == this->text()) return;
  settingText_ = true;
  setTextRaw(text);
  settingText_ = false;
  if (onChange) onChange();
}

void Edit::setColour(Colour c) {
  if (changeColour(c) && hwnd()) InvalidateRect(hwnd(), nullptr, TRUE);
}

void Edit::setMaxLength(int n) { SendMessageW(hwnd(), EM_LIMITTEXT, static_cast<WPARAM>(n), 0); }

HBRUSH Edit::colours(HDC dc) { return paintColours(dc); }

void Edit::command(WORD code) {
  if (code == EN_CHANGE && !settingText_ && onChange) onChange();
}

void Memo::create(Window& parent, Bounds b, const std::wstring& text) {
  createChild(L"EDIT", WS_EX_STATICEDGE,
              WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | (readOnly ? ES_READONLY : 0), parent, b, text);
}

void Memo::clear() { setText(L""); }

void Memo::addLine(const std::wstring& line) {
  const std::wstring insertion = line + L"\r\n";
  const LRESULT end = GetWindowTextLengthW(hwnd());
  settingText_ = true;
  SendMessageW(hwnd(), EM_SETSEL, static_cast<WPARAM>(end), end);
  SendMessageW(hwnd(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(insertion.c_str()));
  settingText_ = false;
  if (onChange) onChange();
}

SpinEdit::SpinEdit(Form& form, int minimum, int maximum)
    : Edit(form), min_(minimum), max_(maximum), buttons_(form, *this) {}

namespace {
// Design pixels: the buttons cover the box's right end up to its edge; the text keeps clear of them.
constexpr int kSpinButtonsWidth = 16;
constexpr int kSpinTextMargin = 15;
}  // namespace

void SpinEdit::create(Window& parent, Bounds b, const std::wstring& text) {
  Edit::create(parent, b, text);
  dpiChanged();
  buttons_.create(parent, {b.x + b.w - kSpinButtonsWidth, b.y + 1, kSpinButtonsWidth, b.h - 2}, L"");
  SetWindowPos(buttons_.hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void SpinEdit::dpiChanged() {
  SendMessageW(hwnd(), EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, form().px(kSpinTextMargin)));
}

void SpinEdit::Buttons::create(Window& parent, Bounds b, const std::wstring& text) {
  createChild(UPDOWN_CLASSW, 0, WS_VISIBLE, parent, b, text);
  setBounds(b);  // made without a buddy, the control would take a width of its own, whatever the dpi
  SendMessageW(hwnd(), UDM_SETRANGE32, 0, 100);
  SendMessageW(hwnd(), UDM_SETPOS32, 0, 50);
}

LRESULT SpinEdit::Buttons::notify(NMHDR* hdr) {
  if (hdr->code == UDN_DELTAPOS) {
    const auto* ud = reinterpret_cast<NMUPDOWN*>(hdr);
    owner_.step(ud->iDelta > 0 ? 1 : -1);
    return 1;  // the buttons keep no position of their own
  }
  return 0;
}

bool SpinEdit::isWholeNumber(const std::wstring& s, long long& out) {
  size_t i = 0;
  while (i < s.size() && s[i] == L' ') ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == L'+' || s[i] == L'-')) negative = s[i++] == L'-';
  if (i == s.size()) return false;
  long long v = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < L'0' || s[i] > L'9') return false;
    v = v * 10 + (s[i] - L'0');
    if (v > 0x7FFFFFFFLL + 1) return false;
  }
  out = negative ? -v : v;
  return out >= -0x80000000LL && out <= 0x7FFFFFFFLL;
}

int SpinEdit::value() const {
  long long v = 0;
  return isWholeNumber(text(), v) ? static_cast<int>(v) : min_;
}

void SpinEdit::setValue(int v) { setText(decimal(v)); }

// A value typed outside the range steps to the nearer bound, not away from it: 999 in 1..180 goes down to 180.
void SpinEdit::step(int delta) {
  const long long next = static_cast<long long>(value()) + static_cast<long long>(delta) * increment;
  setValue(static_cast<int>(std::clamp<long long>(next, min_, max_)));
  SendMessageW(hwnd(), EM_SETSEL, 0, -1);
}

void SpinEdit::clampOnExit() {
  long long v = 0;
  if (!isWholeNumber(text(), v)) return;
  if (v < min_) setValue(min_);
  else if (v > max_) setValue(max_);
}

LRESULT SpinEdit::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CHAR: {
      const wchar_t c = static_cast<wchar_t>(wp);
      wchar_t separator[4] = L".";
      GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 4);
      const bool allowed = (c >= L'0' && c <= L'9') || c == L'+' || c == L'-' || c == separator[0] ||
                           (c < 0x20 && c != L'\r');
      if (!allowed) {
        MessageBeep(0);
        return 0;
      }
      break;
    }
    case WM_KEYDOWN:
      if (wp == VK_UP || wp == VK_DOWN) {
        step(wp == VK_UP ? 1 : -1);
        return 0;
      }
      break;
    case WM_KILLFOCUS:
      clampOnExit();
      break;
    default:
      break;
  }
  return Edit::handleMessage(msg, wp, lp);
}

}  // namespace lumivex::ui
