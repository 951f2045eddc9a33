// The typed controls: setters change the value and run the change reaction exactly when the value changes.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <windows.h>
#include <commctrl.h>

#include "ui/colour.h"
#include "ui/control.h"
#include "ui/handles.h"

namespace lumivex::ui {

// A control whose background follows a colour value (edits, swatches, spin edits, combo boxes).
class Coloured {
 public:
  Colour colour() const { return colour_; }

 protected:
  explicit Coloured(Colour c) : colour_(c) {}
  bool changeColour(Colour c);  // false when unchanged
  HBRUSH paintColours(HDC dc);

 private:
  Colour colour_;
  BrushHandle brush_;
};

class Label : public Control {
 public:
  using Control::Control;
  void create(Window& parent, Bounds b, const std::wstring& text) override;
  void setText(const std::wstring& text);  // the label sizes itself to its text, unless it wraps
  bool transparent = true;
  bool wordWrap = false;  // keeps its design box and wraps the text within it
  HBRUSH colours(HDC dc) override;

 protected:
  void dpiChanged() override { autoSize(); }

 private:
  void autoSize();
};

// Static text with an inset border and its own tooltips (the guidance line).
class StaticText : public Control {
 public:
  using Control::Control;
  void create(Window& parent, Bounds b, const std::wstring& text) override;
  void setText(const std::wstring& text);
};

class Button : public Control {
 public:
  using Control::Control;
  void create(Window& parent, Bounds b, const std::wstring& text) override;
  ~Button() override;
  void setGlyph(const wchar_t* bitmapResource);
  void setDefault(bool on);
  void click();  // sets the form's modal result (when the button has one), then runs onClick
  void command(WORD code) override;
  int modalResult = 0;
  std::function<void()> onClick;

 protected:
  void dpiChanged() override;

 private:
  HIMAGELIST images_ = nullptr;
  const wchar_t* glyph_ = nullptr;  // the bitmap resource's name
};

class CheckBox : public Control {
 public:
  using Control::Control;
  void create(Window& parent, Bounds b, const std::wstring& text) override;
  bool checked() const;
  void setChecked(bool on);
  void command(WORD code) override;
  std::function<void()> onClick;
};

class Edit : public Control, public Coloured {
 public:
  explicit Edit(Form& form, Colour c = kButtonFace) : Control(form), Coloured(c) {}
  void create(Window& parent, Bounds b, const std::wstring& text) override;
  void setText(const std::wstring& text);
  void setColour(Colour c);
  void setMaxLength(int n);
  bool readOnly = false;
  HBRUSH colours(HDC dc) override;
  void command(WORD code) override;
  std::function<void()> onChange;

 protected:
  bool settingText_ = false;
};

// A multi-line text box wrapped at its width, without scroll bars, flat with a lowered inner edge.
class Memo : public Edit {
 public:
  using Edit::Edit;
  void create(Window& parent, Bounds b, const std::wstring& text) override;
  void clear();
  // Appends `line` and one line break at the end of the text, as a single insertion.
  void addLine(const std::wstring& line);
};

// An edit box with a pair of up and down buttons holding a whole number within a range.
class SpinEdit : public Edit {
 public:
  SpinEdit(Form& form, int minimum, int maximum);
  void create(Window& parent, Bounds b, const std::wstring& text) override;
  int minValue() const { return min_; }
  int maxValue() const { return max_; }
  int value() const;  // the text as a whole number, or the minimum when it is not one
  void setValue(int v);
  void step(int delta);  // by `delta` increments
  int increment = 1;     // what one press of an arrow button or key adds

 protected:
  LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void dpiChanged() override;

 private:
  class Buttons : public Control {
   public:
    Buttons(Form& form, SpinEdit& owner) : Control(form), owner_(owner) {}
    void create(Window& parent, Bounds b, const std::wstring& text) override;
    LRESULT notify(NMHDR* hdr) override;

   private:
    SpinEdit& owner_;
  };
  static bool isWholeNumber(const std::wstring& s, long long& out);
  void clampOnExit();

