#include "platform/work_area_lock.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

#include "tests/post/login/fake_host.h"
#include "tests/support/test_support.h"

namespace lum {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// A work-area folder, with a clock a second before midnight whose waits
// pass at once.
struct WorkAreaLockTest : ::testing::Test {
  test::TempDir dir;
  FileOps ops;
  FixedClock clock{DateTime{*Date::fromYmd(2026, 12, 6), 23, 59, 59}};
  test::FakeWaiter waiter{clock};
};

TEST_F(WorkAreaLockTest, AFreeAreaIsTakenAfterThreeSeconds) {
  // The calendar passes midnight during the wait; the wait still lasts three seconds.
  waiter.duringWait = [&] { clock.set(DateTime{*Date::fromYmd(2026, 12, 7), 0, 0, 1}); };
  WorkAreaLock lock(ops, clock, waiter);
  EXPECT_TRUE(lock.acquire(dir.path()));
  EXPECT_EQ(waiter.pauses, 60);  // 3 s in 50 ms steps
  EXPECT_FALSE(fs::exists(dir / "RYR.dat"));
  EXPECT_TRUE(lock.holds());
  EXPECT_EQ(lock.area(), dir.path());
}

TEST_F(WorkAreaLockTest, ARunningCopysHeartbeatKeepsANewcomerOut) {
  WorkAreaLock holder(ops, clock, waiter);
  ASSERT_TRUE(holder.acquire(dir.path()));

  WorkAreaLock newcomer(ops, clock, waiter);
  waiter.duringWait = [&] { holder.heartbeat(); };
  EXPECT_FALSE(newcomer.acquire(dir.path()));
  EXPECT_FALSE(newcomer.holds());
  EXPECT_TRUE(holder.holds());
}

TEST_F(WorkAreaLockTest, AStaleProbeFileDoesNotBlock) {
  test::writeText(dir / "RYR.dat", std::string(2, '\0'));
  WorkAreaLock lock(ops, clock, waiter);
  EXPECT_TRUE(lock.acquire(dir.path()));
}

TEST_F(WorkAreaLockTest, TwoNewcomersInTheSameThreeSecondsCannotBothGetIn) {
  WorkAreaLock first(ops, clock, waiter);
  WorkAreaLock second(ops, clock, waiter);
  // Both probes pass (nobody beats yet); the system lock decides.
  ASSERT_TRUE(first.acquire(dir.path()));
  test::writeText(dir / "RYR.dat", "");
  EXPECT_FALSE(second.acquire(dir.path()));
  first.release();
  EXPECT_TRUE(second.acquire(dir.path()));
}

TEST_F(WorkAreaLockTest, PeekingMovesTheLockToTheOtherArea) {
  fs::create_directories(dir / "a");
  fs::create_directories(dir / "b");
  WorkAreaLock lock(ops, clock, waiter);
  ASSERT_TRUE(lock.acquire(dir / "a"));
  ASSERT_TRUE(lock.acquire(dir / "b"));
  WorkAreaLock owner(ops, clock, waiter);
  EXPECT_TRUE(owner.acquire(dir / "a"));  // freed for its owner
}

TEST_F(WorkAreaLockTest, TheCommandsOfARunBorrowOneHoldAndProbeOnce) {
  WorkAreaLock holder(ops, clock, waiter);
  WorkAreaLock first(ops, clock, waiter);
  first.borrowFrom(holder);
  ASSERT_TRUE(first.acquire(dir.path()));
  EXPECT_EQ(waiter.pauses, 60);
  EXPECT_TRUE(first.holds());
  first.release();
  EXPECT_TRUE(holder.holds());  // kept for the next command

  WorkAreaLock second(ops, clock, waiter);
  second.borrowFrom(holder);
  ASSERT_TRUE(second.acquire(dir.path()));
  EXPECT_EQ(waiter.pauses, 60);  // no second probe

  WorkAreaLock other(ops, clock, waiter);
  EXPECT_FALSE(other.acquire(dir.path()));
  holder.release();
  EXPECT_TRUE(other.acquire(dir.path()));
  WorkAreaLock third(ops, clock, waiter);
  third.borrowFrom(holder);
  EXPECT_FALSE(third.acquire(dir.path()));  // the holder cannot take it back
  EXPECT_FALSE(third.holds());
}

// A real wait in a real process, for the race between two processes.
class SleepingWaiter final : public Waiter {
 public:
  void pause(std::chrono::milliseconds duration) override { std::this_thread::sleep_for(duration); }
};

TEST(WorkAreaLock, TwoProcessesStartedTogetherExactlyOneGetsIn) {
  test::TempDir dir;
  std::vector<pid_t> children;
  for (int copy = 0; copy < 2; ++copy) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      FileOps ops;
      SystemClock clock;
      SleepingWaiter waiter;
      WorkAreaLock lock(ops, clock, waiter);
      const bool in = lock.acquire(dir.path());
      // The winner stays a while, beating, as a running program does.
      for (int beat = 0; in && beat < 30; ++beat) {
        lock.heartbeat();
        std::this_thread::sleep_for(60ms);
      }
      std::_Exit(in ? 0 : 1);
    }
    children.push_back(pid);
  }
  int in = 0;
  for (const pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    in += WEXITSTATUS(status) == 0 ? 1 : 0;
  }
  EXPECT_EQ(in, 1);
}

}  // namespace
}  // namespace lum
