// Writes one book of transactions twice, for bench/race: into the work area
// of group 1, operator 1, entity 1 of a program directory (made beforehand
// by scripts/make-demo and `lumctl new-entity --mode 3`, monthly), through
// the journal files, and as a ledger-cli journal file.
//
//   race_book PROGRAM_DIR COUNT SEED LEDGER_FILE
//
// The transactions fill the twelve months of 2025 (periods A to L) in equal
// shares, each month's spread over as many journals as its 2,000-row limit
// needs; every journal gets the same six analysis accounts. A row is a sale
// (a receipt) or a purchase (a payment) of 5.00 to 2,000.00 dollars, and its
// ledger transaction posts the account against Assets:Bank.

#include <fmt/core.h>
#include <fmt/os.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <random>

#include "bench/full_work_area.h"
#include "platform/currency.h"

namespace {

using namespace lum;

struct Account {
  const char* name;
  const char* type;  // S sales, C cost of sales, E expenses
  const char* gst;   // Y subject to GST, N not
  const char* ledgerName;
  bool income;
};

const Account kAccounts[] = {
    {"Sales", "S", "Y", "Income:Sales", true},
    {"Export Sales", "S", "N", "Income:Export Sales", true},
    {"Purchases", "C", "Y", "Expenses:Purchases", false},
    {"Rent", "E", "Y", "Expenses:Rent", false},
    {"Bank Fees", "E", "N", "Expenses:Bank Fees", false},
    {"Motor Vehicle", "E", "Y", "Expenses:Motor Vehicle", false},
};
constexpr int kAccountCount = sizeof(kAccounts) / sizeof(kAccounts[0]);

const char* const kPayees[] = {"Harbour Cafe",    "Bayside Bakery", "Quay Hardware",
                               "Salamanca Print", "Derwent Fuel",   "Battery Point Deli"};

int daysIn(int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return kDays[month];
}

// dollars.cents of an amount in cents, with its sign.
std::string dollars(std::int64_t cents) {
  const std::int64_t size = cents < 0 ? -cents : cents;
  return fmt::format("{}{}.{:02}", cents < 0 ? "-" : "", size / 100, size % 100);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    fmt::print(stderr, "usage: race_book PROGRAM_DIR COUNT SEED LEDGER_FILE\n");
    return 2;
  }
  const std::filesystem::path program = argv[1];
  const long count = std::atol(argv[2]);
  std::mt19937_64 random(std::strtoull(argv[3], nullptr, 10));
  auto ledger = fmt::output_file(argv[4]);

  // A month's share of the transactions, and the journals its largest
  // share needs.
  const auto share = [count](int month) {
    return static_cast<int>(count * (month + 1) / 12 - count * month / 12);
  };
  int journals = 1;
  for (int month = 0; month < 12; ++month) {
    journals = std::max(journals, (share(month) + Journal::kMaxRows - 1) / Journal::kMaxRows);
  }
  if (journals > kMaxJournals) {
    fmt::print(stderr, "race_book: {} transactions need {} journals, more than an entity has\n",
               count, journals);
    return 1;
  }

  FileOps ops;
  DosPath paths(ops, program, program / "floppy");
  bench::Agreeable prompter;
  FixedClock clock{DateTime{*Date::fromYmd(2025, 12, 31), 10, 0, 0}};
  bench::NoWait waiter{clock};
  NoWindows windows;
  Session session{ops, paths, prompter, clock, waiter};
  session.setHost(windows);
  session.login.operatorNumber = 1;
  session.login.groupNumber = 1;
  session.login.systemDirectory = "..\\System\\Ent-1";
  if (openWorkArea(session, 1, AreaMode::StartUp) != AreaOutcome::Shown) {
    fmt::print(stderr, "race_book: cannot open the work area of {}\n", program.string());
    return 1;
  }
  const PostingMode mode = session.login.setup.postingMode;
  if (mode != PostingMode::OtherBusiness || session.login.setup.periodKind != "M") {
    fmt::print(stderr, "race_book: the entity must be posting mode 3, monthly\n");
    return 1;
  }

  // The standard journals keep their names; the others are added after them.
  const int counted =
      session.file("counters").get<CounterRecord>(static_cast<int>(EntityCounter::Journals)).value;
  for (int j = counted + 1; j <= journals; ++j) {
    session.file("Jnl").put(j, JournalHeaderRecord{fmt::format("Journal {}", j), "C", 0, ""});
  }
  if (journals > counted) {
    session.file("counters")
        .put(static_cast<int>(EntityCounter::Journals),
             CounterRecord{"Journals", static_cast<std::int16_t>(journals)});
  }

  std::uniform_int_distribution<std::int64_t> amounts(500, 200000);
  std::uniform_int_distribution<int> accounts(0, kAccountCount - 1);
  long number = 0;
  for (int month = 0; month < 12; ++month) {
    session.login.periodLetter = static_cast<char>('A' + month);
    const int rows = share(month);
    for (int j = 1; j <= journals; ++j) {
      JournalFiles files(session, j);
      Journal journal(mode);
      const int first = journal.lastFixedColumn() + 1;
      for (int k = 0; k < kAccountCount; ++k) {
        AnalysisColumn& column = journal.column(first + k);
        column.name = kAccounts[k].name;
        column.accountType = kAccounts[k].type;
        column.gstCode = kAccounts[k].gst;
        column.ledgersAccount = static_cast<std::int16_t>(200 + k);
      }
      // The month's rows k = j - 1, j - 1 + journals, ...: each journal's in
      // date order.
      int r = 0;
      Currency balance;
      for (int k = j - 1; k < rows; k += journals) {
        ++r;
        ++number;
        const int day = 1 + static_cast<int>(static_cast<long>(k) * daysIn(month) / rows);
        const Account& account = kAccounts[accounts(random)];
        const std::int64_t cents = amounts(random);
        const std::string particulars =
            fmt::format("{} {}", kPayees[number % 6], number);  // well within 46 letters
        journal.row(r) =
            TransactionRecord{fmt::format("{:02}/{:02}/25", day, month + 1), particulars,
                              std::to_string(number % 100000), account.gst, 0};
        const Currency amount = Currency::fromCents(cents);
        const int column = first + static_cast<int>(&account - kAccounts);
        const int side = account.income ? journal.receiptsColumn() : journal.amountColumn();
        journal.am(r, column) = account.income ? -amount : amount;
        journal.am(r, side) = amount;
        balance += account.income ? amount : -amount;
        journal.am(r, journal.balanceColumn()) = balance;
        for (const int c : {column, side}) {
          journal.am(0, c) += journal.am(r, c);
        }
        const std::int64_t posted = account.income ? -cents : cents;
        ledger.print("2025/{:02}/{:02} {}\n    {}  ${}\n    Assets:Bank  ${}\n\n", month + 1, day,
                     particulars, account.ledgerName, dollars(posted), dollars(-posted));
      }
      journal.rowsInUse = r;
      journal.lastColumnInUse = first + kAccountCount - 1;
      journal.computeRowBalances();
      files.save(journal);
    }
  }
  ledger.close();
  session.registry().closeAll();
  session.lock().release();
  fmt::print("{} transactions in {} journals\n", number, journals);
  return 0;
}
