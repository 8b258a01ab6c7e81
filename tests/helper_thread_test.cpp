#include "util/helper_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <thread>

#include "support/refuse_threads.h"
#include "util/pacer.h"
#include "util/work_pool.h"

namespace vorn {
namespace {

TEST(HelperThreadTest, TheWorkRunsBesideTheCallerOrInWaitAndItsExceptionComesBack) {
  std::thread::id ran_on;
  const auto work = [&ran_on](const std::atomic<bool>&) { ran_on = std::this_thread::get_id(); };
  {
    HelperThread helper(work);
    Pacer pacer;
    helper.Wait(&pacer);
  }
  EXPECT_NE(ran_on, std::this_thread::get_id());
  EXPECT_NE(ran_on, std::thread::id());
  // Without a thread of its own, as when the system gives none, Wait does
  // the same work here.
  ran_on = std::thread::id();
  HelperThread here(work, /*own_thread=*/false);
  EXPECT_EQ(ran_on, std::thread::id());  // not yet
  here.Wait(nullptr);
  EXPECT_EQ(ran_on, std::this_thread::get_id());
  HelperThread failing([](const std::atomic<bool>&) { throw std::runtime_error("no room"); });
  EXPECT_THROW(failing.Wait(nullptr), std::runtime_error);
}

TEST(HelperThreadTest, WhenNoThreadCanStartWaitDoesTheWorkHere) {
  EXPECT_EXIT(
      {
        RefuseNewThreads();
        std::thread::id ran_on;
        HelperThread helper(
            [&ran_on](const std::atomic<bool>&) { ran_on = std::this_thread::get_id(); });
        helper.Wait(nullptr);
        std::exit(ran_on == std::this_thread::get_id() ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST(HelperThreadTest, LeavingWithoutWaitingStopsTheWork) {
  // The caller leaves (its pacer threw): the work is asked to stop and is
  // waited for; its stop is no error.
  std::atomic<bool> begun{false};
  std::atomic<bool> ended{false};
  {
    HelperThread helper([&](const std::atomic<bool>& stop) {
      begun = true;
      while (!stop) std::this_thread::sleep_for(std::chrono::milliseconds(1));
      ended = true;
      throw HelperStopped{};
    });
    while (!begun) std::this_thread::yield();
  }
  EXPECT_TRUE(ended);
}

TEST(HelperThreadTest, OnAPoolTheWorkRunsOnceWhereverItIsBegunFirst) {
  // On a thread of the pool, beside the caller.
  WorkerPool pool(1);
  std::thread::id ran_on;
  std::atomic<bool> begun{false};
  {
    HelperThread helper(
        [&](const std::atomic<bool>&) {
          ran_on = std::this_thread::get_id();
          begun = true;
        },
        &pool);
    while (!begun) std::this_thread::yield();
    helper.Wait(nullptr);
  }
  EXPECT_NE(ran_on, std::this_thread::get_id());
  // A pool without threads: Wait does the work, once, and hands on its
  // exception.
  WorkerPool none(0);
  int runs = 0;
  HelperThread here(
      [&runs](const std::atomic<bool>&) {
        ++runs;
        throw std::runtime_error("no room");
      },
      &none);
  EXPECT_THROW(here.Wait(nullptr), std::runtime_error);
  EXPECT_EQ(runs, 1);
  EXPECT_FALSE(none.RunPending());
  // Work the pool has not begun when the caller leaves never runs, even
  // when a thread of the pool comes to it later.
  std::atomic<bool> ran{false};
  {
    WorkerPool busy(1);
    std::atomic<bool> release{false};
    busy.Post([&release] {
      while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    });
    {
      HelperThread late([&ran](const std::atomic<bool>&) { ran = true; }, &busy);
    }
    release = true;
  }  // the pool has run every task posted to it
  EXPECT_FALSE(ran);
}

}  // namespace
}  // namespace vorn
