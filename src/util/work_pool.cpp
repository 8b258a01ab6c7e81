#include "util/work_pool.h"

#include <pthread.h>

#include <algorithm>
#include <csignal>
#include <system_error>

namespace vorn {

int DefaultThreadCount() {
  return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

WorkerPool::WorkerPool(int threads) {
  const int n = std::max(0, threads);
  threads_.reserve(static_cast<size_t>(n));
  // The workers take no signals (they start with every signal blocked), so
  // that a handler, such as the command line's for Ctrl-C, runs on the
  // thread that made the pool and never beside it.
  sigset_t all;
  sigset_t old;
  sigfillset(&all);
  pthread_sigmask(SIG_SETMASK, &all, &old);
  for (int i = 0; i < n; ++i) {
    try {
      threads_.emplace_back([this] { Work(); });
    } catch (const std::system_error&) {
      // The system gives no more threads: the pool has those it started,
      // and the thread that waits for the results runs the tasks they leave
      // (RunPending), as it does whenever it would wait.
      break;
    }
  }
  pthread_sigmask(SIG_SETMASK, &old, nullptr);
}

WorkerPool::~WorkerPool() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    closing_ = true;
  }
  ready_.notify_all();
  for (std::thread& t : threads_) t.join();
}

void WorkerPool::Post(std::function<void()> task) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    tasks_.push_back(std::move(task));
  }
  ready_.notify_one();
}

bool WorkerPool::RunPending() {
  std::function<void()> task;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (tasks_.empty()) return false;
    task = std::move(tasks_.front());
    tasks_.pop_front();
  }
  task();
  return true;
}

void WorkerPool::DropPending() {
  std::deque<std::function<void()>> dropped;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    dropped.swap(tasks_);
  }
}

void WorkerPool::Work() {
  while (true) {
    std::function<void()> task;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      ready_.wait(lock, [this] { return closing_ || !tasks_.empty(); });
      if (tasks_.empty()) return;  // closing, and nothing left to do
      task = std::move(tasks_.front());
      tasks_.pop_front();
    }
    task();
  }
}

}  // namespace vorn
