#include "post/ledgers/ledgers_transfer.h"

#include <fmt/core.h>

#include <array>
#include <cmath>
#include <cstring>
#include <set>

#include "panel/dates.h"
#include "platform/record_file.h"
#include "platform/text.h"
#include "platform/work_area_transaction.h"
#include "post/journals/journal_damage.h"
#include "post/journals/journal_files.h"
#include "post/ledgers/account_numbers.h"
#include "post/ledgers/ledger_book.h"
#include "post/ledgers/ledger_posting.h"
#include "post/login/journal_records.h"
#include "post/login/login_records.h"
#include "post/login/session.h"
#include "post/reports/exempt_ratio.h"
#include "post/reports/taken_amounts.h"

namespace lum {
namespace {

constexpr int kGstAccount = 849;
constexpr int kSuspenseAccount = 999;
constexpr std::int16_t kAccountsVersion = 3;

// An analysis account's ledger code, or the suspense account when it has
// none the ledgers could hold.
int ledgerAccountOf(int code) {
  return code < 1 || code > LedgerAccountRecord::kAccounts ? kSuspenseAccount : code;
}

// "i31" is posted as 31: the digits of a reference, 0 when it has none.
int referenceNumber(std::string_view reference) {
  int number = 0;
  for (const char c : reference) {
    if (c >= '0' && c <= '9' && number < 100'000'000) {
      number = number * 10 + (c - '0');
    }
  }
  return number;
}

std::string narrationOf(std::string_view journalName, char period, bool quarterly) {
  const std::string month = monthOfPeriod(period);
  const std::string span = month.empty() ? "the year ending June"
                           : quarterly   ? "the quarter ending " + month
                                         : "the month of " + month;
  return fmt::format("Being automatic posting of GST {} For {}", trim(journalName), span);
}

// What one journal gives the transfer: its postings per period, in order,
// and the changes to its own files. Made whole before anything of it is
// posted, so that a damaged journal is left out whole.
struct JournalTransfer {
  struct Period {
    char letter = ' ';
    std::vector<LedgerPosting> postings;
    std::vector<int> rowsPosted;
  };
  std::vector<Period> periods;
  std::set<int> ratiosToClear;  // analysis columns whose private-use ratio is out of range
  std::string lastDate;         // of the last row posted
};

JournalTransfer takeJournal(Session& session, int journal, const TransferRequest& request) {
  const JournalFiles files(session, journal);
  const JournalTaking taking = JournalTaking::of(session, files, journal);
  const JournalHeaderRecord header = session.file("Jnl").get<JournalHeaderRecord>(journal);
  const std::vector<AnalysisColumn> columns =
      files.analysisColumns(static_cast<int>(taking.accounts.size()) - 1);
  std::vector<char> letters = files.periodLetters();
  letters.pop_back();  // the months or quarters, not the full year
  if (!request.allPeriods) {
    letters = {session.login.periodLetter};
  }
  const Clock& clock = session.clock();
  JournalTransfer transfer;
  for (const char letter : letters) {
    if (!session.ops().exists(files.path("GrdRecs", letter))) {
      continue;
    }
    JournalTransfer::Period period{letter, {}, {}};
    std::string rowDate;
    std::string periodDate;
    const TakenTotals totals = takeAmounts(
        session, files, letter, taking,
        [&](const TransactionRecord& row) {
          return request.allTransactions || row.transferred == 0;
        },
        [&](const TakenAmount& taken) {
          const AnalysisColumn& column = columns[static_cast<std::size_t>(taken.column)];
          if (exemptRatio(column.exemptRatio) != column.exemptRatio) {
            transfer.ratiosToClear.insert(taken.column);
          }
          if (period.rowsPosted.empty() || period.rowsPosted.back() != taken.row) {
            period.rowsPosted.push_back(taken.row);
            if (taken.record->date != rowDate) {  // rows in a run share their date
              rowDate = taken.record->date;
              periodDate = normaliseDate(rowDate, clock);
            }
          }
          period.postings.push_back({ledgerAccountOf(column.ledgersAccount), taken.amount,
                                     periodDate, referenceNumber(taken.record->reference),
                                     taken.record->particulars,
                                     taking.accounts[static_cast<std::size_t>(taken.column)].name});
          return true;
        });
    if (period.postings.empty()) {
      continue;
    }
    // The period's GST and its contra are dated as its last row posted.
    if (!totals.gst.isZero()) {
      period.postings.push_back(
          {kGstAccount, totals.gst, periodDate, 0, "GST for the period", "GST for the period"});
    }
    if (!totals.balance.isZero() && header.contraAccount != 0) {
      period.postings.push_back({ledgerAccountOf(header.contraAccount), -totals.balance, periodDate,
                                 0, "Contra", header.name});
    }
    transfer.lastDate = periodDate;
    transfer.periods.push_back(std::move(period));
  }
  return transfer;
}

// Marks the rows posted, clears the ratios out of range and stamps the
// journal with its last transfer date.
void writeJournal(Session& session, int journal, const JournalTransfer& transfer) {
  FileOps& ops = session.ops();
  const JournalFiles files(session, journal);
  const std::size_t kMarkAt = fieldOffset<TransactionRecord>("transferred");
  for (const JournalTransfer::Period& period : transfer.periods) {
    const std::filesystem::path rowsFile = files.path("GrdRecs", period.letter);
    std::vector<std::byte> rows = ops.readFile(rowsFile);
    for (const int row : period.rowsPosted) {
      const std::int16_t marked = 1;
      std::memcpy(
          rows.data() + static_cast<std::size_t>(row - 1) * TransactionRecord::kSize + kMarkAt,
          &marked, sizeof marked);
    }
    const FileHandle handle = ops.open(rowsFile, OpenMode::ReadWriteCreate);
    ops.writeAt(handle, 0, rows);
  }
  if (!transfer.ratiosToClear.empty()) {
    RecordFile extras(ops, files.path("Ax"), AnalysisExtraRecord::kSize);
    for (const int column : transfer.ratiosToClear) {
      auto extra = extras.get<AnalysisExtraRecord>(column);
      extra.exemptRatio = 0;
      extras.put(column, extra);
    }
    extras.close();
  }
  RecordFile& journals = session.file("Jnl");
  auto header = journals.get<JournalHeaderRecord>(journal);
  header.dateTransferred = transfer.lastDate;
  journals.put(journal, header);
}

// Every file the writing changes, kept by the transaction in one go.
std::vector<std::filesystem::path> filesChanged(
    Session& session, const LedgerFiles& ledgers,
    const std::vector<std::pair<int, JournalTransfer>>& journals) {
  std::vector<std::filesystem::path> changed = {session.file("Jnl").path(), ledgers.entries(),
                                                ledgers.headers(),          ledgers.comments(),
                                                ledgers.accounts(),         ledgers.counters()};
  for (const auto& [j, transfer] : journals) {
    const JournalFiles files(session, j);
    for (const JournalTransfer::Period& period : transfer.periods) {
      changed.push_back(files.path("GrdRecs", period.letter));
    }
    if (!transfer.ratiosToClear.empty()) {
      changed.push_back(files.path("Ax"));
    }
  }
  return changed;
}

// The ledgers client's record, or why there is none to transfer to.
std::optional<LedgerClientRecord> readClient(Session& session, const LedgerFiles& files) {
  FileOps& ops = session.ops();
  const std::filesystem::path clients = files.clients();
  std::vector<std::byte> bytes(LedgerClientRecord::kSize);
  std::size_t got = 0;
  if (ops.exists(clients)) {
    const FileHandle handle = ops.open(clients, OpenMode::ReadOnly);
    got = ops.readAt(
        handle, static_cast<std::uint64_t>(files.ledgers() - 1) * LedgerClientRecord::kSize, bytes);
  }
  if (got < bytes.size()) {
    session.prompter().message(
        fmt::format("The ledgers client list {} has no client {}.  Nothing was transferred.",
                    clients.filename().string(), files.ledgers()),
        Icon::Exclamation);
    return std::nullopt;
  }
  return LedgerClientRecord::decode(bytes);
}

// The ledgers book to post to, after checking its data version and that
// its files hold together; nothing (told) when they do not.
std::optional<LedgerBook> readBook(Session& session, const LedgerFiles& files) {
  Prompter& prompter = session.prompter();
  try {
    const auto counters =
        LedgerCountersRecord::decode(LedgerBook::readCounters(session.ops(), files));
    if (counters.version != LedgerCountersRecord::kDataVersion) {
      prompter.message(kWrongLedgersVersion, Icon::Exclamation);
      return std::nullopt;
    }
    return LedgerBook::read(session.ops(), files);
  } catch (const LedgerDamaged& damaged) {
    prompter.message(fmt::format("{}  Nothing was transferred.", damaged.what()),
                     Icon::Exclamation);
    return std::nullopt;
  }
}

// The question of the accounts' numbering, asked once per entity: the
// entity is then at version 3 whatever the answer. False when the
// renumbering was wanted and could not be done.
bool settleAccountsVersion(Session& session, const LedgerFiles& files, int chartKind) {
  RecordFile& counters = session.file("counters");
  constexpr int kVersionRecord = static_cast<int>(EntityCounter::Version);
  if (counters.get<CounterRecord>(kVersionRecord).value == kAccountsVersion) {
    return true;
  }
  if (session.prompter().yes(
          "It appears that the account numbers need to be updated to Ver 3.  Do you wish to "
          "update?") &&
      !upgradeAccountNumbers(session, files, chartKind)) {
    return false;
  }
  counters.put(kVersionRecord, CounterRecord{"Orv Ledgers Version", kAccountsVersion});
  return true;
}

// The transfer once the ledgers client is confirmed and its book read.
std::optional<TransferCounts> transfer(Session& session, const TransferRequest& request,
                                       const LedgerFiles& files, const LedgerClientRecord& client,
                                       const LedgerBook& book, const TransferProgress& progress) {
  FileOps& ops = session.ops();
  Prompter& prompter = session.prompter();
  WorkAreaTransaction transaction(ops, session.rollbackFolder());
  if (!settleAccountsVersion(session, files, client.chartKind)) {
    return std::nullopt;
  }
  if (request.allTransactions &&
      !prompter.confirm("You have selected all transactions to be transferred.  Previously "
                        "transferred transactions will be duplicated.  Do you wish to "
                        "continue?")) {
    transaction.commit();  // the entity keeps its accounts' version
    return std::nullopt;
  }

  const JournalCount count = countJournals(session);
  DamageFound damage;
  damage.countProblem = count.problem;
  const bool quarterly = session.login.setup.periodKind == "Q";
  LedgerPostings postings(book);
  std::vector<std::pair<int, JournalTransfer>> journals;
  for (int j = 1; j <= count.count; ++j) {
    std::optional<JournalTransfer> transfer;
    try {
      transfer = takeJournal(session, j, request);
    } catch (const JournalDamaged& damaged) {
      damage.journals.push_back(damaged.damage());
    } catch (const std::overflow_error&) {
      damage.journals.push_back(
          overflowDamage(session, JournalFiles(session, j), "GrdAms", session.login.periodLetter));
    }
    if (transfer && !transfer->periods.empty()) {
      const std::string name = session.file("Jnl").get<JournalHeaderRecord>(j).name;
      for (const JournalTransfer::Period& period : transfer->periods) {
        for (const LedgerPosting& posting : period.postings) {
          postings.post(posting);
        }
        postings.closeHeader(narrationOf(name, period.letter, quarterly));
      }
      journals.emplace_back(j, std::move(*transfer));
    }
    if (progress) {
      progress(j, count.count);
    }
  }
  for (const std::string& told : damage.messages("the transfer")) {
    prompter.message(told, Icon::Exclamation);
  }

  if (!journals.empty()) {
    transaction.keep(filesChanged(session, files, journals));
    for (const auto& [j, transfer] : journals) {
      writeJournal(session, j, transfer);
    }
    postings.write(ops, files);
  }
  transaction.commit();
  return TransferCounts{postings.entriesAdded(), postings.headersAdded(), postings.commentsAdded()};
}

}  // namespace

std::string monthOfPeriod(char periodLetter) {
  static constexpr std::array<const char*, 12> kMonths = {
      "January", "February", "March",     "April",   "May",      "June",
      "July",    "August",   "September", "October", "November", "December"};
  if (periodLetter < 'A' || periodLetter > 'L') {
    return {};
  }
  return kMonths[static_cast<std::size_t>(periodLetter - 'A')];
}

namespace {

std::optional<TransferCounts> checkAndTransfer(Session& session, const TransferRequest& request,
                                               const TransferProgress& progress) {
  Prompter& prompter = session.prompter();
  if (request.ledgers <= 0) {
    prompter.message("Client Number is not entered");
    return std::nullopt;
  }
  if (!LedgerFiles::isFolderName(request.folder)) {
    prompter.message(fmt::format("There is no ledgers period {}.", request.folder),
                     Icon::Exclamation);
    return std::nullopt;
  }
  const LedgerFiles files(session.paths(), session.login.groupNumber, request.ledgers,
                          request.folder);
  FileOps& ops = session.ops();
  if (!ops.exists(files.counters())) {
    prompter.message(kNoLedgersFiles);
    return std::nullopt;
  }
  const std::optional<LedgerClientRecord> client = readClient(session, files);
  if (!client) {
    return std::nullopt;
  }
  if (!prompter.yes(fmt::format("Selected Ledgers Client is {} {}.  Are you sure you have "
                                "selected the correct client number?",
                                trim(client->name), trim(client->secondNameLine)))) {
    return std::nullopt;
  }
  // Everything the ledgers files must be for the transfer is checked before
  // anything is written to either side.
  const std::optional<LedgerBook> book = readBook(session, files);
  if (!book) {
    return std::nullopt;
  }

  return transfer(session, request, files, *client, *book, progress);
}

}  // namespace

std::optional<TransferCounts> transferToLedgers(Session& session, const TransferRequest& request,
                                                const TransferProgress& progress) {
  try {
    return checkAndTransfer(session, request, progress);
  } catch (const std::exception& error) {
    // A file that cannot be read or written, a balance past the range of
    // Currency: the transaction has put every file back.
    session.prompter().message(fmt::format("{}  Nothing was transferred.", error.what()),
                               Icon::Critical);
    return std::nullopt;
  }
}

}  // namespace lum
