#include "post/backup/journal_housekeeping.h"

#include <fmt/core.h>

#include <string>
#include <vector>

#include "platform/record_file.h"
#include "platform/text.h"
#include "post/backup/housekeeping_change.h"
#include "post/backup/working_data.h"
#include "post/invoicing/invoice_book.h"
#include "post/invoicing/invoice_editor.h"
#include "post/login/journal_line_records.h"
#include "post/login/login_files.h"

namespace lum {

namespace {

constexpr char kFirstPeriod = 'A';
// The last period letter a journal file can have: L ends the year, M and
// O hold the full year of a monthly and a quarterly entity.
constexpr char kLastPeriod = 'O';
constexpr char kNoPeriod = 'N';
constexpr int kBudgetMonths = 12;

std::string entityCode(const Session& session) {
  return fmt::format("{:04}", session.login.entityNumber);
}

// The D, A and G files of one period of every journal of the entity.
std::vector<std::string> periodPatterns(const Session& session, char period) {
  std::vector<std::string> patterns;
  for (const char prefix : {'D', 'A', 'G'}) {
    patterns.push_back(fmt::format("{}{}??{}.dat", prefix, period, entityCode(session)));
  }
  return patterns;
}

void removeInScope(FileOps& ops, const std::filesystem::path& area,
                   const std::vector<std::string>& patterns) {
  for (const std::string& pattern : patterns) {
    for (const std::string& name : ops.list(area)) {
      if (wildcardMatch(pattern, name) && !ops.isDirectory(area / name)) {
        ops.remove(area / name);
      }
    }
  }
}

void zeroBudgetActuals(Session& session, const std::filesystem::path& file) {
  if (!session.ops().exists(file)) {
    return;
  }
  RecordFile budget(session.ops(), file, BudgetRecord::kSize);
  auto record = budget.get<BudgetRecord>(1);
  for (int month = 1; month <= kBudgetMonths; ++month) {
    record.actualSales[static_cast<std::size_t>(month)] = Currency();
    record.actualCostOfSales[static_cast<std::size_t>(month)] = Currency();
  }
  budget.put(1, record);
}

void clearSettledInvoices(Session& session) {
  openLoginFileSet(session.registry(), session.naming(), session.login);  // the counters
  InvoiceBook book(session);
  const int count = book.counter(EntityCounter::Invoices);
  for (int number = 1; number <= count && number <= kMaxRecordNumber; ++number) {
    const InvoiceRecord record = book.invoiceRecord(number);
    if (record.inUse != kInUse) {
      continue;  // a free record: nothing to settle, nothing to write
    }
    if (record.total - (record.amountPaid + record.writtenOff + record.discount) == Currency()) {
      clearInvoice(book, number, session.ops(), session.rollbackFolder());
    }
  }
}

}  // namespace

bool clearSelectedPeriod(Session& session) {
  if (!housekeepingAllowed(session)) {
    return false;
  }
  if (!session.prompter().confirm("All data for the current period will be cleared.  Are you sure?",
                                  Icon::Critical)) {
    return false;
  }
  const auto patterns = periodPatterns(session, session.login.periodLetter);
  const auto area = workAreaOf(session);
  return runHousekeeping(
      session, {"clear-period", patterns, [&] { removeInScope(session.ops(), area, patterns); }});
}

bool closeYear(Session& session) {
  if (!housekeepingAllowed(session)) {
    return false;
  }
  if (!session.prompter().confirm(
          "All data for the current year will be cleared. You should copy the current year to "
          "previous year first. Are you sure?",
          Icon::Critical)) {
    return false;
  }
  std::vector<std::string> periods;
  for (char period = kFirstPeriod; period <= kLastPeriod; ++period) {
    if (period == kNoPeriod) {
      continue;  // "AN??" would be the analysis files
    }
    for (std::string& pattern : periodPatterns(session, period)) {
      periods.push_back(std::move(pattern));
    }
  }
  const std::string code = entityCode(session);
  const std::string budget = "Bdg-" + code + ".dat";
  std::vector<std::string> scope = periods;
  for (const std::string& name : {budget, "Inv-" + code + ".dat", "InD-" + code + ".dat"}) {
    scope.push_back(name);
  }
  const auto area = workAreaOf(session);
  return runHousekeeping(
      session, {"close-year", scope, [&] {
                  removeInScope(session.ops(), area, periods);
                  zeroBudgetActuals(
                      session, session.paths().resolve(session.login.workArea + "\\" + budget));
                  clearSettledInvoices(session);
                  session.registry().closeAll();
                }});
}

bool eraseWorkingData(Session& session) {
  if (!housekeepingAllowed(session)) {
    return false;
  }
  if (!session.prompter().confirm(
          "All data in the working directory will be erased.  Are you sure?")) {
    return false;
  }
  const auto area = workAreaOf(session);
  return runHousekeeping(session, {"erase", {"*"}, [&] { clearWorkingData(session.ops(), area); }});
}

}  // namespace lum
