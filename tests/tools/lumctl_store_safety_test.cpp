#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

#include "platform/clock.h"
#include "platform/work_area_lock.h"
#include "tests/support/crash_points.h"
#include "tests/support/test_support.h"
#include "tests/tools/run_lumctl.h"
#include "tools/lumctl/headless.h"
#include "utils/utils_records.h"
#include "utils/work_area_change.h"
#include "utils/zip_archive.h"

namespace lum {
namespace {

namespace fs = std::filesystem;

using test::Bytes;

const std::set<std::string> kLockFiles = {"LumPost.lck", "RYR.dat"};

// Operator 1 of group 1 with entity 1 in the work area.
class LumctlStoreSafety : public ::testing::Test, protected test::LumctlArea {
 protected:
  LumctlStoreSafety() {
    fs::create_directories(area());
    // The group's folders, as the data manager's first start makes them.
    fs::create_directories(store() / "PYear");
    fs::create_directories(prog() / "Ent-1" / "Email");
    fs::create_directories(dir / "System" / "Ent-1");
    test::writeBytes(dir / "System" / "Ent-1" / "Oper.dat", std::vector<std::byte>(88 * 2));
    test::writeBytes(area() / "Entcoun.dat",
                     Bytes().text("", 24).int16(1).text("", 24).int16(1).text("", 24).int16(0));
    test::writeBytes(area() / "Ent.dat", Bytes().text("Harbour Cafe", 32).text("", 32).zeros(242));
    test::writeText(area() / "Jnl-0001.dat", "journals");
    test::writeText(area() / "Anljnl.dat", "bank accounts");
  }
  fs::path store() const { return prog() / "Ent-1" / "zip"; }
  std::vector<std::string> globals() const { return {"--root", prog().string(), "--group", "1"}; }
  test::TreeFiles files() const { return test::treeFiles(prog(), kLockFiles); }
};

// An archive whose first entry's name is too long for the file system, with
// two entries of one name in two cases: refused whole, with or without
// --clear; nothing is cleared and nothing is listed as written.
TEST_F(LumctlStoreSafety, HostileArchiveIsRefusedWholeAndNothingIsCleared) {
  ASSERT_EQ(run({"store"}).status, kExitSuccess);
  FileOps ops;
  const auto bytes = [](std::string_view text) {
    const auto* data = reinterpret_cast<const std::byte*>(text.data());
    return std::vector<std::byte>(data, data + text.size());
  };
  ASSERT_EQ(zipEntries(ops, store() / "LUM-2.Zip",
                       {{std::string(296, 'x') + ".dat", bytes("long"), 0},
                        {"Ent.dat", bytes("mixed case"), 0},
                        {"ENT.DAT", bytes("upper case"), 0},
                        {"Jnl-0001.dat", bytes("from the archive"), 0}}),
            ZipStatus::Ok);
  const auto before = files();

  for (const bool clear : {true, false}) {
    std::vector<std::string> args = {"bring-back", "--slot", "2"};
    if (clear) {
      args.push_back("--clear");
    }
    const test::LumctlOutcome out = run(args);
    EXPECT_EQ(out.status, kExitRefused);
    EXPECT_EQ(out.out, "");  // nothing was written
    EXPECT_NE(out.err.find("LUM-2.Zip cannot be brought back whole"), std::string::npos) << out.err;
    EXPECT_NE(out.err.find(std::string(296, 'x') + ".dat: the name is too long"), std::string::npos)
        << out.err;
    EXPECT_NE(out.err.find("ENT.DAT: an earlier entry has the same name (Ent.dat)"),
              std::string::npos)
        << out.err;
    EXPECT_NE(out.err.find("Nothing was brought back; the work area was not changed."),
              std::string::npos)
        << out.err;
    EXPECT_EQ(files(), before);
  }

  // The slot stored by the program still comes back, listing what it wrote.
  test::writeText(area() / "Jnl-0002.dat", "not stored");
  const test::LumctlOutcome out = run({"bring-back", "--slot", "1", "--clear"});
  EXPECT_EQ(out.status, kExitSuccess) << out.err;
  EXPECT_EQ(out.out, "Anljnl.dat\nEnt.dat\nEntcoun.dat\nJnl-0001.dat\n");
  EXPECT_FALSE(fs::exists(area() / "Jnl-0002.dat"));
  EXPECT_FALSE(fs::exists(area() / "~Staging"));
}

// A process that holds the work area as LumPost does: the lock on
// LumPost.lck with the RYR.dat heartbeat, until its pipe closes.
class LumPostStandIn {
 public:
  explicit LumPostStandIn(const fs::path& area) {
    int ready[2], release[2];
    EXPECT_EQ(::pipe(ready), 0);
    EXPECT_EQ(::pipe(release), 0);
    mPid = ::fork();
    if (mPid == 0) {
      ::close(ready[0]);
      ::close(release[1]);
      FileOps ops;
      SystemClock clock;
      SleepingWaiter waiter;
      WorkAreaLock lock(ops, clock, waiter);
      const char took = lock.acquire(area) ? 'y' : 'n';
      static_cast<void>(::write(ready[1], &took, 1));
      pollfd done{release[0], POLLIN, 0};
      while (::poll(&done, 1, 60) == 0) {
        lock.heartbeat();
      }
      std::_Exit(0);
    }
    ::close(ready[1]);
    ::close(release[0]);
    mRelease = release[1];
    char took = 'n';
    EXPECT_EQ(::read(ready[0], &took, 1), 1);
    ::close(ready[0]);
    mHolds = took == 'y';
  }
  ~LumPostStandIn() { end(); }
  bool holds() const { return mHolds; }
  void end() {
    if (mRelease >= 0) {
      ::close(mRelease);
      mRelease = -1;
      int status = 0;
      ::waitpid(mPid, &status, 0);
    }
  }

