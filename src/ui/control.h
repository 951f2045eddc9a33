// The base of every control: a child window owned by a form, with focus, mouse-move and hint events.
#pragma once
#include <functional>
#include <string>

#include "ui/window.h"

namespace lumivex::ui {

class Form;

// A control's place and size relative to its parent's client area, in design pixels (96 dpi): the window layer
// scales them to the pixels of the screen the form is on.
struct Bounds {
  int x = 0, y = 0, w = 0, h = 0;
};

// A form's controls kept apart from its code: a private base of the form, every control made on the form. What
// drives the form from outside, as a user would, reaches them through a friend of the form. The form passes itself
// as `static_cast<Form&>(*this)`: as plain `*this` it would match the controls' copy constructor as well.
class FormControls {
 protected:
  explicit FormControls(Form& form) : form_(form) {}
  ~FormControls() = default;
  Form& form_;
};

class Control : public Window {
 public:
  explicit Control(Form& form);
  ~Control() override;

  Form& form() const { return form_; }
  int id() const { return id_; }

  // Creates the control's window inside `parent` (the form or a container) at `b` with `text`.
  virtual void create(Window& parent, Bounds b, const std::wstring& text) = 0;

  // The form has moved to a screen of another dpi: the control takes the same design place at the form's new dpi
  // and its font for it.
  void rescale(int oldDpi);

  Bounds bounds() const;  // relative to the parent's client area
  void setBounds(Bounds b);
  void setLeft(int x);
  bool visible() const;
  void setVisible(bool on);
  bool enabled() const;
  void setEnabled(bool on);
  bool focused() const;
  void focus();
  std::wstring text() const;

  const std::wstring& hint() const { return hint_; }
  void setHint(std::wstring hint);
  bool handCursor = false;

  std::function<void()> onEnter, onExit, onMouseMove;
  // Where the mouse was at the last mouse move, in client coordinates; valid while onMouseMove runs.
  POINT mousePoint() const { return mousePoint_; }

  // Notifications that the container passes on, and the colours it asks for.
  virtual void command(WORD /*code*/) {}
  virtual LRESULT notify(NMHDR* /*hdr*/) { return 0; }
  virtual void scroll(WORD /*code*/) {}
  virtual HBRUSH colours(HDC /*dc*/) { return nullptr; }

 protected:
  LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void reportException() override;
  void createChild(const wchar_t* className, DWORD exStyle, DWORD style, Window& parent, Bounds b,
                   const std::wstring& text);
  void setTextRaw(const std::wstring& text);
  // What a control adds to rescale once its place and font follow the new dpi.
  virtual void dpiChanged() {}

 private:
  Form& form_;
  int id_;
  std::wstring hint_;
  POINT mousePoint_{};
};

}  // namespace lumivex::ui
