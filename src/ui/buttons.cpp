// Push buttons with glyphs, and check boxes.
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/system_libraries.h"

namespace lumivex::ui {

void Button::create(Window& parent, Bounds b, const std::wstring& text) {
  createChild(L"BUTTON", 0, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, parent, b, text);
  handCursor = true;
}

Button::~Button() {
  if (images_) syslib::imageListDestroy(images_);
}

// The glyph is drawn at design size times the form's scale: the resource is stretched when it is loaded.
void Button::setGlyph(const wchar_t* bitmapResource) {
  glyph_ = bitmapResource;
  const HINSTANCE module = GetModuleHandleW(nullptr);
  auto* bmp = static_cast<HBITMAP>(LoadImageW(module, bitmapResource, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (!bmp) return;
  BITMAP info{};
  GetObjectW(bmp, sizeof(info), &info);
  const int w = form().px(info.bmWidth), h = form().px(info.bmHeight);
  if (w != info.bmWidth || h != info.bmHeight) {
    DeleteObject(bmp);
    bmp = static_cast<HBITMAP>(LoadImageW(module, bitmapResource, IMAGE_BITMAP, w, h, LR_CREATEDIBSECTION));
    if (!bmp) return;
  }
  if (images_) syslib::imageListDestroy(images_);
  images_ = syslib::imageListCreate(w, h, ILC_COLOR32, 1, 0);
  syslib::imageListAdd(images_, bmp, nullptr);
  DeleteObject(bmp);
  BUTTON_IMAGELIST list{images_, {form().px(2), 0, 0, 0}, BUTTON_IMAGELIST_ALIGN_LEFT};
  SendMessageW(hwnd(), BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&list));
}

void Button::dpiChanged() {
  if (glyph_) setGlyph(glyph_);
}

void Button::setDefault(bool on) {
  SendMessageW(hwnd(), BM_SETSTYLE, on ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
  form().setDefaultButton(on ? this : nullptr);
}

void Button::click() {
  if (modalResult != 0) form().setModalResult(modalResult);
  if (onClick) onClick();
}

void Button::command(WORD code) {
  if (code == BN_CLICKED) click();
}

void CheckBox::create(Window& parent, Bounds b, const std::wstring& text) {
  createChild(L"BUTTON", 0, WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, parent, b, text);
}

bool CheckBox::checked() const { return SendMessageW(hwnd(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void CheckBox::setChecked(bool on) {
  if (on == checked()) return;
  SendMessageW(hwnd(), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
  if (onClick) onClick();
}

void CheckBox::command(WORD code) {
  if (code == BN_CLICKED && onClick) onClick();
}

}  // namespace lumivex::ui