 private:
  pid_t mPid = -1;
  int mRelease = -1;
  bool mHolds = false;
};

struct Finished {
  int status;
  std::string err;
};

// Runs copies of the real lumctl at once, each with its arguments; waits for all.
std::vector<Finished> runTogether(const fs::path& scratch,
                                  const std::vector<std::vector<std::string>>& commands) {
  std::vector<pid_t> pids;
  for (std::size_t i = 0; i < commands.size(); ++i) {
    const std::string errFile = (scratch / ("err" + std::to_string(i))).string();
    const pid_t pid = ::fork();
    if (pid == 0) {
      const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      const int null = ::open("/dev/null", O_WRONLY);
      ::dup2(err, 2);
      ::dup2(null, 1);
      std::vector<char*> argv{const_cast<char*>(LUMCTL_PROGRAM)};
      for (const auto& arg : commands[i]) {
        argv.push_back(const_cast<char*>(arg.c_str()));
      }
      argv.push_back(nullptr);
      ::execv(LUMCTL_PROGRAM, argv.data());
      std::_Exit(127);
    }
    pids.push_back(pid);
  }
  std::vector<Finished> finished;
  for (std::size_t i = 0; i < pids.size(); ++i) {
    int status = 0;
    ::waitpid(pids[i], &status, 0);
    finished.push_back({WIFEXITED(status) ? WEXITSTATUS(status) : -1,
                        test::readText(scratch / ("err" + std::to_string(i)))});
  }
  return finished;
}

// Two copies of lumctl store and a LumPost on one work area: one writer at
// a time, the others refused with the lock's message, and the stored
// entities consistent afterwards.
TEST_F(LumctlStoreSafety, RealProcessesWriteTheWorkAreaOneAtATime) {
  auto storing = globals();
  storing.push_back("store");
  const std::string inUse = std::string("lumctl: ") + WorkAreaChange::kInUse + "\n";
  const auto before = files();
  {
    LumPostStandIn lumPost(area());
    ASSERT_TRUE(lumPost.holds());
    const auto finished = runTogether(dir.path(), {storing, storing});
    for (const Finished& one : finished) {
      EXPECT_EQ(one.status, kExitRefused);
      EXPECT_EQ(one.err, inUse);
    }
    EXPECT_EQ(files(), before);
    // Reading needs no lock.
    const test::LumctlOutcome listed = run({"stored"});
    EXPECT_EQ(listed.status, kExitSuccess) << listed.err;
  }

  // LumPost gone: the two copies started together probe at once, and one gets in.
  const auto finished = runTogether(dir.path(), {storing, storing});
  int stored = 0;
  for (const Finished& one : finished) {
    if (one.status == kExitSuccess) {
      ++stored;
    } else {
      EXPECT_EQ(one.status, kExitRefused);
      EXPECT_EQ(one.err, inUse);
    }
  }
  EXPECT_EQ(stored, 1);
  const test::LumctlOutcome listed = run({"stored"});
  ASSERT_EQ(listed.status, kExitSuccess);
  EXPECT_TRUE(listed.out.starts_with("1\tHarbour Cafe\t")) << listed.out;
  EXPECT_EQ(std::count(listed.out.begin(), listed.out.end(), '\n'), stored);
  FileOps ops;
  const UnzipOutcome tested = testArchive(ops, store() / "LUM-1.Zip", "*.dat");
  EXPECT_EQ(tested.status, ZipStatus::Ok);
  EXPECT_EQ(tested.extracted.size(), 4u);
  EXPECT_FALSE(fs::exists(store() / "LUM-2.Zip"));
  EXPECT_FALSE(fs::exists(area() / "Rollback" / "marker"));
}

}  // namespace
}  // namespace lum
