#include "post/journals/journal_checks.h"

#include <algorithm>
#include <array>
#include <string>

#include "platform/text.h"

namespace lum {
namespace {

bool holdsText(const TransactionRecord& row) {
  return !trim(row.date).empty() || !trim(row.particulars).empty() ||
         !trim(row.reference).empty() || !trim(row.gst).empty();
}

}  // namespace

CheckOutcome transactionCheck(Journal& journal, Prompter& prompter) {
  CheckOutcome outcome;
  bool quiet = false;
  for (int r = 1; r <= journal.rowsInUse; ++r) {
    TransactionRecord& row = journal.row(r);
    std::string message;
    bool inError = false;
    if (!journal.am(r, 0).isZero()) {
      inError = true;
      message += " Columns do not add up";
    }
    const std::array<std::pair<std::string*, const char*>, 4> texts = {{
        {&row.date, " Date is missing"},
        {&row.particulars, " Particulars are missing"},
        {&row.reference, " Reference is missing"},
        {&row.gst, " Gst indicator is missing"},
    }};
    int missing = 0;
    for (const auto& [text, complaint] : texts) {
      *text = std::string(trim(*text));
      if (text->empty()) {
        ++missing;
        message += complaint;
      }
    }
    if (missing >= 1 && missing <= 3) {
      inError = true;
    } else if (missing == 4) {
      for (int c = journal.lastFixedColumn() + 1; c <= Journal::kMaxColumn; ++c) {
        inError = inError || !journal.am(r, c).isZero();
      }
    }
    if (!inError || quiet) {
      continue;
    }
    outcome.askedRows.push_back(r);
    const Answer answer = prompter.ask(
        Prompt{"Transaction is not correct: " + message + "\rDo you want to correct it?",
               Buttons::YesNoCancel,
               Icon::Question,
               "Transaction Check",
               {}});
    if (answer == Answer::Yes) {
      outcome.passed = false;
      outcome.faultyRow = r;
      return outcome;
    }
    quiet = answer == Answer::Cancel;
  }
  return outcome;
}

void runningBalances(Journal& journal, int fromRow) {
  if (!journal.hasRunningBalance()) {
    return;
  }
  const int p = journal.amountColumn();
  const int receipts = journal.receiptsColumn();
  const int b = journal.balanceColumn();
  for (int r = std::max(fromRow, 1); r <= journal.rowsInUse; ++r) {
    if (r > 1) {
      journal.am(r, b) = journal.am(r - 1, b) + journal.am(r, receipts) - journal.am(r, p);
    } else if (!journal.am(1, p).isZero() || !journal.am(1, receipts).isZero()) {
      journal.am(1, b) = journal.am(1, receipts) - journal.am(1, p);
    }
  }
}

bool recheckJournal(Journal& journal, Prompter& prompter, bool quick,
                    const std::function<void(int, int)>& progress) {
  int lastRow = Journal::kMaxRows;
  int lastColumn = Journal::kMaxColumn;
  if (quick) {
    lastRow = journal.rowsInUse;
    lastColumn = journal.lastColumnInUse;
  } else if (!prompter.yes(
                 "This procedure will re check the opened journal.  This will take a long time.  "
                 "Do you want to proceed?")) {
    return false;
  }
  const int first = journal.amountColumn();
  const bool modeThree = journal.hasRunningBalance();

  journal.rowsInUse = 0;
  journal.lastColumnInUse = 0;
  for (int c = 0; c <= lastColumn; ++c) {
    journal.am(0, c) = Currency();
  }
  for (int r = 0; r <= lastRow; ++r) {
    journal.am(r, 0) = Currency();
  }

  for (int c = first; c <= lastColumn; ++c) {
    if (progress) {
      progress(c, lastColumn);
    }
    // The running balance is no movement: it is never added into a total.
    const bool total = !(modeThree && c == journal.balanceColumn());
    for (int r = 1; r <= lastRow; ++r) {
      const Currency v = journal.am(r, c);
      if (total) {
        journal.am(0, c) += v;
      }
      if (!v.isZero()) {
        journal.rowsInUse = std::max(journal.rowsInUse, r);
        journal.lastColumnInUse = std::max(journal.lastColumnInUse, c);
      }
    }
  }
  // A row typed without its figures yet is still in use, or the save would drop it.
  for (int r = lastRow; r > journal.rowsInUse; --r) {
    if (holdsText(journal.row(r))) {
      journal.rowsInUse = r;
      break;
    }
  }
  for (int r = 1; r <= journal.rowsInUse; ++r) {
    if (progress) {
      progress(r, journal.rowsInUse);
    }
    for (int c = first; c <= lastColumn; ++c) {
      if (modeThree && c == journal.balanceColumn()) {
        continue;
      }
      journal.am(r, 0) += c == first ? -journal.am(r, c) : journal.am(r, c);
    }
  }
  runningBalances(journal, 1);
  return true;
}

}  // namespace lum
