// HelperThread: one piece of work run beside the engine's thread, so that a
// sort at the end of a run uses a second core: on a thread of the engine's
// worker pool, whose threads are running already, or on a thread of its
// own. The work is handed a flag that asks it to stop; the engine's thread
// lets events run while it waits for the work (Wait), and the work has
// always ended when the HelperThread goes, also when the engine's thread
// leaves by an exception.

#ifndef VORN_UTIL_HELPER_THREAD_H_
#define VORN_UTIL_HELPER_THREAD_H_

#include <atomic>
#include <chrono>
#include <exception>
#include <functional>
#include <memory>
#include <system_error>
#include <thread>
#include <utility>

#include "util/pacer.h"
#include "util/work_pool.h"

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
  explicit HelperThread(Work work, bool own_thread = true)
      : state_(std::make_shared<State>(std::move(work))) {
    if (!own_thread) return;
    try {
      thread_ = std::thread([state = state_] { state->Claim(); });
    } catch (const std::system_error&) {
      // Wait does the work.
    }
  }
  // Hands `work` to a thread of `pool`. Wait does it on the calling thread
  // when no thread of the pool has begun it by then (a pool without threads
  // never does).
  HelperThread(Work work, WorkerPool* pool) : state_(std::make_shared<State>(std::move(work))) {
    if (pool != nullptr && pool->size() > 0) pool->Post([state = state_] { state->Claim(); });
  }
  HelperThread(const HelperThread&) = delete;
  HelperThread& operator=(const HelperThread&) = delete;
  // Asks the work to stop, and waits for it; work not begun never runs.
  ~HelperThread() {
    state_->stop = true;
    if (thread_.joinable()) thread_.join();
    int not_begun = kNotBegun;
    state_->phase.compare_exchange_strong(not_begun, kDone);
    while (state_->phase.load(std::memory_order_acquire) != kDone) {
      std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
  }

  // Waits for the work to end, checking `pacer` (may be null; it may
  // throw) while it goes on. Throws what the work threw.
  void Wait(Pacer* pacer) {
    if (!thread_.joinable()) state_->Claim();
    while (state_->phase.load(std::memory_order_acquire) != kDone) {
      if (pacer != nullptr) pacer->Check();
      std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    if (thread_.joinable()) thread_.join();
    if (state_->error) std::rethrow_exception(state_->error);
  }

 private:
  static constexpr int kNotBegun = 0;
  static constexpr int kRunning = 1;
  static constexpr int kDone = 2;

  // Shared with the thread that may run the work, which can outlive the
  // HelperThread when it comes to the work too late.
  struct State {
    explicit State(Work w) : work(std::move(w)) {}
    // Does the work unless another thread has begun it or it was called
    // off.
    void Claim() {
      int not_begun = kNotBegun;
      if (!phase.compare_exchange_strong(not_begun, kRunning)) return;
      try {
        work(stop);
      } catch (const HelperStopped&) {
        // Asked to stop: the waiting side is leaving anyway.
      } catch (...) {
        error = std::current_exception();
      }
      phase.store(kDone, std::memory_order_release);
    }

    const Work work;
    std::atomic<bool> stop{false};
    std::atomic<int> phase{kNotBegun};
    std::exception_ptr error;
  };

  std::shared_ptr<State> state_;
  std::thread thread_;
};

}  // namespace vorn

#endif  // VORN_UTIL_HELPER_THREAD_H_
