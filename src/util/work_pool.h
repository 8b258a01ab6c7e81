// WorkerPool: a fixed number of threads that run the tasks posted to them,
// and OrderedWork, the results of such tasks taken back in the order the
// tasks were posted.
//
// The engine's thread posts work (the counting of files and parts of
// files), goes on letting the window's events run while it waits, and
// takes every result back in order, so that a run on several threads
// produces what a run on one thread does.
//
// WorkerPool is thread-safe; an OrderedWork belongs to the thread that
// posts to it.

#ifndef VORN_UTIL_WORK_POOL_H_
#define VORN_UTIL_WORK_POOL_H_

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace vorn {

// How long a thread that must stay responsive (the window's) waits for a
// worker's result at a time, before it looks at the clock again.
inline constexpr std::chrono::milliseconds kWorkerWaitStep{5};

// The number of threads a parallel run uses when none is chosen: the
// processors the system offers, at least 1.
int DefaultThreadCount();

class WorkerPool {
 public:
  // threads 0: a pool without threads, whose tasks only RunPending runs.
  // A pool gets fewer threads than asked for when the system gives no more.
  explicit WorkerPool(int threads);
  // Waits for the tasks posted to end.
  ~WorkerPool();
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  int size() const { return static_cast<int>(threads_.size()); }
  void Post(std::function<void()> task);
  // Runs the oldest task no thread has begun on the calling thread, so that
  // a thread waiting for the tasks can do one of them itself. Returns false
  // when there was none.
  bool RunPending();
  // Drops the tasks no thread has begun: they never run.
  void DropPending();

 private:
  void Work();

  std::mutex mutex_;
  std::condition_variable ready_;
  std::deque<std::function<void()>> tasks_;
  bool closing_ = false;
  std::vector<std::thread> threads_;
};

template <typename Result>
class OrderedWork {
 public:
  explicit OrderedWork(WorkerPool* pool) : pool_(pool) {}
  // Waits for the tasks still running (their results are dropped).
  ~OrderedWork() {
    for (auto& f : pending_) f.wait();
  }
  OrderedWork(const OrderedWork&) = delete;
  OrderedWork& operator=(const OrderedWork&) = delete;

  // Runs task() on the pool; its result comes back after those of the
  // tasks posted before it.
  void Post(std::function<Result()> task) {
    auto job = std::make_shared<std::packaged_task<Result()>>(std::move(task));
    pending_.push_back(job->get_future());
    pool_->Post([job] { (*job)(); });
  }
  // A result that needs no work: it comes back in its turn.
  void PostReady(Result result) {
    std::promise<Result> p;
    p.set_value(std::move(result));
    pending_.push_back(p.get_future());
  }

  // Drops every result, waiting for the tasks still running.
  void Clear() {
    for (auto& f : pending_) f.wait();
    pending_.clear();
  }

  size_t pending() const { return pending_.size(); }
  bool empty() const { return pending_.empty(); }

  // Whether the oldest result is there, waiting at most `wait` for it.
  // REQUIRES: !empty().
  bool FrontReady(std::chrono::milliseconds wait) {
    return pending_.front().wait_for(wait) == std::future_status::ready;
  }
  // Takes the oldest result, waiting for it; an exception of its task is
  // thrown here. REQUIRES: !empty().
  Result TakeFront() {
    std::future<Result> f = std::move(pending_.front());
    pending_.pop_front();
    return f.get();
  }

 private:
  WorkerPool* pool_;
  std::deque<std::future<Result>> pending_;
};

// The ordered results of one piece of parallel work on a pool, with the
// flag that tells its tasks to stop early. However the work ends, the tasks
// are told to stop and are waited for before the group is gone; the pool's
// threads stay for the next piece of work. One group at a time uses a pool.
template <typename Result>
struct WorkerGroup {
  explicit WorkerGroup(WorkerPool* p) : pool(*p), work(p) {}
  ~WorkerGroup() {
    // Then `work` waits for the tasks begun.
    cancel = true;
    pool.DropPending();
  }
  WorkerGroup(const WorkerGroup&) = delete;
  WorkerGroup& operator=(const WorkerGroup&) = delete;

  // Ends the work now: the tasks are told to stop, those not begun are
  // dropped, and every result is dropped once the tasks running are done.
  void Abandon() {
    cancel = true;
    pool.DropPending();
    work.Clear();
  }

  std::atomic<bool> cancel{false};
  WorkerPool& pool;
  OrderedWork<Result> work;
};

}  // namespace vorn

#endif  // VORN_UTIL_WORK_POOL_H_
