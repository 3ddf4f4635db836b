#include "post/ledgers/ledgers_transfer.h"

#include <gtest/gtest.h>

#include "post/login/journal_line_records.h"
#include "post/login/journal_records.h"
#include "tests/post/ledgers/ledgers_fixture.h"
#include "tests/support/records.h"

namespace lum {
namespace {

using test::recordOf;

Currency cents(long long value) {
  return Currency::fromCents(value);
}

// An entry as the tests check it: account, amount in cents, reference, header.
struct Posted {
  int account;
  long long cents;
  int reference;
  int header;
  bool operator==(const Posted&) const = default;
};

class LedgersTransfer : public ::testing::Test, protected test::LedgersParts {
 protected:
  // Posting mode 0, the September quarter, a sales exempt ratio of 0.5.
  // Takings Book (income, entered positive, contra 621):
  //   Harbour Cafe i31  Sales 110.00 Y        -110.00, GST -10.00  201 -100.00
  //   Bank interest 7   Interest 50.00 N      -50.00, no GST       210  -50.00
  //   Mixed takings 8   Mixed Sales 220.00 Y  GST on half: -10.00  202 -210.00
  //   GST -20.00 to 849; the journal's -380.00 back to 621 as +380.00.
  // Payments Book (contra 621):
  //   Fuel 9        Motor 110.00, private use 0.25: GST on 82.50 = 7.50  407 102.50
  //   Stamps 10     No code 33.00 Y: GST 3.00                            999  30.00
  //   Hire 11       Big code (1500) 44.00, the row's N: no GST           999  44.00
  //   Phone bill 12 Phone 22.00, ratio 1.5 counts as none: GST 2.00      412  20.00
  //   GST 12.50 to 849; the journal's 209.00 back to 621 as -209.00.
  void writeBook() {
    session.login.setup.exemptSalesRatio = 0.5;
    writeJournal(1,
                 {{"Sales", "Y", "S", 0, 0, 201},
                  {"Interest", "N", "I", 0, 0, 210},
                  {"Mixed Sales", "C", "S", 0, 0, 202}},
                 {{"Y", {11000, 0, 0}, "01/08/05", "i31", "Harbour Cafe"},
                  {"N", {0, 5000, 0}, "02/08/05", "7", "Bank interest"},
                  {"Y", {0, 0, 22000}, "03/08/05", "8", "Mixed takings"}});
    writeJournal(2,
                 {{"Motor", "Y", "E", 0, 0.25f, 407},
                  {"No code", "Y", "E", 0, 0, 0},
                  {"Big code", "C", "E", 0, 0, 1500},
                  {"Phone", "Y", "E", 0, 1.5f, 412}},
                 {{"Y", {11000, 0, 0, 0}, "04/08/05", "9", "Fuel"},
                  {"Y", {0, 3300, 0, 0}, "05/08/05", "10", "Stamps"},
                  {"N", {0, 0, 4400, 0}, "06/08/05", "11", "Hire"},
                  {"Y", {0, 0, 0, 2200}, "07/08/05", "12", "Phone bill"}});
  }

