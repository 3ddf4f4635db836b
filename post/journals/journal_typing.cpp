#include "post/journals/journal_typing.h"

#include <fmt/core.h>

#include <map>

#include "panel/money.h"
#include "platform/text.h"
#include "post/journals/journal_checks.h"
#include "post/login/session.h"

namespace lum {
namespace {

// Keeps what the editor and the check say; every question is answered No
// (go on, change nothing).
class RecordingPrompter final : public Prompter {
 public:
  Answer ask(const Prompt& prompt) override {
    mTexts.push_back(prompt.text);
    switch (prompt.buttons) {
      case Buttons::Ok:
        return Answer::Ok;
      case Buttons::YesNo:
      case Buttons::YesNoCancel:
        return Answer::No;
      default:
        return Answer::Cancel;
    }
  }
  std::optional<std::string> input(const InputPrompt& prompt) override {
    mTexts.push_back(prompt.prompt);
    return std::nullopt;
  }
  const std::vector<std::string>& texts() const { return mTexts; }

 private:
  std::vector<std::string> mTexts;
};

// The row after the last one in use, past any rows after it that already
// hold something: a cell committed at the grid before the counts caught up.
int firstFreeRow(const Journal& journal) {
  int row = journal.rowsInUse + 1;
  const auto holdsSomething = [&](int r) {
    const TransactionRecord& record = journal.row(r);
    if (!trim(record.date).empty() || !trim(record.particulars).empty() ||
        !trim(record.reference).empty() || !trim(record.gst).empty()) {
      return true;
    }
    for (int c = JournalEditor::kGstColumn + 1; c <= Journal::kMaxColumn; ++c) {
      const bool balance = journal.hasRunningBalance() && c == journal.balanceColumn();
      if (!balance && !journal.am(r, c).isZero()) {
        return true;
      }
    }
    return false;
  };
  while (row <= Journal::kMaxRows && holdsSomething(row)) {
    ++row;
  }
  return row;
}

}  // namespace

EditorContext typingContext(const Session& session) {
  EditorContext context;
  context.clock = &session.clock();
  context.periodLetter = session.login.periodLetter;
  context.quarterly = session.login.setup.periodKind == "Q";
  return context;
}

int analysisColumnNamed(const Journal& journal, std::string_view name) {
  const std::string_view wanted = trim(name);
  if (wanted.size() > 1 && wanted[0] == '#') {
    const double k = leadingNumber(wanted.substr(1));
    return k >= 1 && k <= journal.analysisColumns()
               ? journal.lastFixedColumn() + static_cast<int>(k)
               : -1;
  }
  for (int c = journal.lastFixedColumn() + 1; c <= Journal::kMaxColumn; ++c) {
    if (!wanted.empty() && equalsIgnoreCase(wanted, trim(journal.column(c).name))) {
      return c;
    }
  }
  return -1;
}

TypingOutcome typeRows(Journal& journal, EditorContext context, const std::vector<TypedRow>& rows,
                       bool checkAnyway) {
  RecordingPrompter prompter;
  context.prompter = &prompter;
  context.autosave = {};  // nothing is written before the check
  JournalEditor editor(journal, context);
  TypingOutcome outcome;
  std::map<int, int> lineOfRow;
  const int firstRow = firstFreeRow(journal);
  for (std::size_t n = 0; n < rows.size(); ++n) {
    const TypedRow& typed = rows[n];
    const int row = firstRow + static_cast<int>(n);
    if (row > Journal::kMaxRows) {
      outcome.typing.push_back(
          {typed.line, row, fmt::format("the journal is full ({} rows)", Journal::kMaxRows)});
      break;
    }
    lineOfRow[row] = typed.line;
    for (const auto& [column, cell] : typed.cells) {
      const std::string text(trim(cell));
      if (text.empty()) {
        continue;
      }
      if (column > JournalEditor::kGstColumn && !parseMoney(text)) {
        outcome.typing.push_back({typed.line, row, fmt::format("\"{}\" is not an amount", text)});
        continue;
      }
      const std::size_t said = prompter.texts().size();
      editor.enterCell(row, column);
      editor.editBoxChanged(text);
      editor.keyDown(JournalEditor::kEnter, false);
      if (prompter.texts().size() > said) {
        outcome.typing.push_back({typed.line, row, prompter.texts().back()});
      } else if (column == JournalEditor::kDateColumn && journal.row(row).date.empty()) {
        outcome.typing.push_back({typed.line, row, fmt::format("\"{}\" is not a date", text)});
      }
    }
  }
  if (!outcome.typing.empty() && !checkAnyway) {
    return outcome;
  }
  // The check asks about each faulty row; every answer is No, so all are found.
  const std::size_t said = prompter.texts().size();
  const CheckOutcome check = transactionCheck(journal, prompter);
  for (std::size_t i = 0; i < check.askedRows.size(); ++i) {
    const std::string& question = prompter.texts().at(said + i);
    const int row = check.askedRows[i];
    const auto line = lineOfRow.find(row);
    outcome.check.push_back(
        {line != lineOfRow.end() ? line->second : 0, row, question.substr(0, question.find('\r'))});
  }
  return outcome;
}

}  // namespace lum
