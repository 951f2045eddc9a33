// One run of the program's windows: the owner window, the main form, the message loop and its end, the forms and
// timers alive, the boxes, and the services all of them reach the system through. The application owns it.
#pragma once
#include <functional>
#include <set>
#include <string>
#include <vector>

#include <windows.h>

#include "ui/services.h"

namespace lumivex::ui {

class Form;
class Timer;

class Session {
 public:
  // A quit request left in the thread's queue by an earlier session is dropped.
  explicit Session(Services& services);
  // Drops the quit request this session posted and nobody took.
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  Services& services() const { return services_; }

  // The window that owns every form (it carries the taskbar button).
  HWND owner() const { return owner_; }
  void setOwner(HWND owner) { owner_ = owner; }
  // The main form: closing it ends the message loop.
  Form* mainForm() const { return mainForm_; }
  void setMainForm(Form* f) { mainForm_ = f; }

  // Runs the message loop until `done` says so or the program is ending (WM_QUIT seen).
  void runLoop(const std::function<bool()>& done);
  bool quitting() const { return quitting_; }
  void requestQuit();

  // Notice: no icon, one OK button. Error box: error icon, the text with "." appended when its last character sorts
  // after "."; the pausing timers stop while it is open.
  void showNotice(const std::wstring& text);
  void showError(const std::wstring& text);
  // The error box for whatever escaped a handler; call from inside a catch block.
  void showCurrentException();

  // For forms and timers.
  void add(Form* f) { forms_.insert(f); }
  void remove(Form* f);
  const std::set<Form*>& forms() const { return forms_; }
  void add(Timer* t) { timers_.push_back(t); }
  void remove(Timer* t);
  const std::vector<Timer*>& timers() const { return timers_; }

 private:
  Form* formOf(HWND root) const;

  Services& services_;
  HWND owner_ = nullptr;
  Form* mainForm_ = nullptr;
  bool quitting_ = false;
  bool quitPosted_ = false;
  std::set<Form*> forms_;
  std::vector<Timer*> timers_;
};

}  // namespace lumivex::ui
