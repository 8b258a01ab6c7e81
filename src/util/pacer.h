// Pacer: lets pending events run at short intervals during long work.
//
// Everything runs on the window's thread, so a phase that works for long
// without letting events run freezes the window. Long loops call Poll(),
// which costs a decrement and a branch; every `every` polls it looks at the
// clock, and once `interval` has passed since events last ran it calls the
// `due` function (which lets them run). Poll may throw whatever `due`
// throws; the engine uses that to abandon a run from any phase.
//
// Not thread-safe.

#ifndef VORN_UTIL_PACER_H_
#define VORN_UTIL_PACER_H_

#include <chrono>
#include <functional>

namespace vorn {

class Pacer {
 public:
  using Clock = std::chrono::steady_clock;

  void SetDue(std::function<void()> due) { due_ = std::move(due); }
  void SetThrottle(int every, std::chrono::milliseconds interval) {
    every_ = every < 1 ? 1 : every;
    interval_ = interval;
    countdown_ = every_;
  }

  // Counts one step of work.
  void Poll() {
    if (--countdown_ > 0) return;
    Check();
  }

  // Looks at the clock now, whatever the count of steps.
  void Check() {
    countdown_ = every_;
    const Clock::time_point now = Clock::now();
    if (now - last_ < interval_) return;
    last_ = now;
    if (due_) due_();
  }

  // The next Poll looks at the clock.
  void Hurry() { countdown_ = 1; }

  // Events ran just now (outside the pacer).
  void MarkRan() { last_ = Clock::now(); }

 private:
  std::function<void()> due_;
  int every_ = 2048;
  std::chrono::milliseconds interval_{40};
  int countdown_ = 2048;
  Clock::time_point last_ = Clock::now();
};

}  // namespace vorn

#endif  // VORN_UTIL_PACER_H_
