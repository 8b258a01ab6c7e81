// HelperThread: one piece of work run on a thread of its own beside the
// engine's, so that a sort at the end of a run uses a second core. The work
// is handed a flag that asks it to stop; the engine's thread lets events
// run while it waits for the work (Wait), and the thread is always joined,
// also when the engine's thread leaves by an exception.

#ifndef VORN_UTIL_HELPER_THREAD_H_
#define VORN_UTIL_HELPER_THREAD_H_

#include <atomic>
#include <chrono>
#include <exception>
#include <functional>
#include <system_error>
#include <thread>
#include <utility>

#include "util/pacer.h"

namespace vorn {

// Thrown by a helper's work that saw the stop flag; it goes no further.
struct HelperStopped {};

class HelperThread {
 public:
  using Work = std::function<void(const std::atomic<bool>& stop)>;

  // Starts `work` on a thread of its own. When no thread can be started
  // (the system has none to give), or `own_thread` is false, the work is
  // done by Wait on the calling thread instead: the result is the same,
  // only later.
  explicit HelperThread(Work work, bool own_thread = true) : work_(std::move(work)) {
    if (!own_thread) return;
    try {
      thread_ = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
      // Wait does the work.
    }
  }
  HelperThread(const HelperThread&) = delete;
  HelperThread& operator=(const HelperThread&) = delete;
  // Asks the work to stop, and waits for it.
  ~HelperThread() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }

  // Waits for the work to end, checking `pacer` (may be null; it may
  // throw) while it goes on. Throws what the work threw.
  void Wait(Pacer* pacer) {
    if (!thread_.joinable()) {
      Run();
    } else {
      while (!done_.load(std::memory_order_acquire)) {
        if (pacer != nullptr) pacer->Check();
        std::this_thread::sleep_for(std::chrono::microseconds(100));
      }
      thread_.join();
    }
    if (error_) std::rethrow_exception(error_);
  }

 private:
  void Run() {
    try {
      work_(stop_);
    } catch (const HelperStopped&) {
      // Asked to stop: the waiting side is leaving anyway.
    } catch (...) {
      error_ = std::current_exception();
    }
    done_.store(true, std::memory_order_release);
  }

  const Work work_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> done_{false};
  std::exception_ptr error_;
  std::thread thread_;  // last: it starts once the members above are made
};

}  // namespace vorn

#endif  // VORN_UTIL_HELPER_THREAD_H_
