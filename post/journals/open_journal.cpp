#include "post/journals/open_journal.h"

#include <fmt/core.h>

#include "platform/record_file.h"
#include "platform/text.h"
#include "platform/work_area_transaction.h"
#include "post/journals/journal_checks.h"
#include "post/journals/journal_maintenance.h"
#include "post/login/gst_periods.h"
#include "post/login/journal_line_records.h"
#include "post/login/journal_records.h"
#include "post/login/window_dispatch.h"

namespace lum {

OpenJournal::OpenJournal(Session& session, std::function<void(int invoice)> clearInvoice,
                         int journal)
    : mSession(session),
      mJournalNumber(journal != 0 ? journal : session.currentLine(kJournalsList) + 1),
      mFiles(session, mJournalNumber) {
  mFiles.takeSnapshots();
  if (session.login.setup.periodKind == "Q") {
    gatherQuarterBudget();
  }
  mJournal = std::make_unique<Journal>(mFiles.load());
  EditorContext context;
  context.prompter = &session.prompter();
  context.clock = &session.clock();
  context.periodLetter = session.login.periodLetter;
  context.quarterly = session.login.setup.periodKind == "Q";
  context.autosave = [this] { mFiles.save(*mJournal); };
  context.clearInvoice = std::move(clearInvoice);
  context.functionKey = [this](int key) {
    static constexpr PanelKey kKeys[] = {PanelKey::F2, PanelKey::F3, PanelKey::F4, PanelKey::F5};
    functionKey(mSession, kKeys[key - JournalEditor::kF2]);
  };
  mEditor = std::make_unique<JournalEditor>(*mJournal, std::move(context));
  mEditor->open();
}

// A quarterly entity keeps its budget and actual figures in the last month
// of each quarter: the quarter's three months are gathered there.
void OpenJournal::gatherQuarterBudget() {
  FileOps& ops = mSession.ops();
  const auto path = mFiles.path("Butce");
  RecordFile file(ops, path, BudgetRecord::kSize);
  auto budget = file.get<BudgetRecord>(1);
  const auto last = static_cast<std::size_t>(mFiles.budgetIndex());
  if (last < 3) {
    return;
  }
  for (auto* months : {&budget.budgetedSales, &budget.budgetedCostOfSales, &budget.actualSales,
                       &budget.actualCostOfSales}) {
    auto& m = *months;
    m[last] = m[last - 2] + m[last - 1] + m[last];
    m[last - 2] = Currency();
    m[last - 1] = Currency();
  }
  file.put(1, budget);
  file.close();
}

void OpenJournal::saveAndKeepEditing() {
  mFiles.save(*mJournal);
  mFiles.takeSnapshots();
}

std::string OpenJournal::caption() const {
  const auto header = mSession.file("Jnl").get<JournalHeaderRecord>(mJournalNumber);
  const auto periods = gstPeriodEntries(mSession.login.setup.periodKind);
  const char letter = mSession.login.periodLetter;
  const int entry = mSession.login.setup.periodKind == "Q" ? (letter - 'C') / 3 : letter - 'A';
  const std::string period = entry >= 0 && entry < static_cast<int>(periods.size())
                                 ? periods[static_cast<std::size_t>(entry)]
                                 : "";
  return std::string(trim(header.name)) + " - " + period;
}

std::vector<std::string> OpenJournal::headings() const {
  std::vector<std::string> headings = {"Date", "Particulars", "Ref", "GST"};
  if (mJournal->hasRunningBalance()) {
    const auto header = mSession.file("Jnl").get<JournalHeaderRecord>(mJournalNumber);
    const bool invoices = toUpper(header.name).find("INVOICE") != std::string::npos;
    headings.push_back(invoices ? "Credits" : "Payments");
    headings.push_back(invoices ? "Charges" : "Receipts");
    headings.push_back("Balance");
  } else {
    headings.push_back("Amount");
  }
  for (int c = mJournal->lastFixedColumn() + 1; c <= Journal::kMaxColumn; ++c) {
    headings.push_back(mJournal->column(c).name);
  }
  return headings;
}

std::string JournalSaved::text() const {
  return fmt::format("Journal {}, {}, saved: {} row{}", journal, caption, rows,
                     rows == 1 ? "" : "s");
}

std::optional<JournalSaved> OpenJournal::checkAndSave() {
  mEditor->leaveCell();
  const CheckOutcome outcome = transactionCheck(*mJournal, mSession.prompter());
  if (!outcome.passed) {
    mEditor->enterCell(outcome.faultyRow, 0);
    return std::nullopt;
  }
  mFiles.save(*mJournal);
  return JournalSaved{mJournalNumber, caption(), mJournal->rowsInUse};
}

bool OpenJournal::abandon() {
  if (!mSession.prompter().confirm(
          "All transactions of the current session of the Journal will be abandoned.  Do you "
          "want to proceed?")) {
    return false;
  }
  mFiles.restoreSnapshots();
  return true;
}

bool OpenJournal::deleteJournal() {
  if (!mEditor->deleteJournal()) {
    return false;
  }
  mFiles.save(*mJournal);
  return true;
}

void OpenJournal::clearJournal() {
  mEditor->clearJournal();
  mFiles.save(*mJournal);
}

void OpenJournal::close() {
  mFiles.dropSnapshots();
}

bool OpenJournal::fixCounts() {
  mEditor->leaveCell();
  const JournalCounts current{mJournal->rowsInUse, mJournal->lastColumnInUse};
  const auto counts = askJournalCounts(mSession.prompter(), current);
  if (!counts || *counts == current) {
    return false;
  }
  // The journal as it stands, with the new counts, as one change.
  WorkAreaTransaction transaction(mSession.ops(), mSession.rollbackFolder());
  mFiles.save(*mJournal);
  storeCounts(mFiles, *counts);
  transaction.commit();
  reload();
  return true;
}

bool OpenJournal::deleteRowsBefore() {
  mEditor->leaveCell();
  if (!askAndDeleteRowsBefore(*mJournal, mSession.prompter(), mSession.clock())) {
    return false;
  }
  mEditor->open();
  return true;
}

bool OpenJournal::deleteRowsAfter() {
  mEditor->leaveCell();
  if (!askAndDeleteRowsAfter(*mJournal, mSession.prompter(), mSession.clock())) {
    return false;
  }
  mEditor->open();
  return true;
}

void OpenJournal::reload() {
  *mJournal = mFiles.load();
  mEditor->open();
}

}  // namespace lum
