#include <gtest/gtest.h>

#include "post/backup/housekeeping_change.h"
#include "post/backup/journal_housekeeping.h"
#include "post/backup/snapshots.h"
#include "post/backup/working_data.h"
#include "tests/post/backup/backup_fixture.h"

namespace lum {
namespace {

namespace fs = std::filesystem;
using test::Bytes;
using test::readBytes;
using test::readText;
using test::writeBytes;
using test::writeText;

class Housekeeping : public ::testing::Test, protected test::BackupParts {
 protected:
  bool has(const char* name) const { return fs::exists(area() / name); }
  std::vector<std::string> snapshotNames() {
    std::vector<std::string> names;
    for (const SnapshotInfo& info : listSnapshots(ops, area())) {
      names.push_back(info.name);
    }
    return names;
  }
};

TEST_F(Housekeeping, ClearingThePeriodLeavesOtherPeriodsAndTheAnalysisFiles) {
  prompter.then(Answer::Yes);
  ASSERT_EQ(session.login.periodLetter, 'I');
  writeText(area() / "DI020001.dat", "journal 2");
  writeText(area() / "DI010002.dat", "another entity");
  EXPECT_TRUE(clearSelectedPeriod(session));

  for (const char* gone : {"DI010001.dat", "AI010001.dat", "GI010001.dat", "DI020001.dat"}) {
    EXPECT_FALSE(has(gone)) << gone;
  }
  for (const char* kept : {"DF010001.dat", "AF010001.dat", "GF010001.dat", "DM010001.dat",
                           "An010001.dat", "Ax010001.dat", "DI010002.dat", "GSTDate.dat"}) {
    EXPECT_TRUE(has(kept)) << kept;
  }
  EXPECT_EQ(prompter.texts().front(),
            "All data for the current period will be cleared.  Are you sure?");
  EXPECT_EQ(prompter.exchanges().front().prompt.defaultAnswer, Answer::No);
}

TEST_F(Housekeeping, AnswerNoChangesNothingAndTakesNoSnapshot) {
  const auto before = everything();
  prompter.then(Answer::No).then(Answer::No).then(Answer::No);
  EXPECT_FALSE(clearSelectedPeriod(session));
  EXPECT_FALSE(closeYear(session));
  EXPECT_FALSE(eraseWorkingData(session));
  EXPECT_EQ(everything(), before);
}

TEST_F(Housekeeping, NothingIsChangedWhileTheJournalIsOpenInItsWindow) {
  const auto before = everything();
  session.currentWindow = kJournalGrid;
  EXPECT_FALSE(closeYear(session));
  EXPECT_FALSE(eraseWorkingData(session));
  EXPECT_EQ(prompter.texts(),
            std::vector<std::string>(
                2, "Close the journal, invoice or budget window first. Nothing was changed."));
  EXPECT_EQ(everything(), before);
}

TEST_F(Housekeeping, ClosingTheYearClearsSettledInvoicesOnly) {
  InvoiceRecord open = invoiceInUse(Currency::fromCents(10000));
  open.amountPaid = Currency::fromCents(6000);
  InvoiceRecord settled = invoiceInUse(Currency::fromCents(10000));
  settled.customer = 3;
  settled.amountPaid = Currency::fromCents(7000);
  settled.discount = Currency::fromCents(1000);
  settled.writtenOff = Currency::fromCents(2000);
  settled.detailNumbers[1] = 1;
  InvoiceLineRecord line;
  line.particulars = "Tap washers";
  line.amount = Currency::fromCents(10000);
  line.inUse = kInUse;
  book->putInvoice(1, open);
  book->putInvoice(2, settled);
  book->putLine(1, line);
  setCounter(EntityCounter::Invoices, 2);
  setCounter(EntityCounter::InvoiceDetails, 1);
  book.reset();
  session.registry().closeAll();

  prompter.then(Answer::Yes);
  EXPECT_TRUE(closeYear(session));

  const auto kept = get<InvoiceRecord>("Inv-0001.dat", 1);
  EXPECT_EQ(kept.inUse, kInUse);
  EXPECT_EQ(kept.amountPaid, Currency::fromCents(6000));
  const auto cleared = get<InvoiceRecord>("Inv-0001.dat", 2);
  EXPECT_EQ(cleared.inUse, 0);
  EXPECT_EQ(cleared.customer, 0);
  EXPECT_EQ(cleared.total, Currency());
  EXPECT_EQ(cleared.amountPaid, Currency());
  EXPECT_EQ(get<InvoiceLineRecord>("InD-0001.dat", 1).particulars, "");

  const auto budget = get<BudgetRecord>("Bdg-0001.dat", 1);
  EXPECT_EQ(budget.actualSales[0], Currency::fromCents(5000));
  EXPECT_EQ(budget.actualCostOfSales[0], Currency::fromCents(2000));
  for (std::size_t m = 1; m <= 12; ++m) {
    EXPECT_EQ(budget.actualSales[m], Currency()) << m;
    EXPECT_EQ(budget.actualCostOfSales[m], Currency()) << m;
    EXPECT_EQ(budget.budgetedSales[m], Currency::fromCents(100 * (100 + static_cast<int>(m))));
  }
  for (const char* gone : {"DI010001.dat", "AI010001.dat", "GF010001.dat", "DM010001.dat"}) {
    EXPECT_FALSE(has(gone)) << gone;
  }
  EXPECT_TRUE(has("An010001.dat"));
  EXPECT_TRUE(has("Ax010001.dat"));
}

TEST_F(Housekeeping, ClosingTheYearThenUndoingItGivesBackEveryFile) {
  book->putInvoice(1, invoiceInUse(Currency()));
  setCounter(EntityCounter::Invoices, 1);
  book.reset();
  session.registry().closeAll();
  const auto before = withoutSnapshots();

  prompter.then(Answer::Yes);
  ASSERT_TRUE(closeYear(session)) << prompter.texts().back();
  ASSERT_NE(withoutSnapshots(), before);
  const auto snapshots = listSnapshots(ops, area());
  ASSERT_EQ(snapshots.size(), 1u);
  EXPECT_EQ(snapshots[0].name, "close-year-2026-08-20-100000.zip");
  EXPECT_EQ(snapshots[0].operation, "close-year");
  EXPECT_EQ(snapshots[0].taken, "2026-08-20 10:00:00");

  prompter.then(Answer::Yes);
  ASSERT_TRUE(undoHousekeeping(session, snapshots[0].name));
  session.registry().closeAll();
  EXPECT_EQ(withoutSnapshots(), before);
  EXPECT_FALSE(fs::exists(area() / "~Staging"));
}

TEST_F(Housekeeping, ErasingKeepsTheTemplatesAndTheFilesThatAreNotWorkingData) {
  writeText(area() / "Cus-0001.dat", "customers");
  writeText(area() / "Anljnl.bak", "old bak");
  prompter.then(Answer::Yes);
  EXPECT_TRUE(eraseWorkingData(session));
  session.registry().closeAll();

  for (const char* name : {"Anljnl", "Anlpch", "Anspay", "Anstak"}) {
    const std::string text = readText(area() / (std::string(name) + ".dat"));
    EXPECT_EQ(text, std::string("template ") + name + ".dat");
    EXPECT_EQ(readText(area() / (std::string(name) + ".bak")), text);
  }
  for (const char* gone : {"An010001.dat", "Ax010001.dat", "DI010001.dat", "AF010001.dat",
                           "Bdg-0001.dat", "Jnl-0001.dat", "Ini-0001.dat", "Cus-0001.dat"}) {
    EXPECT_FALSE(has(gone)) << gone;
  }
  EXPECT_EQ(readText(area() / "GSTDate.dat"), "gstdate!");
  EXPECT_EQ(readText(area() / "DosyaYaz.dat"), "page files list");
}

TEST_F(Housekeeping, OnlyTheTenNewestSnapshotsAreKeptNewestFirst) {
  for (int i = 0; i < 12; ++i) {
    clock.set(DateTime{clock.today(), 10, 0, i / 2});
    prompter.then(Answer::Yes);
    ASSERT_TRUE(clearSelectedPeriod(session));
  }
  const auto names = snapshotNames();
  ASSERT_EQ(names.size(), kSnapshotsKept);
  EXPECT_EQ(names.front(), "clear-period-2026-08-20-100005-2.zip");
  EXPECT_EQ(names[1], "clear-period-2026-08-20-100005.zip");
  EXPECT_EQ(names.back(), "clear-period-2026-08-20-100001.zip");
}

TEST_F(Housekeeping, ASnapshotThatCannotBeWrittenStopsTheChange) {
  fs::create_directories(area() / "backup");
  writeText(snapshotFolder(area()), "a file where the snapshots go");
  const auto before = everything();
  prompter.then(Answer::Yes);
  EXPECT_FALSE(eraseWorkingData(session));
  session.registry().closeAll();
  EXPECT_EQ(everything(), before);
  const std::string told = prompter.texts().back();
  EXPECT_NE(told.find("could not be written"), std::string::npos) << told;
  EXPECT_NE(told.find("Nothing was changed."), std::string::npos) << told;
}

TEST_F(Housekeeping, ADamagedSnapshotIsRefusedWithNothingChanged) {
  prompter.then(Answer::Yes);
  ASSERT_TRUE(eraseWorkingData(session));
  const auto name = snapshotNames().front();
  auto bytes = readBytes(snapshotFolder(area()) / name);
  bytes.resize(bytes.size() / 2);
  writeBytes(snapshotFolder(area()) / name, bytes);
  session.registry().closeAll();
  const auto before = everything();

  prompter.then(Answer::Yes);
  EXPECT_FALSE(undoHousekeeping(session, name));
  session.registry().closeAll();
  EXPECT_EQ(everything(), before);
  EXPECT_EQ(prompter.texts().back(), "The snapshot " + name +
                                         " is damaged and cannot be brought back. Nothing was "
                                         "changed.");
  prompter.then(Answer::Yes);
  EXPECT_FALSE(undoHousekeeping(session, "../../Ent.dat"));
  EXPECT_EQ(everything(), before);
}

TEST(WorkingData, PeriodFilesAreToldFromOtherFilesOfTheSameLetters) {
  for (const char* name : {"DI010001.dat", "ai990003.DAT", "GM010001.dat", "An010001.dat",
                           "Ax010001.dat", "Bdg-0001.dat", "Entcoun.dat", "Prd-0002.dat"}) {
    EXPECT_TRUE(isWorkingDataFile(name)) << name;
  }
  for (const char* name : {"GSTDate.dat", "DosyaYaz.dat", "Kelamlar.dat", "DI01000x.dat",
                           "DZ010001.dat", "lum.ini", "Anljnl.bak"}) {
    EXPECT_FALSE(isWorkingDataFile(name)) << name;
  }
}

}  // namespace
}  // namespace lum
