#include "post/journals/journal_editor.h"

#include <fmt/core.h>

#include <algorithm>
#include <cmath>

#include "panel/dates.h"
#include "panel/money.h"
#include "platform/text.h"
#include "post/journals/grid_keys.h"
#include "post/journals/journal_checks.h"

namespace lum {
namespace {

// Past this column the grid freezes the columns up to the amounts.
constexpr int kLastUnfrozenColumn = 9;

bool isWholeNumber(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

JournalEditor::JournalEditor(Journal& journal, EditorContext context)
    : mJournal(journal), mContext(std::move(context)) {}

void JournalEditor::open() {
  enterCell(std::min(mJournal.rowsInUse + 1, Journal::kMaxRows), 0);
}

int JournalEditor::openingTopRow() const {
  return mJournal.rowsInUse >= 10 ? mJournal.rowsInUse : 1;
}

std::string JournalEditor::cellText(int row, int column) const {
  return row == mRow && column == mColumn ? mText : storedText(row, column);
}

std::string JournalEditor::storedText(int row, int column) const {
  const TransactionRecord& record = mJournal.row(row);
  switch (column) {
    case kDateColumn:
      return record.date;
    case kParticularsColumn:
      return record.particulars;
    case kRefColumn:
      return record.reference;
    case kGstColumn:
      return record.gst;
    default: {
      const Currency amount = mJournal.am(row, column);
      return amount.isZero() ? std::string() : formatMoney(amount);
    }
  }
}

void JournalEditor::enterCell(int row, int column) {
  mRow = std::clamp(row, 1, Journal::kMaxRows);
  mColumn = std::clamp(column, 0, Journal::kMaxColumn);
  mText = storedText(mRow, mColumn);
  mRemembered = mText;
  mEdit = CellEdit::Untouched;
  mFixedColumns = mColumn <= kLastUnfrozenColumn ? 0 : mJournal.lastFixedColumn() + 1;
  mLeftColumn = std::max(mLeftColumn, mFixedColumns);
}

void JournalEditor::scrolledTo(int leftColumn) {
  mLeftColumn = std::clamp(leftColumn, mFixedColumns, Journal::kMaxColumn);
}

std::array<int, JournalEditor::kTotalsBoxes> JournalEditor::totalsColumns() const {
  std::array<int, kTotalsBoxes> columns{};
  int next = std::max(mJournal.amountColumn(), mLeftColumn);
  std::size_t box = 0;
  if (mFixedColumns > 0) {
    for (int c = mJournal.amountColumn(); c <= mJournal.lastFixedColumn(); ++c) {
      columns[box++] = c;
    }
  }
  for (; box < columns.size(); ++box, ++next) {
    columns[box] = next <= Journal::kMaxColumn ? next : kNoColumn;
  }
  return columns;
}

void JournalEditor::leaveCell() {
  if (mEdit == CellEdit::Typed) {
    mEdit = CellEdit::Committing;
    commit();
  }
}

void JournalEditor::editBoxChanged(std::string text) {
  mText = std::move(text);
  mEdit = CellEdit::Typed;
}

void JournalEditor::putBack() {
  mText = mRemembered;
}

void JournalEditor::type(std::string_view characters, bool replaceUnlessEditing) {
  if (replaceUnlessEditing && mEdit != CellEdit::Typed) {
    mText.clear();
  }
  mEdit = CellEdit::Typed;
  if (mColumn == kGstColumn) {
    mText = characters;
  } else {
    mText += characters;
  }
}

void JournalEditor::keyDown(int keyCode, bool shift) {
  if (const auto typed = typedKey(keyCode, shift)) {
    type(typed->text, typed->replacesUntyped);
    return;
  }
  if (keyCode >= kF2 && keyCode <= kF5) {
    if (mContext.functionKey) {
      mContext.functionKey(keyCode);
    }
    return;
  }
  switch (keyCode) {
    case kEscape:
      putBack();
      break;
    case kDelete:
      mText.clear();
      mEdit = CellEdit::Typed;
      break;
    case kBackspace:
      if (!mText.empty()) {
        mEdit = CellEdit::Typed;
        mText.pop_back();
      }
      break;
    case kEnter:
      enter();
      break;
    default:
      break;
  }
}

void JournalEditor::enter() {
  if (trim(mText).empty() && mRow > 1) {
    fillDefault();
  }
  // The counts take in the cell Enter was pressed on (not the one moved to,
  // which would count an empty column as in use).
  raiseCounts();
  if (!trim(mText).empty()) {
    if (mEdit == CellEdit::Typed || trim(mText) != trim(mRemembered)) {
      mEdit = CellEdit::Committing;
      commit();
    }
    moveOn();
  }
}

void JournalEditor::fillDefault() {
  const TransactionRecord& above = mJournal.row(mRow - 1);
  switch (mColumn) {
    case kDateColumn: {
      const std::string date = normaliseDate(trim(above.date), *mContext.clock);
      if (!date.empty()) {
        mText = date;
        mJournal.row(mRow).date = date;
        if (mRow % kAutosaveRows == 0 && mJournal.pendingColumnChanges.empty() &&
            mContext.autosave) {
          mContext.autosave();
        }
      }
      break;
    }
    case kParticularsColumn:
      mText = above.particulars;
      break;
    case kRefColumn: {
      const std::string reference(trim(above.reference));
      const long number = isWholeNumber(reference) ? std::stol(reference) : 0;
      mText = std::to_string(number + 1);
      break;
    }
    case kGstColumn:
      mText = above.gst;
      break;
    default: {
      const Currency balance = mJournal.am(mRow, 0);
      if (!balance.isZero()) {
        // The figure that brings the row into balance.
        const bool amountColumn = mColumn == mJournal.amountColumn();
        mText = formatMoney(amountColumn ? balance : -balance);
        mEdit = CellEdit::Typed;
      }
      break;
    }
  }
}

void JournalEditor::moveOn() {
  if (mColumn < Journal::kMaxColumn) {
    enterCell(mRow, mColumn + 1);
    // Keeps the cursor over the last totals box while frozen columns show.
    const int lastBoxOffset =
        kTotalsBoxes - (mJournal.lastFixedColumn() - mJournal.amountColumn() + 1);
    if (mFixedColumns > 0 && mColumn - mLeftColumn == lastBoxOffset) {
      ++mLeftColumn;
    }
  }
}

void JournalEditor::raiseCounts() {
  mJournal.rowsInUse = std::max(mJournal.rowsInUse, mRow);
  mJournal.lastColumnInUse = std::max(mJournal.lastColumnInUse, mColumn);
}

void JournalEditor::commit() {
  if (mColumn <= kGstColumn) {
    if (commitText() && mRow % kAutosaveRows == 0 && mJournal.pendingColumnChanges.empty() &&
        mContext.autosave) {
      mContext.autosave();
    }
  } else {
    commitAmount(parseMoney(mText).value_or(Currency()));
  }
  mEdit = CellEdit::Untouched;
}

bool JournalEditor::dateInPeriod(const Date& date) const {
  const char letter = mContext.periodLetter;
  if (letter == 'M' || letter == 'O') {
    return true;  // the full year
  }
  const int month = letter - 'A' + 1;
  return mContext.quarterly ? date.month() >= month - 2 && date.month() <= month
                            : date.month() == month;
}

bool JournalEditor::commitText() {
  TransactionRecord& record = mJournal.row(mRow);
  switch (mColumn) {
    case kDateColumn: {
      std::string entry(trim(mText));
      const std::optional<Date> above =
          mRow > 1 ? parseDate(mJournal.row(mRow - 1).date, *mContext.clock) : std::nullopt;
      if (entry.size() <= 2 && isWholeNumber(entry) && std::stoi(entry) > 0 && above) {
        entry = fmt::format("{}/{}/{:02}", entry, above->month(), above->year() % 100);
      }
      const auto date = parseDate(entry, *mContext.clock);
      if (!date) {
        putBack();
        return false;
      }
      if (!dateInPeriod(*date)) {
        mContext.prompter->message(
            "Date entered is not within the GST Period selected.  Either correct the date or "
            "change the GST Period");
        putBack();
        return false;
      }
      mText = formatDate(*date);
      record.date = mText;
      return true;
    }
    case kParticularsColumn:
      record.particulars = leftCharacters(mText, 46);
      return true;
    case kRefColumn:
      record.reference = leftCharacters(mText, 5);
      return true;
    default: {
      const std::string gst = toUpper(trim(mText));
      if (!gst.empty() && gst != "Y" && gst != "N") {
        mContext.prompter->message("Incorrect Entry - expected Y or N");
        putBack();
        return false;
      }
      mText = gst;
      record.gst = gst;
      return true;
    }
  }
}

void JournalEditor::commitAmount(Currency value) {
  Journal& j = mJournal;
  const int r = mRow;
  const int c = mColumn;
  const bool balanceColumn = j.hasRunningBalance() && c == j.balanceColumn();
  const bool modeThree = j.hasRunningBalance();
  const auto sign = [&](Currency amount) { return c == j.amountColumn() ? -amount : amount; };
  const std::string type =
      j.isAnalysisColumn(c) ? toUpper(trim(j.column(c).accountType)) : std::string();
  const auto takeOut = [&](Currency amount) {
    if (type == "S") {
      j.budget.actualSales =
          modeThree ? j.budget.actualSales + amount : j.budget.actualSales - amount;
    } else if (type == "C") {
      j.budget.actualCostOfSales -= amount;
    }
  };

  if (!balanceColumn) {
    takeOut(j.am(r, c));
    j.am(0, c) -= j.am(r, c);
    j.am(r, 0) -= sign(j.am(r, c));
  }
  j.am(r, c) = value;
  if (!balanceColumn) {
    raiseCounts();
    j.am(0, c) += value;
    j.am(r, 0) += sign(value);
    takeOut(-value);
  }
  mText = value.isZero() ? std::string() : formatMoney(value);
  if (modeThree) {
    runningBalances(j, r);
  }
}

namespace {

void copyRow(Journal& journal, int from, int to) {
  journal.row(to) = journal.row(from);
  for (int c = 0; c <= Journal::kMaxColumn; ++c) {
    journal.am(to, c) = journal.am(from, c);
  }
}

void clearRow(Journal& journal, int row) {
  journal.row(row) = TransactionRecord{};
  for (int c = 0; c <= Journal::kMaxColumn; ++c) {
    journal.am(row, c) = Currency();
  }
}

}  // namespace

void JournalEditor::insertRow() {
  Journal& j = mJournal;
  if (j.rowsInUse >= Journal::kMaxRows) {
    j.rowsInUse = Journal::kMaxRows - 1;  // the last row falls off
  }
  for (int r = j.rowsInUse; r >= mRow; --r) {
    copyRow(j, r, r + 1);
  }
  clearRow(j, mRow);
  ++j.rowsInUse;
  enterCell(mRow, mColumn);
}

void JournalEditor::deleteRow() {
  Journal& j = mJournal;
  Prompter& prompter = *mContext.prompter;
  if (!prompter.confirm("Selected Row will be deleted.  Are you sure? ")) {
    return;
  }
  const std::string reference(trim(j.row(mRow).reference));
  if (reference.size() > 1 && (reference[0] == 'i' || reference[0] == 'I') &&
      isWholeNumber(reference.substr(1))) {
    const long invoice = std::stol(reference.substr(1));
    if (invoice > 0 &&
        prompter.confirm(fmt::format("Do you want to clear Invoice number {} as well?", invoice)) &&
        mContext.clearInvoice) {
      mContext.clearInvoice(static_cast<int>(invoice));
    }
  }
  const int last = std::max(j.rowsInUse, mRow);
  for (int r = mRow; r < last; ++r) {
    copyRow(j, r + 1, r);
  }
  clearRow(j, last);
  j.rowsInUse = std::max(0, j.rowsInUse - 1);
  recheckJournal(j, prompter, true);
  enterCell(mRow, mColumn);
}

}  // namespace lum

namespace lum {
namespace {

constexpr std::size_t kMaxPendingColumnChanges = 100;

void resetColumn(AnalysisColumn& column) {
  column = AnalysisColumn{};
}

}  // namespace

void JournalEditor::insertColumn() {
  Journal& j = mJournal;
  const int c = mColumn;
  if (c <= j.lastFixedColumn() || j.lastColumnInUse >= Journal::kMaxColumn ||
      j.pendingColumnChanges.size() >= kMaxPendingColumnChanges) {
    return;
  }
  for (int r = 0; r <= j.rowsInUse; ++r) {
    for (int k = Journal::kMaxColumn; k > c; --k) {
      j.am(r, k) = j.am(r, k - 1);
    }
    j.am(r, c) = Currency();
  }
  for (int k = Journal::kMaxColumn; k > c; --k) {
    j.column(k) = j.column(k - 1);
  }
  resetColumn(j.column(c));
  ++j.lastColumnInUse;
  recheckJournal(j, *mContext.prompter, true);
  j.pendingColumnChanges.push_back(c);
  enterCell(mRow, c);
}

void JournalEditor::deleteColumn() {
  Journal& j = mJournal;
  const int c = mColumn;
  if (!mContext.prompter->confirm("Selected Column will be deleted.  Are you sure? ")) {
    return;
  }
  if (c <= j.lastFixedColumn() || j.pendingColumnChanges.size() >= kMaxPendingColumnChanges) {
    return;
  }
  for (int r = 0; r <= j.rowsInUse; ++r) {
    for (int k = c; k < Journal::kMaxColumn; ++k) {
      j.am(r, k) = j.am(r, k + 1);
    }
    j.am(r, Journal::kMaxColumn) = Currency();
  }
  for (int k = c; k < Journal::kMaxColumn; ++k) {
    j.column(k) = j.column(k + 1);
  }
  resetColumn(j.column(Journal::kMaxColumn));
  if (c <= j.lastColumnInUse) {
    --j.lastColumnInUse;
  }
  recheckJournal(j, *mContext.prompter, true);
  j.pendingColumnChanges.push_back(-c);
  enterCell(mRow, c);
}

void JournalEditor::clearJournal() {
  for (int r = 0; r <= Journal::kMaxRows; ++r) {
    mJournal.row(r) = TransactionRecord{};
    for (int c = 0; c <= Journal::kMaxColumn; ++c) {
      mJournal.am(r, c) = Currency();
    }
  }
  mJournal.rowsInUse = 0;
  mJournal.lastColumnInUse = 0;
  enterCell(1, 0);
}

bool JournalEditor::deleteJournal() {
  if (!mContext.prompter->confirm(
          "The contents of the journal will be completely cleared.  Are you sure?",
          Icon::Exclamation, "Warning")) {
    return false;
  }
  clearJournal();
  return true;
}

bool JournalEditor::mayStartInvoice() {
  if (!parseDate(trim(mJournal.row(mRow).date), *mContext.clock)) {
    mContext.prompter->message(
        "To start an invoice you must enter a valid date into the date column of the journal");
    return false;
  }
  const std::string reference(trim(mColumn == kRefColumn ? mText : mJournal.row(mRow).reference));
  if (!reference.empty() &&
      (reference.size() < 2 || (reference[0] != 'i' && reference[0] != 'I'))) {
    mContext.prompter->message(
        "The ref column of the journal represents invoice number.  You must either have a valid "
        "invoice number starting with letter 'i' or the the column must be left blank");
    return false;
  }
  return true;
}

}  // namespace lum
