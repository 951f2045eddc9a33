// The editable drop-down combo box that drops its list as the user types and completes from it.
#include "ui/controls.h"
#include "ui/form.h"

namespace lumivex::ui {
namespace {
constexpr int kDroppedHeight = 400;  // design pixels: the edit field and the dropped list together
}  // namespace

void ComboBox::create(Window& parent, Bounds b, const std::wstring& text) {
  createChild(L"COMBOBOX", 0, WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, parent,
              {b.x, b.y, b.w, kDroppedHeight}, text);
  SendMessageW(hwnd(), CB_SETMINVISIBLE, 16, 0);
  handCursor = true;
  lastText_ = this->text();
}

// A drop-down combo box is sized with its dropped list; placed anew like any control, it would lose the list.
void ComboBox::dpiChanged() {
  RECT r{};
  GetWindowRect(hwnd(), &r);
  SetWindowPos(hwnd(), nullptr, 0, 0, r.right - r.left, form().px(kDroppedHeight),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND ComboBox::editHwnd() const {
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  GetComboBoxInfo(hwnd(), &info);
  return info.hwndItem;
}

std::vector<std::wstring> ComboBox::items() const {
  std::vector<std::wstring> out;
  const int n = static_cast<int>(SendMessageW(hwnd(), CB_GETCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    std::wstring s(static_cast<size_t>(SendMessageW(hwnd(), CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
    s.resize(static_cast<size_t>(SendMessageW(hwnd(), CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(s.data()))));
    out.push_back(std::move(s));
  }
  return out;
}

// The strings go straight to the drop-down list, which holds the items for the combo box: each message to the
// combo box itself passes its window procedures, the tooltip's subclass among them once it has a hint, which under
// Wine costs round trips to the window server and made a list of 100000 lines take 10 seconds.
void ComboBox::setItems(const std::vector<std::wstring>& items) {
  const std::wstring keep = text();
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  GetComboBoxInfo(hwnd(), &info);
  const HWND list = info.hwndList ? info.hwndList : hwnd();
  const UINT add = info.hwndList ? LB_ADDSTRING : CB_ADDSTRING;
  size_t bytes = 0;
  for (const auto& item : items) bytes += (item.size() + 1) * sizeof(wchar_t);
  SendMessageW(hwnd(), WM_SETREDRAW, FALSE, 0);
  SendMessageW(hwnd(), CB_RESETCONTENT, 0, 0);
  SendMessageW(hwnd(), CB_INITSTORAGE, items.size(), static_cast<LPARAM>(bytes));
  for (const auto& item : items) SendMessageW(list, add, 0, reinterpret_cast<LPARAM>(item.c_str()));
  SendMessageW(hwnd(), WM_SETREDRAW, TRUE, 0);
  if (text() != keep) setTextRaw(keep);
  lastText_ = keep;
}

void ComboBox::setText(const std::wstring& text) {
  if (text == this->text()) return;
  setTextRaw(text);
  lastText_ = text;
  if (onChange) onChange();
}

void ComboBox::setColour(Colour c) {
  if (changeColour(c) && hwnd()) RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

HBRUSH ComboBox::colours(HDC dc) { return paintColours(dc); }

void ComboBox::completeTyping() {
  const std::wstring typed = text();
  if (deleting_ || typed.empty()) return;
  if (!SendMessageW(hwnd(), CB_GETDROPPEDSTATE, 0, 0)) {
    SendMessageW(hwnd(), CB_SHOWDROPDOWN, TRUE, 0);
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
  }
  const LRESULT found = SendMessageW(hwnd(), CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(typed.c_str()));
  if (found == CB_ERR) return;
  std::wstring match(static_cast<size_t>(SendMessageW(hwnd(), CB_GETLBTEXTLEN, found, 0)) + 1, L'\0');
  match.resize(static_cast<size_t>(SendMessageW(hwnd(), CB_GETLBTEXT, found, reinterpret_cast<LPARAM>(match.data()))));
  SendMessageW(hwnd(), CB_SETCURSEL, static_cast<WPARAM>(found), 0);
  setTextRaw(match);
  SendMessageW(hwnd(), CB_SETEDITSEL, 0, MAKELPARAM(typed.size(), -1));
}

void ComboBox::command(WORD code) {
  switch (code) {
    case CBN_EDITUPDATE:
      completeTyping();
      break;
    case CBN_EDITCHANGE:
      if (text() != lastText_) {
        lastText_ = text();
        if (onChange) onChange();
      }
      break;
    case CBN_SELCHANGE: {
      const LRESULT sel = SendMessageW(hwnd(), CB_GETCURSEL, 0, 0);
      if (sel == CB_ERR) break;
      std::wstring item(static_cast<size_t>(SendMessageW(hwnd(), CB_GETLBTEXTLEN, sel, 0)) + 1, L'\0');
      item.resize(static_cast<size_t>(SendMessageW(hwnd(), CB_GETLBTEXT, sel, reinterpret_cast<LPARAM>(item.data()))));
      setTextRaw(item);
      if (item != lastText_) {
        lastText_ = item;
        if (onChange) onChange();
      }
      break;
    }
    case CBN_SETFOCUS:
      form().focusArrived(*this);
      break;
    case CBN_KILLFOCUS:
      form().focusDeparted(*this);
      break;
    default:
      break;
  }
}

LRESULT ComboBox::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
      return reinterpret_cast<LRESULT>(colours(reinterpret_cast<HDC>(wp)));
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      return callDefault(msg, wp, lp);  // focus events come as CBN_SETFOCUS / CBN_KILLFOCUS
    case WM_COMMAND:
      if (HIWORD(wp) == EN_UPDATE) {
        deleting_ = (GetKeyState(VK_BACK) & 0x8000) || (GetKeyState(VK_DELETE) & 0x8000);
      }
      break;
    default:
      break;
  }
  return Control::handleMessage(msg, wp, lp);
}

}  // namespace lumivex::ui
