// Push buttons with glyphs, and check boxes.
#include <cstring>
#include <iterator>
#include <string>

#include "core/alpha_pixels.h"
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

namespace {

constexpr int kGlyphDesignSize = 18;
// The sizes resources/make_resources.py draws each glyph at besides its design size: 125 % to 300 % scaling.
constexpr int kDrawnGlyphSizes[] = {22, 27, 31, 36, 45, 54};

HBITMAP loadBitmap(const std::wstring& name) {
  return static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

// The glyph drawn at `size` pixels, or the nearest larger one drawn (else the largest) resampled with its alpha.
// Stretching the bitmap while loading it would lose the alpha and leave the glyph on a black square.
HBITMAP loadGlyph(const wchar_t* name, int size) {
  if (size == kGlyphDesignSize) return loadBitmap(name);
  int source = kDrawnGlyphSizes[std::size(kDrawnGlyphSizes) - 1];
  for (int drawn : kDrawnGlyphSizes)
    if (drawn >= size) {
      source = drawn;
      break;
    }
  HBITMAP bmp = loadBitmap(std::wstring(name) + L"_" + std::to_wstring(source));
  if (!bmp || source == size) return bmp;
  DIBSECTION dib{};
  const bool readable = GetObjectW(bmp, sizeof(dib), &dib) == sizeof(dib) && dib.dsBm.bmBitsPixel == 32 &&
                        dib.dsBm.bmBits && dib.dsBm.bmWidth == source && dib.dsBm.bmHeight == source;
  core::PremultipliedPixels pixels{source, source, {}};
  if (readable) {
    // The section is bottom-up; the core works top-down.
    const auto* bits = static_cast<const uint8_t*>(dib.dsBm.bmBits);
    for (int y = source - 1; y >= 0; --y)
      pixels.bgra.insert(pixels.bgra.end(), bits + y * dib.dsBm.bmWidthBytes, bits + y * dib.dsBm.bmWidthBytes + source * 4);
  }
  DeleteObject(bmp);
  if (!readable) return nullptr;
  const core::PremultipliedPixels scaled = core::resized(pixels, size, size);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* out = nullptr;
  HBITMAP result = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &out, nullptr, 0);
  if (result) std::memcpy(out, scaled.bgra.data(), scaled.bgra.size());
  return result;
}

}  // namespace

// The glyph is drawn at design size times the form's scale, with its transparent background kept.
void Button::setGlyph(const wchar_t* bitmapResource) {
  glyph_ = bitmapResource;
  const int w = form().px(kGlyphDesignSize), h = w;
  HBITMAP bmp = loadGlyph(bitmapResource, w);
  if (!bmp) return;
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
