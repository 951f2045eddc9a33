// A timer object: a new interval restarts the count, the same interval changes nothing, enabling restarts it.
#pragma once
#include <functional>
#include <vector>

#include "ui/session.h"
#include "ui/window.h"

namespace lumivex::ui {

class Timer : private Window {
 public:
  Timer(Session& session, UINT intervalMs, bool enabled);
  ~Timer() override;

  UINT interval() const { return interval_; }
  bool enabled() const { return enabled_; }
  void setInterval(UINT ms);
  void setEnabled(bool on);

  std::function<void()> onTick;
  // Timers that must not fire while an error box is open (the box's text would be lost with the program).
  bool pausesForErrorBox = false;

  // Stops the pausing timers that run for as long as it lives; they start again, from zero, afterwards.
  class ErrorBoxPause {
   public:
    explicit ErrorBoxPause(Session& session);
    ~ErrorBoxPause();
    ErrorBoxPause(const ErrorBoxPause&) = delete;
    ErrorBoxPause& operator=(const ErrorBoxPause&) = delete;

   private:
    Session& session_;
    std::vector<Timer*> paused_;
  };

 private:
  LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void reportException() override { session_.showCurrentException(); }
  void restart();

  Session& session_;
  UINT interval_;
  bool enabled_;
};

}  // namespace lumivex::ui
