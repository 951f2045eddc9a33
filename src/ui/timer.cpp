// Timers on message-only windows, and the pause around error boxes.
#include "ui/timer.h"

#include <algorithm>

namespace lumivex::ui {
namespace {

constexpr UINT_PTR kTimerId = 1;

}  // namespace

Timer::Timer(Session& session, UINT intervalMs, bool enabled)
    : session_(session), interval_(intervalMs), enabled_(enabled) {
  createOwn(0, 0, L"", 0, 0, 0, 0, HWND_MESSAGE);
  session_.add(this);
  restart();
}

Timer::~Timer() { session_.remove(this); }

void Timer::setInterval(UINT ms) {
  if (ms == interval_) return;
  interval_ = ms;
  restart();
}

void Timer::setEnabled(bool on) {
  if (on == enabled_) return;
  enabled_ = on;
  restart();
}

void Timer::restart() {
  KillTimer(hwnd(), kTimerId);
  if (enabled_ && interval_ > 0) SetTimer(hwnd(), kTimerId, interval_, nullptr);
}

LRESULT Timer::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_TIMER && wp == kTimerId) {
    if (enabled_ && onTick) onTick();
    return 0;
  }
  return callDefault(msg, wp, lp);
}

Timer::ErrorBoxPause::ErrorBoxPause(Session& session) : session_(session) {
  for (Timer* t : session_.timers()) {
    if (t->pausesForErrorBox && t->enabled()) {
      t->setEnabled(false);
      paused_.push_back(t);
    }
  }
}

Timer::ErrorBoxPause::~ErrorBoxPause() {
  const auto& all = session_.timers();
  for (Timer* t : paused_) {
    if (std::find(all.begin(), all.end(), t) != all.end()) t->setEnabled(true);
  }
}

}  // namespace lumivex::ui
