#include "util/work_pool.h"

#include <gtest/gtest.h>
#include <pthread.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <future>
#include <thread>
#include <vector>

#include "support/refuse_threads.h"

namespace vorn {
namespace {

TEST(WorkPoolTest, ResultsComeBackInTheOrderPostedWhoeverRunsTheTasks) {
  for (int threads : {0, 1, 3}) {
    WorkerPool pool(threads);
    WorkerGroup<int> group(&pool);
    for (int i = 0; i < 20; ++i) {
      group.work.Post([i] {
        std::this_thread::sleep_for(std::chrono::microseconds((20 - i) * 50));
        return i;
      });
    }
    std::vector<int> got;
    while (!group.work.empty()) {
      // The waiting thread does a task itself when one is left undone.
      while (!group.work.FrontReady(std::chrono::milliseconds(0)) && group.pool.RunPending()) {
      }
      got.push_back(group.work.TakeFront());
    }
    std::vector<int> want(20);
    for (int i = 0; i < 20; ++i) want[i] = i;
    EXPECT_EQ(got, want) << threads << " threads";
    EXPECT_FALSE(group.pool.RunPending());
  }
}

TEST(WorkPoolTest, TheWaitingThreadTakesTheOldestTaskNotBegun) {
  WorkerPool pool(1);
  WorkerGroup<int> group(&pool);
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  std::atomic<bool> first_begun{false};
  group.work.Post([released, &first_begun] {
    first_begun = true;
    released.wait();
    return 1;
  });
  while (!first_begun) std::this_thread::yield();
  std::thread::id ran_on;
  group.work.Post([&ran_on] {
    ran_on = std::this_thread::get_id();
    return 2;
  });
  group.work.Post([] { return 3; });
  EXPECT_TRUE(group.pool.RunPending());  // task 2, here, while the worker waits in task 1
  EXPECT_EQ(ran_on, std::this_thread::get_id());
  release.set_value();
  EXPECT_EQ(group.work.TakeFront(), 1);
  EXPECT_EQ(group.work.TakeFront(), 2);
  EXPECT_EQ(group.work.TakeFront(), 3);
}

TEST(WorkPoolTest, TasksNotBegunAreDroppedWhenTheGroupEnds) {
  // Without threads nothing ever runs the tasks: the group must still end.
  std::atomic<int> ran{0};
  {
    WorkerPool pool(0);
    WorkerGroup<int> group(&pool);
    for (int i = 0; i < 5; ++i) {
      group.work.Post([&ran] {
        ++ran;
        return 0;
      });
    }
    EXPECT_TRUE(group.pool.RunPending());
  }
  EXPECT_EQ(ran, 1);
}

TEST(WorkPoolTest, AbandonStopsTheTaskRunningAndDropsEveryResult) {
  WorkerPool pool(1);
  WorkerGroup<int> group(&pool);
  std::atomic<int> begun{0};
  std::atomic<int> ran{0};
  for (int i = 0; i < 5; ++i) {
    group.work.Post([&, i] {
      ++begun;
      // Runs until it is told to stop.
      while (!group.cancel) std::this_thread::sleep_for(std::chrono::milliseconds(1));
      ++ran;
      return i;
    });
  }
  while (begun == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  group.Abandon();
  EXPECT_TRUE(group.work.empty());
  EXPECT_EQ(ran, 1);  // the task begun ended; the others never ran
  EXPECT_FALSE(group.pool.RunPending());
}

TEST(WorkPoolTest, APoolServesOneGroupAfterAnother) {
  // A group that ends with tasks not begun, or abandons its work, leaves
  // the pool's threads to the next group, whose results are its own.
  WorkerPool pool(1);
  for (int round = 0; round < 3; ++round) {
    WorkerGroup<int> group(&pool);
    for (int i = 0; i < 10; ++i) group.work.Post([round, i] { return 100 * round + i; });
    if (round == 1) {
      group.Abandon();
      continue;
    }
    if (round == 2) break;  // ends with its tasks waiting
    for (int i = 0; i < 10; ++i) EXPECT_EQ(group.work.TakeFront(), i);
  }
  WorkerGroup<int> last(&pool);
  last.work.Post([] { return 7; });
  EXPECT_EQ(last.work.TakeFront(), 7);
}

TEST(WorkPoolTest, APoolTheSystemGivesNoThreadsStillGetsItsWorkDone) {
  // In a child process, every thread started asks for a stack the system
  // cannot give: the pool has no thread, and the waiting thread runs every
  // task itself.
  EXPECT_EXIT(
      {
        RefuseNewThreads();
        WorkerPool pool(3);
        WorkerGroup<int> group(&pool);
        for (int i = 1; i <= 4; ++i) group.work.Post([i] { return i; });
        int sum = 0;
        while (!group.work.empty()) {
          while (!group.work.FrontReady(std::chrono::milliseconds(0)) && pool.RunPending()) {
          }
          sum += group.work.TakeFront();
        }
        std::exit(pool.size() == 0 && sum == 10 ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST(WorkPoolTest, WorkersTakeNoSignals) {
  // A handler (the command line's Ctrl-C) must run on the thread that made
  // the pool, not beside it on a worker.
  WorkerPool pool(2);
  WorkerGroup<bool> group(&pool);
  for (int i = 0; i < 2; ++i) {
    group.work.Post([] {
      sigset_t mask;
      pthread_sigmask(SIG_SETMASK, nullptr, &mask);
      return sigismember(&mask, SIGINT) == 1 && sigismember(&mask, SIGTERM) == 1;
    });
  }
  EXPECT_TRUE(group.work.TakeFront());
  EXPECT_TRUE(group.work.TakeFront());
  sigset_t mine;
  pthread_sigmask(SIG_SETMASK, nullptr, &mine);
  EXPECT_EQ(sigismember(&mine, SIGINT), 0);  // the caller's own mask is as it was
}

}  // namespace
}  // namespace vorn
