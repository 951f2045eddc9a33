// A C++ object bound to one window: the program's own window classes through one trampoline, standard controls
// through a replaced window procedure; every message is dispatched so that no exception ever unwinds into the
// window system.
#pragma once
#include <windows.h>

namespace lumivex::ui {

class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  HWND hwnd() const { return hwnd_; }

 protected:
  // Creates a window of the program's own class (double-clicks on, no class background).
  void createOwn(DWORD exStyle, DWORD style, const wchar_t* title, int x, int y, int w, int h, HWND parent,
                 HMENU menu = nullptr);
  // Creates a standard control and routes its messages through handleMessage.
  void createStandard(const wchar_t* className, DWORD exStyle, DWORD style, const wchar_t* text, int x, int y,
                      int w, int h, HWND parent, int id);
  void destroy();

  virtual LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp);
  // Shows what escaped a handler (called inside the catch block): the session's error box where the window has one,
  // else the platform's.
  virtual void reportException();
  LRESULT callDefault(UINT msg, WPARAM wp, LPARAM lp);

 private:
  static LRESULT CALLBACK windowProc(HWND, UINT, WPARAM, LPARAM);
  static LRESULT CALLBACK standardProc(HWND, UINT, WPARAM, LPARAM);
  static LRESULT dispatch(Window* self, UINT msg, WPARAM wp, LPARAM lp);

  HWND hwnd_ = nullptr;
  WNDPROC original_ = nullptr;  // a standard control's own procedure
};

}  // namespace lumivex::ui