  // Entries from `first` on: their account, amount, reference and header.
  std::vector<Posted> postedFrom(const LedgerBook& book, int first) {
    std::vector<Posted> posted;
    for (int e = first; e <= book.counters().entries; ++e) {
      const LedgerEntryRecord entry = book.entry(e);
      posted.push_back({entry.account, entry.amount.raw() / 100, entry.reference, entry.header});
    }
    return posted;
  }
};

TEST_F(LedgersTransfer, PostsEachAmountWithoutItsGstAndEachJournalsGstAndContra) {
  writeBook();
  prompter.then(Answer::Yes);
  const auto counts = transfer();
  ASSERT_TRUE(counts);
  EXPECT_EQ(counts->entries, 11);
  EXPECT_EQ(counts->headers, 2);
  EXPECT_EQ(counts->comments, 11);
  EXPECT_EQ(prompter.texts(),
            std::vector<std::string>{"Selected Ledgers Client is Smith Plumbing Pty Ltd.  Are you "
                                     "sure you have selected the correct client number?"});

  const LedgerBook after = book();
  EXPECT_EQ(postedFrom(after, 3), (std::vector<Posted>{{201, -10000, 31, 2},
                                                       {210, -5000, 7, 2},
                                                       {202, -21000, 8, 2},
                                                       {849, -2000, 0, 2},
                                                       {621, 38000, 0, 2},
                                                       {407, 10250, 9, 3},
                                                       {999, 3000, 10, 3},
                                                       {999, 4400, 11, 3},
                                                       {412, 2000, 12, 3},
                                                       {849, 1250, 0, 3},
                                                       {621, -20900, 0, 3}}));
  EXPECT_EQ(after.entry(3).date, "01/08/05");
  EXPECT_EQ(after.entry(3).comment, 3);
  EXPECT_EQ(after.entry(7).date, "03/08/05");  // the contra: as the period's last row posted

  // The bank account's chain goes on from its two entries.
  EXPECT_EQ(after.chain(621), (std::vector<int>{1, 2, 7, 13}));
  EXPECT_EQ(after.account(621).balance, cents(100000 + 38000 - 20900));
  EXPECT_EQ(after.chain(849), (std::vector<int>{6, 12}));
  EXPECT_EQ(after.account(849).balance, cents(-750));
  EXPECT_EQ(after.chain(999), (std::vector<int>{9, 10}));
  EXPECT_EQ(after.account(210).name, "Interest");  // blank in the chart: named from the journal
  EXPECT_EQ(after.account(201).name, "Sales");
  EXPECT_EQ(after.entry(13).nextEntry, 0);

  const auto headers = this->headers(after);
  ASSERT_EQ(headers.size(), 3u);
  EXPECT_EQ(headers[1].kind, "GJ");
  EXPECT_EQ(headers[1].narration,
            "Being automatic posting of GST Takings Book For the quarter ending September");
  EXPECT_EQ(headers[1].firstEntry, 3);
  EXPECT_EQ(headers[1].lastEntry, 7);
  EXPECT_EQ(headers[2].firstEntry, 8);
  EXPECT_EQ(headers[2].lastEntry, 13);
  const auto comments = this->comments(after);
  EXPECT_EQ(comments[2].text, "Harbour Cafe");
  EXPECT_EQ(comments[2].entry, 3);
  EXPECT_EQ(comments[5].text, "GST for the period");
  EXPECT_EQ(comments[6].text, "Contra");

  // The counters' own fields are the ledgers program's: only the counts change.
  const auto counted = recordOf<LedgerCountersRecord>(ledgers() / "Lct-1.Dat", 1);
  EXPECT_EQ(counted.entriesAgain, 13);
  EXPECT_EQ(counted.headersAgain, 3);
  EXPECT_EQ(counted.commentsAgain, 13);
  EXPECT_EQ(counted.text, "01/07/04");
  EXPECT_EQ(counted.value5, 15);

  // The work area: every row posted is marked, each journal stamped, the
  // ratio out of range cleared.
  for (int row = 1; row <= 3; ++row) {
    EXPECT_EQ(recordOf<TransactionRecord>(area() / "DI010001.dat", row).transferred, 1);
  }
  EXPECT_EQ(recordOf<TransactionRecord>(area() / "DI020001.dat", 4).transferred, 1);
  EXPECT_EQ(recordOf<JournalHeaderRecord>(area() / "Jnl-0001.dat", 1).dateTransferred, "03/08/05");
  EXPECT_EQ(recordOf<JournalHeaderRecord>(area() / "Jnl-0001.dat", 2).dateTransferred, "07/08/05");
  EXPECT_EQ(recordOf<AnalysisExtraRecord>(area() / "Ax020001.dat", 4).exemptRatio, 0.0f);
  EXPECT_EQ(recordOf<AnalysisExtraRecord>(area() / "Ax020001.dat", 1).exemptRatio, 0.25f);
}

// The ledgers program's own fields, in whatever bytes it wrote them (here
// NULs after a text, odd values), stay as they were: only the balance and
// the chain of an account, and the next entry of its last entry, change.
TEST_F(LedgersTransfer, KeepsEveryFieldItDoesNotOwnByteForByte) {
  writeBook();
  auto accounts = test::readBytes(ledgers() / "Ltc-1.Dat");
  const std::size_t bank = 620 * LedgerAccountRecord::kSize;
  for (std::size_t at = 0; at < 48; ++at) {
    accounts[bank + at] = at < 4 ? std::byte{'B'} : std::byte{0};
  }
  for (std::size_t at = 152; at < 224; ++at) {
    accounts[bank + at] = std::byte{0x11};
  }
  for (std::size_t at = 232; at < 240; ++at) {
    accounts[bank + at] = std::byte{0x22};
  }
  test::writeBytes(ledgers() / "Ltc-1.Dat", accounts);
  auto entries = test::readBytes(ledgers() / "Led-1.Dat");
  for (std::size_t at = 60 + 52; at < 120; ++at) {
    entries[at] = std::byte{0x33};  // entry 2's last eight bytes
  }
  test::writeBytes(ledgers() / "Led-1.Dat", entries);

  prompter.then(Answer::Yes);
  ASSERT_TRUE(transfer());
  const auto accountsAfter = test::readBytes(ledgers() / "Ltc-1.Dat");
  const auto entriesAfter = test::readBytes(ledgers() / "Led-1.Dat");
  const auto changed = [](const std::vector<std::byte>& a, const std::vector<std::byte>& b,
                          std::size_t from, std::size_t to) {
    std::vector<std::size_t> at;
    for (std::size_t i = from; i < to; ++i) {
      if (a[i] != b[i]) {
        at.push_back(i - from);
      }
    }
    return at;
  };
  EXPECT_EQ(changed(accounts, accountsAfter, bank, bank + 240),
            (std::vector<std::size_t>{144, 145, 146, 228}));  // balance and last entry
  EXPECT_EQ(changed(entries, entriesAfter, 60, 120), std::vector<std::size_t>{44});
}

TEST_F(LedgersTransfer, NewTransactionsOnlyTakesNothingTwiceAndAllTransactionsWarnsFirst) {
  writeBook();
  prompter.then(Answer::Yes);
  ASSERT_TRUE(transfer());
  const auto once = bothTrees();

  prompter.then(Answer::Yes);
  const auto again = transfer();
  ASSERT_TRUE(again);
  EXPECT_EQ(again->entries, 0);
  EXPECT_EQ(again->headers, 0);
  EXPECT_EQ(bothTrees(), once);

  prompter.clear();
  prompter.then(Answer::Yes).then(Answer::No);
  EXPECT_FALSE(transfer({1, "Current", true}));
  EXPECT_EQ(prompter.exchanges().back().prompt.text,
            "You have selected all transactions to be transferred.  Previously transferred "
            "transactions will be duplicated.  Do you wish to continue?");
  EXPECT_EQ(prompter.exchanges().back().prompt.defaultAnswer, Answer::No);
  EXPECT_EQ(bothTrees(), once);

  prompter.then(Answer::Yes).then(Answer::Yes);
  const auto all = transfer({1, "Current", true});
  ASSERT_TRUE(all);
  EXPECT_EQ(all->entries, 11);
  EXPECT_EQ(all->headers, 2);
  EXPECT_EQ(book().chain(621), (std::vector<int>{1, 2, 7, 13, 18, 24}));
}

// Posting mode 3: an income journal's amounts are taken as entered, and a
// journal without rows in the period gets no header.
TEST_F(LedgersTransfer, InPostingModeThreeAmountsKeepTheirSign) {
  session.login.setup.postingMode = PostingMode::OtherBusiness;
  writeJournal(1,
               {{"Fuel", "Y", "E", 0, 0, 407},
                {"Sales", "Y", "S", 0, 0, 201},
                {"Rent", "N", "E", 0, 0, 410}},
               {{"Y", {11000, 0, 0}, "01/08/05", "1", "Diesel", {11000, 0, -11000}},
                {"Y", {0, -33000, 0}, "02/08/05", "2", "Takings", {0, 33000, 22000}},
                {"N", {0, 0, 4400}, "03/08/05", "3", "Rent", {4400, 0, 17600}}});
  prompter.then(Answer::Yes);
  const auto counts = transfer();
  ASSERT_TRUE(counts);
  EXPECT_EQ(counts->headers, 1);
  EXPECT_EQ(postedFrom(book(), 3), (std::vector<Posted>{{407, 10000, 1, 2},
                                                        {201, -30000, 2, 2},
                                                        {410, 4400, 3, 2},
                                                        {849, -2000, 0, 2},
                                                        {621, 17600, 0, 2}}));
}

TEST_F(LedgersTransfer, AllPeriodsTakeEachPeriodUnderItsOwnHeader) {
  session.login.setup.periodKind = "M";
  session.login.periodLetter = 'C';
  const std::vector<Account> accounts = {{"Sales", "Y", "S", 0, 0, 201}};
  writeJournal(1, accounts, {{"Y", {1100}, "15/03/05", "1", "March"}}, 'C');
  writeJournal(1, accounts, {{"Y", {2200}, "15/04/05", "2", "April"}}, 'D');
  prompter.then(Answer::Yes);
  ASSERT_TRUE(transfer({1, "Current", false, true}));
  const auto headers = this->headers(book());
  ASSERT_EQ(headers.size(), 4u);  // and September, from the work area's own rows
  EXPECT_EQ(headers[1].narration,
            "Being automatic posting of GST Takings Book For the month of March");
  EXPECT_EQ(headers[2].narration,
            "Being automatic posting of GST Takings Book For the month of April");
  EXPECT_EQ(headers[3].narration,
            "Being automatic posting of GST Takings Book For the month of September");
  EXPECT_EQ(recordOf<JournalHeaderRecord>(area() / "Jnl-0001.dat", 1).dateTransferred, "04/08/05");
}

TEST_F(LedgersTransfer, APeriodFolderHasItsOwnFiles) {
  writeBook();
  const auto folder = ledgers() / "2005";
  std::filesystem::create_directories(folder);
  for (const char* name : {"Ltc-1.Dat", "Led-1.Dat", "Ljn-1.Dat", "Lcm-1.Dat", "Lct-1.Dat"}) {
    std::filesystem::copy_file(ledgers() / name, folder / name);
  }
  EXPECT_EQ(LedgerFiles::periodFolders(ops, paths, 1),
            (std::vector<std::string>{"Current", "2005"}));
  prompter.then(Answer::Yes);
  ASSERT_TRUE(transfer({1, "2005"}));
  EXPECT_EQ(book("2005").counters().entries, 13);
  EXPECT_EQ(book().counters().entries, 2);
}

TEST_F(LedgersTransfer, TheAccountsVersionIsSettledOnceWhateverTheAnswer) {
  writeBook();
  test::writeBytes(area() / "Lcn-0001.dat", test::Bytes().text("Journals", 24).int16(2));
  const char* question =
      "It appears that the account numbers need to be updated to Ver 3.  Do you wish to update?";

  // Yes without a table to renumber by: told, nothing changed.
  const auto before = bothTrees();
  prompter.then(Answer::Yes).then(Answer::Yes);
  EXPECT_FALSE(transfer());
  EXPECT_EQ(prompter.texts()[1], question);
  EXPECT_EQ(prompter.texts()[2],
            "The table of new account numbers RollAcP.dat does not exist.  The account numbers "
            "are not updated.");
  EXPECT_EQ(bothTrees(), before);

  // The client's own table: 201 becomes 301, 621 becomes 631.
  test::Bytes table;
  for (int k = 1; k <= 700; ++k) {
    table.int16(static_cast<std::int16_t>(k == 201 ? 301 : k == 621 ? 631 : k));
  }
  test::writeBytes(ledgers() / "Rol-1.dat", table);
  prompter.clear();
  prompter.then(Answer::Yes).then(Answer::Yes);
  ASSERT_TRUE(transfer());
  EXPECT_EQ(prompter.texts()[2], "Account Numbers have been updated to Version 3");
  EXPECT_EQ(recordOf<JournalHeaderRecord>(area() / "Jnl-0001.dat", 1).contraAccount, 631);
  EXPECT_EQ(recordOf<AnalysisAccountRecord>(area() / "An010001.dat", 1).ledgersAccount, 301);
  EXPECT_EQ(recordOf<AnalysisAccountRecord>(area() / "An010001.dat", 2).ledgersAccount, 210);
  EXPECT_EQ(book().entry(3).account, 301);
  const auto version = recordOf<CounterRecord>(area() / "Lcn-0001.dat", 2);
  EXPECT_EQ(version.label, "Orv Ledgers Version");
  EXPECT_EQ(version.value, 3);
}

TEST_F(LedgersTransfer, NoToTheVersionQuestionStillRecordsVersionThree) {
  writeBook();
  test::writeBytes(area() / "Lcn-0001.dat", test::Bytes().text("Journals", 24).int16(2));
  prompter.then(Answer::Yes).then(Answer::No);
  ASSERT_TRUE(transfer());
  EXPECT_EQ(recordOf<CounterRecord>(area() / "Lcn-0001.dat", 2).value, 3);
  EXPECT_EQ(recordOf<JournalHeaderRecord>(area() / "Jnl-0001.dat", 1).contraAccount, 621);
  prompter.clear();
  prompter.then(Answer::Yes);
  ASSERT_TRUE(transfer());  // asked only for the client
  EXPECT_EQ(prompter.exchanges().size(), 1u);
}

TEST_F(LedgersTransfer, StopsBeforeWritingWhenTheClientOrItsFilesAreWrong) {
  writeBook();
  const auto before = bothTrees();
  prompter.then(Answer::No);
  EXPECT_FALSE(transfer());
  EXPECT_FALSE(transfer({0}));
  EXPECT_FALSE(transfer({7}));
  EXPECT_FALSE(transfer({1, "../.."}));
  EXPECT_EQ(prompter.texts(),
            (std::vector<std::string>{"Selected Ledgers Client is Smith Plumbing Pty Ltd.  Are "
                                      "you sure you have selected the correct client number?",
                                      "Client Number is not entered",
                                      "Ledgers files do not exist in specified drive",
                                      "There is no ledgers period ../..."}));
  EXPECT_EQ(bothTrees(), before);
}

TEST_F(LedgersTransfer, DamagedLedgersFilesAreToldAndNothingIsWritten) {
  writeBook();
  const auto led = test::readBytes(ledgers() / "Led-1.Dat");
  const auto ltc = test::readBytes(ledgers() / "Ltc-1.Dat");
  const auto lct = test::readBytes(ledgers() / "Lct-1.Dat");
  const std::vector<std::pair<std::function<void()>, std::string>> damages = {
      {[&] { std::filesystem::copy_file(ledgers() / "Lct-1.Dat", ledgers() / "Lct-2.Dat"); },
       "The ledgers client list Mascnt.dat has no client 2.  Nothing was transferred."},
      {[&] { writeCounters(ledgers(), 2, 1, 2, 31); },
       "The Ledgers Data is not the correct Version.  Start Ledgers Program with the selected "
       "client and the data will automatically converted to correct version."},
      {[&] { writeCounters(ledgers(), 5, 1, 2); },
       "The ledgers file Led-1.Dat is damaged: it holds 2 entries, but 5 are in use.  Nothing "
       "was transferred."},
      // Far past the file: told before any room is made for that many.
      {[&] { writeCounters(ledgers(), 2'000'000'000, 1, 2); },
       "The ledgers file Led-1.Dat is damaged: it holds 2 entries, but 2000000000 are in use.  "
       "Nothing was transferred."},
      {[&] {
         test::writeBytes(ledgers() / "Lct-1.Dat", std::vector(lct.begin(), lct.begin() + 30));
       },
       "The ledgers file Lct-1.Dat is damaged: its counters record is cut short.  Nothing was "
       "transferred."},
      {[&] {
         test::writeBytes(ledgers() / "Ltc-1.Dat", std::vector(ltc.begin(), ltc.end() - 100));
       },
       "The ledgers file Ltc-1.Dat is damaged: its record 999 is cut short.  Nothing was "
       "transferred."},
      {[&] {
         auto looped = led;
         looped[44] = std::byte{1};  // entry 1 goes on to itself
         test::writeBytes(ledgers() / "Led-1.Dat", looped);
       },
       "The ledgers file Ltc-1.Dat is damaged: account 621 comes back to entry 1 of account 621: "
       "its entries loop.  Nothing was transferred."},
  };
  for (const auto& [damage, told] : damages) {
    test::writeBytes(ledgers() / "Led-1.Dat", led);
    test::writeBytes(ledgers() / "Ltc-1.Dat", ltc);
    test::writeBytes(ledgers() / "Lct-1.Dat", lct);
    damage();
    const auto before = bothTrees();
    prompter.clear();
    prompter.then(Answer::Yes);
    EXPECT_FALSE(transfer({told.find("client 2") != std::string::npos ? 2 : 1}));
    EXPECT_EQ(prompter.texts().back(), told);
    EXPECT_EQ(bothTrees(), before) << told;
  }
}

// A journal whose rows file is cut short is told and left out whole: its
// rows stay unmarked for a later transfer once it is mended.
TEST_F(LedgersTransfer, ADamagedJournalIsLeftOutWhole) {
  writeBook();
  const auto rows = test::readBytes(area() / "DI020001.dat");
  test::writeBytes(area() / "DI020001.dat", std::vector(rows.begin(), rows.begin() + 100));
  prompter.then(Answer::Yes);
  const auto counts = transfer();
  ASSERT_TRUE(counts);
  EXPECT_EQ(counts->headers, 1);
  EXPECT_EQ(prompter.texts().back(),
            "The journal Payments Book (journal 2) is damaged: its file DI020001.dat holds 1 row "
            "and part of row 2, but 4 are in use. It is left out of the transfer.");
  EXPECT_EQ(recordOf<TransactionRecord>(area() / "DI020001.dat", 1).transferred, 0);
  EXPECT_EQ(recordOf<JournalHeaderRecord>(area() / "Jnl-0001.dat", 2).dateTransferred, "");
}

TEST(MonthOfPeriod, NamesTheMonthOfEachLetter) {
  EXPECT_EQ(monthOfPeriod('A'), "January");
  EXPECT_EQ(monthOfPeriod('C'), "March");
  EXPECT_EQ(monthOfPeriod('L'), "December");
  EXPECT_EQ(monthOfPeriod('M'), "");
}

}  // namespace
}  // namespace lum
