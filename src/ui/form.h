// A top-level window that owns its controls: the main window, or a dialog shown modally with its own loop.
#pragma once
#include <functional>
#include <map>
#include <string>

#include "ui/colour.h"
#include "ui/control.h"
#include "ui/handles.h"
#include "ui/scaling.h"
#include "ui/session.h"

namespace lumivex::ui {

class Button;

enum ModalResult : int { kNoResult = 0, kResultOk = IDOK, kResultCancel = IDCANCEL };
enum class WindowState { Normal, Maximized };

struct FormStyle {
  const wchar_t* caption = L"";
  int clientWidth = 0, clientHeight = 0;
  bool fixedDialogFrame = false;   // caption with close box only, no resizing
  bool topmost = false;
  bool centreOnFirstShow = false;  // centred on the primary monitor the first time it is shown
  bool dialogKeys = true;          // Tab, Enter and Esc navigate as in a dialog
  Colour colour = kButtonFace;
  bool keepsPixelSize = false;     // sized in screen pixels (a picture's): it keeps its size at another dpi
};

// A dialog of fixed size, centred on the primary monitor the first time it is shown.
inline FormStyle fixedDialogStyle(const wchar_t* caption, int clientWidth, int clientHeight) {
  FormStyle style;
  style.caption = caption;
  style.clientWidth = clientWidth;
  style.clientHeight = clientHeight;
  style.fixedDialogFrame = true;
  style.centreOnFirstShow = true;
  return style;
}

class Form : public Window {
 public:
  explicit Form(Session& session);
  ~Form() override;

  Session& session() const { return session_; }

  void create(const FormStyle& style);

  // Showing. `show` runs onShow before the window appears; a modal showing returns the modal result.
  void show();
  // Shows the main window at start-up: the maximized show command puts it into the maximized state first.
  void applyShowState(int showCommand);
  // Whether `show` makes the form the active window (as it does unless told otherwise); onShow may decide.
  void setActivatesWhenShown(bool on) { activatesWhenShown_ = on; }
  void hide();
  bool visible() const;
  int showModal();
  bool modal() const { return modal_; }
  int modalResult() const { return modalResult_; }
  void setModalResult(int r) { modalResult_ = r; }
  // A close request: a modal form ends with Cancel; any other hides, runs onClose and, as the main window,
  // ends the program.
  void close();

  // Outer bounds in screen coordinates (the restored bounds while maximized).
  int top() const;
  int left() const;
  int width() const;
  int height() const;
  void setTop(int v);
  void setLeft(int v);
  void setWidth(int v);
  void setHeight(int v);
  void setClientSize(int w, int h);  // design pixels

  // Display scaling: the dpi of the screen the form is on, and design pixels in the form's pixels and back.
  int dpi() const { return dpi_; }
  int px(int design) const { return ui::toPixels(design, dpi_); }
  RECT toPixels(const Bounds& b) const;
  static Bounds toDesign(const RECT& pixels, int dpi);
  WindowState windowState() const;
  void setWindowState(WindowState s);

  Colour colour() const { return colour_; }
  void setColour(Colour c);

  void setDefaultButton(Button* b) { defaultButton_ = b; }
  void setCancelButton(Button* b) { cancelButton_ = b; }
  // Puts the direct children into this tab order (also their stacking order).
  void setTabOrder(std::initializer_list<const Control*> order);


  std::function<void()> onShow, onClose, onDblClick;
  std::function<void(WORD& key)> onKeyDown;

  // Tab, Enter and Esc navigate as in a dialog.
  bool dialogKeys() const { return dialogKeys_; }

  // Routing from containers: the child notifications they receive belong to the form's controls.
  LRESULT route(UINT msg, WPARAM wp, LPARAM lp, bool& handled);

  // For controls.
  int registerControl(Control* c);
  void unregisterControl(Control* c);
  void updateTooltip(Control& c);
  Control* controlAt(HWND h) const;
  // A control's focus events run only while the focus moves between the form's own controls, not when the form is
  // shown, hidden, activated or deactivated; the control that entered last leaves when another one enters.
  void focusArrived(Control& c);
  void focusDeparted(Control& c);

 protected:
  LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void reportException() override { session_.showCurrentException(); }
  virtual void paint(HDC dc, const RECT& clip);
  // The window system asks for tracking limits; forms are never shrunk to the screen.
  virtual void trackingLimits(MINMAXINFO* info);

 private:
  void centreOnPrimaryMonitor();
  void keepWithinWorkArea();
  bool pressButton(Button* b);
  void changeDpi(int dpi);

  Session& session_;
  std::map<int, Control*> controls_;
  int nextId_ = 100;
  HWND tooltip_ = nullptr;
  Colour colour_ = kButtonFace;
  BrushHandle brush_;
  Button* defaultButton_ = nullptr;
  Button* cancelButton_ = nullptr;
  bool centreOnFirstShow_ = false;
  bool shownOnce_ = false;
  bool activatesWhenShown_ = true;
  bool dialogKeys_ = true;
  bool keepsPixelSize_ = false;
  bool modal_ = false;
  int modalResult_ = kNoResult;
  WindowState state_ = WindowState::Normal;
  bool showing_ = false;
  bool tooltipsLive_ = false;  // hints reach the tooltip window only once the form has been shown
  HWND lastFocus_ = nullptr;
  bool active_ = false;            // activated, and its focus restored
  Control* entered_ = nullptr;     // the control whose Enter ran last without its Exit
  int dpi_ = kDesignDpi;
};

}  // namespace lumivex::ui
