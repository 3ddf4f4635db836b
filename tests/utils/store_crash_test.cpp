#include <gtest/gtest.h>

#include <chrono>

#include "platform/errors.h"
#include "tests/support/crash_points.h"
#include "tests/utils/utils_fixture.h"
#include "utils/storage.h"
#include "utils/work_area_change.h"

namespace lum {
namespace {

namespace fs = std::filesystem;

// Left out of the comparisons: the lock's files, which a cut may leave and
// which hold no data.
const std::set<std::string> kLockFiles = {"LumPost.lck", "RYR.dat"};

// Two entities stored, the work area changed since; each writer is tried
// from this state.
class StoreCrash : public ::testing::Test {
 protected:
  StoreCrash() {
    parts.session.start();
    for (const char* name : {"First", "Second"}) {
      parts.fillWorkArea(name, "");
      EXPECT_TRUE(storage.storeAway(Storage::Location::NextSlot, 0, Storage::Target::HardDisk));
    }
    parts.fillWorkArea("Third", "");
    test::writeText(parts.area() / "Jnl-0003.dat", "added since");
    test::writeText(parts.area() / "Anljnl.dat", "bank accounts");
    initial = files();
  }

  test::TreeFiles files() const { return test::treeFiles(parts.prog(), kLockFiles); }

  // The program directory as it was, every file with the same time (the
  // archives carry the files' times).
  void putBack() {
    fs::remove_all(parts.prog());
    fs::create_directories(parts.prog());
    for (const auto& [name, bytes] : initial) {
      const auto path = parts.prog() / name;
      if (name.ends_with('/')) {
        fs::create_directories(path);
        continue;
      }
      fs::create_directories(path.parent_path());
      test::writeBytes(path, bytes);
      fs::last_write_time(path, stamp);
    }
  }

  test::CutWriter writer(std::function<bool()> write) {
    return {[this] { putBack(); },
            [this, write] {
              if (!write()) {
                throw FileError("store or bring back", parts.prog(), "refused");
              }
            },
            // What LumUtils does as it starts (a command does it as it takes the lock).
            [this] { WorkAreaChange::recoverAtStart(parts.session); }, [this] { return files(); }};
  }

  std::function<bool()> store() {
    return [this] {
      return storage.storeAway(Storage::Location::NextSlot, 0, Storage::Target::HardDisk)
          .has_value();
    };
  }
  std::function<bool()> overrideSlotOne() {
    return [this] {
      return storage.storeAway(Storage::Location::SelectedSlot, 1, Storage::Target::HardDisk)
          .has_value();
    };
  }
  std::function<bool()> deleteSlotOne() {
    return [this] {
      parts.prompter.then(Answer::Yes);
      return storage.deleteStoredEntity(1);
    };
  }
  std::function<bool()> bringBack(bool clear) {
    return [this, clear] { return storage.bringBackToWorkArea(1, clear); };
  }

  void expectWhole(const test::CutOutcome& outcome, int fewestCuts) {
    EXPECT_NE(outcome.after, outcome.before);
    EXPECT_EQ(outcome.torn, std::vector<std::uint64_t>{});
    EXPECT_GE(outcome.cuts, fewestCuts);
  }

  test::UtilsParts parts;
  Storage storage{parts.session};
  test::TreeFiles initial;
  // Taken once: the archives hold it, so a stamp that moved on between two
  // put-backs (an hour struck during the test) would make the same run's
  // archives differ.
  const fs::file_time_type stamp = [] {
    const auto time = fs::file_time_type::clock::now() - std::chrono::hours(24);
    return fs::file_time_type(std::chrono::duration_cast<fs::file_time_type::duration>(
        std::chrono::floor<std::chrono::hours>(time.time_since_epoch())));
  }();
};

// The process dies at each file operation in turn; the next start finds
// the work area and the store folders as they were or as the command left them.
TEST_F(StoreCrash, EveryCutOfAStoreLeavesTheOldOrTheNewStore) {
  expectWhole(test::stopAtEveryOperation(parts.ops, writer(store())), 20);
  expectWhole(test::stopAtEveryOperation(parts.ops, writer(overrideSlotOne())), 20);
}

TEST_F(StoreCrash, EveryCutOfADeleteLeavesTheListAndTheArchivesInStep) {
  expectWhole(test::stopAtEveryOperation(parts.ops, writer(deleteSlotOne())), 5);
}

TEST_F(StoreCrash, EveryCutOfABringBackLeavesTheOldOrTheNewWorkArea) {
  expectWhole(test::stopAtEveryOperation(parts.ops, writer(bringBack(false))), 20);
  expectWhole(test::stopAtEveryOperation(parts.ops, writer(bringBack(true))), 20);
}

// Each file operation fails in turn (a full disk, an I/O error): a command
// that fails leaves everything as it was, and says so.
TEST_F(StoreCrash, EveryFailureLeavesEverythingAsItWas) {
  for (const Failure failure : {Failure::NoSpace, Failure::ShortWrite}) {
    for (auto write :
         {store(), overrideSlotOne(), deleteSlotOne(), bringBack(false), bringBack(true)}) {
      parts.prompter.clear();
      const test::CutOutcome outcome =
          test::failAtEveryOperation(parts.ops, failure, writer(write));
      expectWhole(outcome, 20);
      for (const auto& text : parts.prompter.texts()) {
        // Never "Nothing was changed." for a change that stays.
        EXPECT_EQ(text.find("will be put back"), std::string::npos) << text;
      }
    }
  }
}

}  // namespace
}  // namespace lum