  int min_, max_;
  Buttons buttons_;
};

class ComboBox : public Control, public Coloured {
 public:
  explicit ComboBox(Form& form) : Control(form), Coloured(kButtonFace) {}
  void create(Window& parent, Bounds b, const std::wstring& text) override;
  std::vector<std::wstring> items() const;
  void setItems(const std::vector<std::wstring>& items);  // the edit field keeps its text
  void setText(const std::wstring& text);
  void setColour(Colour c);
  HWND editHwnd() const;
  void command(WORD code) override;
  HBRUSH colours(HDC dc) override;
  std::function<void()> onChange;

 protected:
  LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void dpiChanged() override;

 private:
  void completeTyping();
  std::wstring lastText_;
  bool deleting_ = false;
};

class ScrollBar : public Control {
 public:
  ScrollBar(Form& form, int minimum, int maximum, int position);
  void create(Window& parent, Bounds b, const std::wstring& text) override;
  int minValue() const { return min_; }
  int maxValue() const { return max_; }
  int position() const { return pos_; }
  void setPosition(int p);
  void scroll(WORD code) override;
  std::function<void()> onChange;

 private:
  int min_, max_, pos_;
};

// A bordered rectangle showing a colour; clicking it runs onClick.
class ColourSwatch : public Control, public Coloured {
 public:
  explicit ColourSwatch(Form& form, Colour c) : Control(form), Coloured(c) {}
  void create(Window& parent, Bounds b, const std::wstring& text) override;
  void setColour(Colour c);
  HBRUSH colours(HDC dc) override;
  void command(WORD code) override;
  std::function<void()> onClick;
};

// A window of the program's own class that holds other controls and passes their notifications to the form.
class Container : public Control {
 public:
  enum class Frame { None, GroupBox, RaisedPanel };
  Container(Form& form, Frame frame) : Control(form), frame_(frame) {}
  void create(Window& parent, Bounds b, const std::wstring& text) override;

 protected:
  LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  virtual void paint(HDC dc);

 private:
  // Siblings placed on top of the container but after it in the tab (and so the stacking) order stay visible and
  // reachable: the container neither paints over them nor takes the mouse from them. Shapes are backgrounds and
  // do not count.
  bool overLowerSibling(POINT screen) const;
  bool isBackground(HWND sibling) const;
  void yieldToLowerSiblings(HDC dc) const;
  Frame frame_;
};

// A group box of radio buttons; the selected index is -1 when none is selected.
class RadioGroup : public Container {
 public:
  explicit RadioGroup(Form& form) : Container(form, Frame::GroupBox) {}
  void create(Window& parent, Bounds b, const std::wstring& text) override;
  void setItems(const std::vector<std::wstring>& items);
  int itemIndex() const;
  void setItemIndex(int i);
  std::function<void()> onClick;
  HWND itemHwnd(int i) const;

 private:
  class Item : public Control {
   public:
    Item(Form& form, RadioGroup& group) : Control(form), group_(group) {}
    void create(Window& parent, Bounds b, const std::wstring& text) override;
    void command(WORD code) override;

   private:
    RadioGroup& group_;
  };
  void itemClicked();
  std::vector<std::unique_ptr<Item>> items_;
  int index_ = -1;
};

// A filled rectangle with an outline drawn along the inside of its edges; it lets the mouse through and lies
// beneath the controls stacked above it, which are drawn over it.
class Shape : public Control {
 public:
  Shape(Form& form, Colour fill, Colour outline, int outlineWidth)
      : Control(form), fill_(fill), outline_(outline), penWidth_(outlineWidth) {}
  void create(Window& parent, Bounds b, const std::wstring& text) override;

 protected:
  LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void redrawSiblingsAbove();
  Colour fill_, outline_;
  int penWidth_;
};

// A picture shown at its natural size at the top-left corner.
class Image : public Control {
 public:
  using Control::Control;
  void create(Window& parent, Bounds b, const std::wstring& text) override;
  void setBitmap(BitmapHandle bitmap, bool autoSize);
  HBITMAP bitmap() const { return bitmap_.get(); }

 protected:
  LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void dpiChanged() override;

 private:
  SIZE shownSize() const;  // the picture's size scaled as the form's layout is
  BitmapHandle bitmap_;
  bool autoSize_ = false;
};

}  // namespace lumivex::ui
