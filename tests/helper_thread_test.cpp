#include "util/helper_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <thread>

#include "support/refuse_threads.h"
#include "util/pacer.h"

namespace vorn {
namespace {

TEST(HelperThreadTest, TheWorkRunsBesideTheCallerAndItsExceptionComesBackInWait) {
  std::thread::id ran_on;
  {
    HelperThread helper(
        [&ran_on](const std::atomic<bool>&) { ran_on = std::this_thread::get_id(); });
    Pacer pacer;
    helper.Wait(&pacer);
  }
  EXPECT_NE(ran_on, std::this_thread::get_id());
  EXPECT_NE(ran_on, std::thread::id());
  HelperThread failing([](const std::atomic<bool>&) { throw std::runtime_error("no room"); });
  EXPECT_THROW(failing.Wait(nullptr), std::runtime_error);
}

TEST(HelperThreadTest, WithoutAThreadWaitDoesTheWorkHere) {
  // As when the system gives no thread: the same work, done by Wait.
  std::thread::id ran_on;
  HelperThread helper([&ran_on](const std::atomic<bool>&) { ran_on = std::this_thread::get_id(); },
                      /*own_thread=*/false);
  EXPECT_EQ(ran_on, std::thread::id());  // not yet
  helper.Wait(nullptr);
  EXPECT_EQ(ran_on, std::this_thread::get_id());
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

}  // namespace
}  // namespace vorn
