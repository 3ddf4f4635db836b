#include <gtest/gtest.h>

#include "platform/errors.h"
#include "platform/work_area_transaction.h"
#include "post/backup/journal_housekeeping.h"
#include "post/backup/single_entity.h"
#include "tests/post/backup/backup_fixture.h"

namespace lum {
namespace {

namespace fs = std::filesystem;
using test::Bytes;
using test::readBytes;
using test::readText;
using test::writeBytes;
using test::writeText;

// Close year and the conversion stopped, or failing, at each of their
// file operations in turn leave the work area (snapshots included) as
// before or as after.
class HousekeepingCrash : public ::testing::Test, protected test::BackupParts {
 protected:
  HousekeepingCrash() {
    InvoiceRecord settled = invoiceInUse(Currency::fromCents(5000));
    settled.amountPaid = Currency::fromCents(5000);
    book->putInvoice(1, settled);
    book->putInvoice(2, invoiceInUse(Currency::fromCents(7000)));
    setCounter(EntityCounter::Invoices, 2);
    book.reset();
    session.registry().closeAll();
    ops.setSyncs(false);
  }

  test::CutWriter writer(const std::function<void()>& run) {
    const auto before = everything();
    const int entity = session.login.entityNumber;
    return {[this, before, entity] {
              session.registry().closeAll();
              session.login.entityNumber = entity;
              fs::remove_all(area());
              for (const auto& [name, bytes] : before) {
                if (name.back() == '/') {
                  fs::create_directories(area() / name);
                } else {
                  fs::create_directories((area() / name).parent_path());
                  test::writeBytes(area() / name, bytes);
                }
              }
            },
            [this, run] {
              prompter.clear();
              prompter.then(Answer::Yes);
              run();
              session.registry().closeAll();
            },
            [this] {
              session.registry().closeAll();
              WorkAreaTransaction::recover(ops, area() / "Rollback");
              WorkAreaTransaction::removeStaging(ops, area() / "Rollback");
            },
            [this] { return everything(); }};
  }
};

TEST_F(HousekeepingCrash, EveryCutOfCloseYearLeavesTheYearOpenOrClosed) {
  const auto outcome = test::stopAtEveryOperation(ops, writer([this] { closeYear(session); }));
  ASSERT_NE(outcome.after, outcome.before);
  EXPECT_EQ(outcome.torn, std::vector<std::uint64_t>{});
  EXPECT_GT(outcome.cuts, 20);
}

TEST_F(HousekeepingCrash, EveryCutOfTheConversionLeavesTheAreaAsBeforeOrConverted) {
  for (const char* name : {"Lcn-0001.dat", "Jnl-0001.dat", "Ini-0001.dat", "An010001.dat",
                           "DI010001.dat", "AI010001.dat"}) {
    std::string third = name;
    third.replace(third.find("0001."), 4, "0003");
    fs::copy_file(area() / name, area() / third);
  }
  test::writeBytes(area() / "Entcoun.dat",
                   test::Bytes().text("", 24).int16(3).text("", 24).int16(3));
  session.login.entityNumber = 3;
  const auto outcome =
      test::stopAtEveryOperation(ops, writer([this] { convertToSingleEntity(session); }));
  ASSERT_NE(outcome.after, outcome.before);
  EXPECT_EQ(outcome.torn, std::vector<std::uint64_t>{});
  EXPECT_GT(outcome.cuts, 20);
}

TEST_F(HousekeepingCrash, AFullDiskAtAnyOperationOfCloseYearChangesNothing) {
  const auto outcome =
      test::failAtEveryOperation(ops, Failure::NoSpace, writer([this] {
                                   if (!closeYear(session)) {
                                     throw FileError("close year", area(), prompter.texts().back());
                                   }
                                 }));
  EXPECT_EQ(outcome.torn, std::vector<std::uint64_t>{});
  EXPECT_GT(outcome.cuts, 20);
}

}  // namespace
}  // namespace lum
