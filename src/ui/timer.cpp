// Timers on message-only windows, and the pause around error boxes.
#include "ui/timer.h"

#include <algorithm>

namespace lumivex::ui {
namespace {

std::vector<Timer*>& allTimers() {
  static std::vector<Timer*> timers;
  return timers;
}

constexpr UINT_PTR kTimerId = 1;

}  // namespace

Timer::Timer(UINT intervalMs, bool enabled) : interval_(intervalMs), enabled_(enabled) {
  createOwn(0, 0, L"", 0, 0, 0, 0, HWND_MESSAGE);
  allTimers().push_back(this);
  restart();
}

Timer::~Timer() {
  auto& all = allTimers();
  all.erase(std::remove(all.begin(), all.end(), this), all.end());
}

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

Timer::ErrorBoxPause::ErrorBoxPause() {
  for (Timer* t : allTimers()) {
    if (t->pausesForErrorBox && t->enabled()) {
      t->setEnabled(false);
      paused_.push_back(t);
    }
  }
}

Timer::ErrorBoxPause::~ErrorBoxPause() {
  auto& all = allTimers();
  for (Timer* t : paused_) {
    if (std::find(all.begin(), all.end(), t) != all.end()) t->setEnabled(true);
  }
}

}  // namespace lumivex::ui
