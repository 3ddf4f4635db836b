#include "post/journals/journal_files.h"

#include <algorithm>
#include <map>

#include "platform/errors.h"
#include "platform/record_blocks.h"
#include "platform/work_area_transaction.h"
#include "post/login/journal_records.h"

namespace lum {
namespace {

using FileContents = std::vector<std::pair<std::filesystem::path, std::vector<std::byte>>>;

// Record n (from 1) of a file's bytes, zeros past the end.
template <class Record>
Record recordAt(const std::vector<std::byte>& bytes, int n) {
  const std::size_t offset = static_cast<std::size_t>(n - 1) * Record::kSize;
  if (offset + Record::kSize > bytes.size()) {
    if (offset < bytes.size()) {
      std::vector<std::byte> padded(Record::kSize);
      std::copy(bytes.begin() + static_cast<std::ptrdiff_t>(offset), bytes.end(), padded.begin());
      return Record::decode(padded);
    }
    return Record{};
  }
  return Record::decode(std::span(bytes).subspan(offset, Record::kSize));
}

template <class Record>
void putRecord(std::vector<std::byte>& bytes, int n, const Record& record) {
  const std::size_t offset = static_cast<std::size_t>(n - 1) * Record::kSize;
  if (bytes.size() < offset + Record::kSize) {
    bytes.resize(offset + Record::kSize);
  }
  const auto encoded = record.encode();
  std::copy(encoded.begin(), encoded.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
}

// The counts kept in amounts record 1, whole numbers in Currency form,
// cut to what the model holds.

Currency countValue(int count) {
  return Currency::fromRaw(std::int64_t{count} * Currency::kScale);
}

constexpr char kSnapshots[][2][12] = {{"An", "AnTemp"},     {"Ax", "AxTemp"},
                                      {"GrdRecs", "DTemp"}, {"GrdAms", "ATemp"},
                                      {"GstPers", "GTemp"}, {"Butce", "Bdg-Temp"}};

}  // namespace

JournalFiles::JournalFiles(Session& session, int journalNumber)
    : mSession(&session),
      mJournalNumber(journalNumber),
      mPeriodLetter(session.login.periodLetter),
      mQuarterly(session.login.setup.periodKind == "Q") {}

std::filesystem::path JournalFiles::path(const char* logicalName, char periodLetter) const {
  FileNaming naming = mSession->naming();
  naming.journalNumber = mJournalNumber;
  naming.periodLetter = periodLetter;
  return mSession->registry().path(*findRegistryEntry(logicalName), naming);
}

std::filesystem::path JournalFiles::path(const char* logicalName) const {
  return path(logicalName, mPeriodLetter);
}

std::vector<std::byte> JournalFiles::read(const std::filesystem::path& file) const {
  FileOps& ops = mSession->ops();
  return ops.exists(file) ? ops.readFile(file) : std::vector<std::byte>{};
}

std::vector<char> JournalFiles::periodLetters() const {
  if (mQuarterly) {
    return {'C', 'F', 'I', 'L', 'O'};
  }
  return {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 'K', 'L', 'M'};
}

FileOps& JournalFiles::ops() const {
  return mSession->ops();
}

int JournalFiles::budgetIndex() const {
  return budgetIndexOf(mPeriodLetter, mQuarterly);
}

int JournalFiles::budgetIndexOf(char periodLetter, bool quarterly) {
  const int position =
      quarterly ? std::max(0, (periodLetter - 'C') / 3) : std::max(0, periodLetter - 'A');
  const int m = position + 1;
  if (quarterly) {
    const int q = m >= 3 ? m - 2 : m + 2;
    return std::clamp(3 * q, 1, 12);
  }
  return m >= 7 ? m - 6 : m + 6;
}

Journal JournalFiles::load() const {
  FileOps& ops = mSession->ops();
  Journal journal(mSession->login.setup.postingMode);
  const auto amountsFile = path("GrdAms");
  forEachRecord<AmountsRecord>(ops, amountsFile, 1, [&](int, const AmountsRecord& header) {
    journal.rowsInUse = header.rowsInUse();
    journal.lastColumnInUse = header.lastColumnInUse();
  });
  forEachRecord<TransactionRecord>(
      ops, path("GrdRecs"), journal.rowsInUse,
      [&](int r, TransactionRecord record) { journal.row(r) = std::move(record); });
  forEachRecord<AmountsRecord>(ops, amountsFile, journal.rowsInUse,
                               [&](int r, const AmountsRecord& record) {
                                 for (int c = 1; c <= journal.lastColumnInUse; ++c) {
                                   journal.am(r, c) = record.amounts[static_cast<std::size_t>(c)];
                                 }
                               });
  // Record 1 keeps the counts where the text columns of row 1 would be.
  for (int c = 1; c <= 3 && journal.rowsInUse >= 1; ++c) {
    journal.am(1, c) = Currency();
  }

  const auto columns = analysisColumns(journal.analysisColumns());
  const auto totals = read(path("GstPers"));
  for (int k = 1; k <= journal.analysisColumns(); ++k) {
    journal.column(journal.lastFixedColumn() + k) = columns[static_cast<std::size_t>(k)];
    journal.am(0, journal.lastFixedColumn() + k) = recordAt<ColumnTotalRecord>(totals, k).total;
  }
  journal.computeRowBalances();
  // The amount columns' totals are kept nowhere: they follow from the rows.
  for (int c = journal.amountColumn(); c <= journal.lastFixedColumn(); ++c) {
    if (journal.hasRunningBalance() && c == journal.balanceColumn()) {
      continue;
    }
    for (int r = 1; r <= journal.rowsInUse; ++r) {
      journal.am(0, c) += journal.am(r, c);
    }
  }

  const auto budget = recordAt<BudgetRecord>(read(path("Butce")), 1);
  const auto month = static_cast<std::size_t>(budgetIndex());
  journal.budget = {budget.budgetedSales[month], budget.budgetedCostOfSales[month],
                    budget.actualSales[month], budget.actualCostOfSales[month]};
  return journal;
}

std::vector<AnalysisColumn> JournalFiles::analysisColumns(int count) const {
  FileOps& ops = mSession->ops();
  std::vector<AnalysisColumn> columns(static_cast<std::size_t>(std::max(count, 0)) + 1);
  forEachRecord<AnalysisAccountRecord>(
      ops, path("An"), count, [&](int k, const AnalysisAccountRecord& account) {
        AnalysisColumn& column = columns[static_cast<std::size_t>(k)];
        column.name = account.name;
        column.accountType = account.accountType;
        column.gstCode = account.gstCode;
        column.ledgersAccount = account.ledgersAccount;
        column.reserved = account.reserved;
      });
  forEachRecord<AnalysisExtraRecord>(
      ops, path("Ax"), count, [&](int k, const AnalysisExtraRecord& extra) {
        AnalysisColumn& column = columns[static_cast<std::size_t>(k)];
        column.basClassification = extra.basClassification;
        column.exemptRatio = extra.exemptRatio;
      });
  return columns;
}

void JournalFiles::carryColumnChange(int change, const Journal& journal, char period,
                                     FileContents& out) const {
  const auto findOrRead = [&](const std::filesystem::path& file) -> std::vector<std::byte>& {
    for (auto& [path, bytes] : out) {
      if (path == file) {
        return bytes;
      }
    }
    out.emplace_back(file, read(file));
    return out.back().second;
  };
  const int column = std::abs(change);
  const bool inserted = change > 0;

  const auto amountsFile = path("GrdAms", period);
  if (mSession->ops().exists(amountsFile)) {
    auto& amounts = findOrRead(amountsFile);
    const auto header = recordAt<AmountsRecord>(amounts, 1);
    const int rows = header.rowsInUse();
    int last = header.lastColumnInUse();
    if (last == Journal::kMaxColumn) {
      --last;
    }
    if (column <= last) {
      for (int r = 1; r <= std::max(rows, 1); ++r) {
        auto record = recordAt<AmountsRecord>(amounts, r);
        auto& a = record.amounts;
        if (inserted) {
          for (int c = last + 1; c > column; --c) {
            a[static_cast<std::size_t>(c)] = a[static_cast<std::size_t>(c - 1)];
          }
          a[static_cast<std::size_t>(column)] = Currency();
        } else {
          for (int c = column; c < last; ++c) {
            a[static_cast<std::size_t>(c)] = a[static_cast<std::size_t>(c + 1)];
          }
          a[static_cast<std::size_t>(last)] = Currency();
        }
        if (r == 1) {
          a[2] = countValue(inserted ? last + 1 : last - 1);
        }
        putRecord(amounts, r, record);
      }
    }
  }

  const auto totalsFile = path("GstPers", period);
  if (mSession->ops().exists(totalsFile)) {
    auto& totals = findOrRead(totalsFile);
    const int k = column - journal.lastFixedColumn();
    const int count = journal.analysisColumns();
    if (k >= 1) {
      if (inserted) {
        for (int j = count; j > k; --j) {
          putRecord(totals, j, recordAt<ColumnTotalRecord>(totals, j - 1));
        }
        putRecord(totals, k, ColumnTotalRecord{});
      } else {
        for (int j = k; j < count; ++j) {
          putRecord(totals, j, recordAt<ColumnTotalRecord>(totals, j + 1));
        }
        putRecord(totals, count, ColumnTotalRecord{});
      }
    }
  }
}

void JournalFiles::save(Journal& journal) {
  // Figures gathered for a report before this save are out of date.
  mSession->login.reportTotalsComputed = false;
  FileContents files;
  const auto add = [&](const std::filesystem::path& file, std::vector<std::byte> bytes) {
    files.emplace_back(file, std::move(bytes));
  };

  auto budgetBytes = read(path("Butce"));
  auto budget = recordAt<BudgetRecord>(budgetBytes, 1);
  const auto month = static_cast<std::size_t>(budgetIndex());
  budget.budgetedSales[month] = journal.budget.budgetedSales;
  budget.budgetedCostOfSales[month] = journal.budget.budgetedCostOfSales;
  budget.actualSales[month] = journal.budget.actualSales;
  budget.actualCostOfSales[month] = journal.budget.actualCostOfSales;
  putRecord(budgetBytes, 1, budget);
  add(path("Butce"), std::move(budgetBytes));

  auto lines = read(path("GrdRecs"));
  auto amounts = read(path("GrdAms"));
  for (int r = 1; r <= journal.rowsInUse; ++r) {
    putRecord(lines, r, journal.row(r));
    auto record = recordAt<AmountsRecord>(amounts, r);  // element 0 is kept as it was
    for (int c = 1; c <= Journal::kMaxColumn; ++c) {
      record.amounts[static_cast<std::size_t>(c)] = journal.am(r, c);
    }
    putRecord(amounts, r, record);
  }
  auto header = recordAt<AmountsRecord>(amounts, 1);
  header.amounts[1] = countValue(journal.rowsInUse);
  header.amounts[2] = countValue(journal.lastColumnInUse);
  putRecord(amounts, 1, header);
  add(path("GrdRecs"), std::move(lines));
  add(path("GrdAms"), std::move(amounts));

  FileContents others;
  for (const int change : journal.pendingColumnChanges) {
    for (const char period : periodLetters()) {
      if (period != mPeriodLetter) {
        carryColumnChange(change, journal, period, others);
      }
    }
  }
  for (auto& other : others) {
    files.push_back(std::move(other));
  }

  auto accounts = read(path("An"));
  auto extras = read(path("Ax"));
  auto totals = read(path("GstPers"));
  for (int k = 1; k <= journal.analysisColumns(); ++k) {
    const AnalysisColumn& column = journal.column(journal.lastFixedColumn() + k);
    putRecord(accounts, k,
              AnalysisAccountRecord{column.name, column.gstCode, column.accountType,
                                    column.reserved, column.ledgersAccount});
    putRecord(extras, k, AnalysisExtraRecord{column.basClassification, column.exemptRatio});
    putRecord(totals, k, ColumnTotalRecord{journal.am(0, journal.lastFixedColumn() + k)});
  }
  add(path("An"), std::move(accounts));
  add(path("Ax"), std::move(extras));
  add(path("GstPers"), std::move(totals));

  std::vector<std::filesystem::path> paths;
  for (const auto& [file, bytes] : files) {
    paths.push_back(file);
  }
  FileOps& ops = mSession->ops();
  WorkAreaTransaction transaction(ops, mSession->rollbackFolder());
  transaction.keep(paths);
  for (const auto& [file, bytes] : files) {
    FileHandle handle = ops.open(file, OpenMode::ReadWriteCreate);
    ops.writeAt(handle, 0, bytes);
    ops.close(handle);
  }
  transaction.commit();
  journal.pendingColumnChanges.clear();
}

// A file the journal does not have yet gets no copy: abandoning the
// editing then removes what an autosave made of it.
void JournalFiles::takeSnapshots() {
  FileOps& ops = mSession->ops();
  for (const auto& [name, copy] : kSnapshots) {
    const auto live = path(name);
    const auto snapshot = live.parent_path() / copy;
    if (ops.exists(live)) {
      ops.copy(live, snapshot);
    } else {
      ops.remove(snapshot);
    }
  }
}

void JournalFiles::restoreSnapshots() {
  FileOps& ops = mSession->ops();
  std::vector<std::filesystem::path> lives;
  for (const auto& [name, copy] : kSnapshots) {
    lives.push_back(path(name));
  }
  WorkAreaTransaction transaction(ops, mSession->rollbackFolder());
  transaction.keep(lives);
  for (std::size_t i = 0; i < lives.size(); ++i) {
    const auto snapshot = lives[i].parent_path() / kSnapshots[i][1];
    ops.remove(lives[i]);
    if (ops.exists(snapshot)) {
      ops.copy(snapshot, lives[i]);
    }
  }
  transaction.commit();
}

void JournalFiles::dropSnapshots() {
  for (const auto& [name, copy] : kSnapshots) {
    mSession->ops().remove(path(name).parent_path() / copy);
  }
}

}  // namespace lum
