#include "post/journals/statement_import.h"

#include <fmt/core.h>

#include <algorithm>
#include <span>
#include <unordered_map>

#include "panel/money.h"
#include "platform/text.h"
#include "platform/work_area_transaction.h"
#include "post/journals/journal_editor.h"
#include "post/login/file_registry.h"
#include "post/login/session.h"

namespace lum {
namespace {

constexpr std::size_t kParticularsWidth = 46;
constexpr std::size_t kReferenceWidth = 5;

std::string gridDate(const Date& date) {
  return fmt::format("{:02}/{:02}/{:02}", date.day(), date.month(), date.year() % 100);
}

// Cut to what the field holds, at a character's start.
std::string cut(std::string text, std::size_t width) {
  std::size_t characters = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && characters++ == width) {
      text.resize(i);
      break;
    }
  }
  return text;
}

// The journal's rows by date, to find a statement line among them without
// going through every row for every line.
class HeldRows {
 public:
  explicit HeldRows(const Journal& journal) : mJournal(journal) {
    for (int r = 1; r <= journal.rowsInUse; ++r) {
      mByDate.emplace(std::string(trim(journal.row(r).date)), r);
    }
  }
  bool holds(const StatementRow& row) const {
    const auto [first, last] = mByDate.equal_range(row.date);
    return std::any_of(first, last, [&](const auto& held) {
      const int r = held.second;
      return mJournal.am(r, row.amountColumn) == row.amount &&
             equalsIgnoreCase(trim(mJournal.row(r).particulars), trim(row.particulars));
    });
  }

 private:
  const Journal& mJournal;
  std::unordered_multimap<std::string, int> mByDate;
};

std::filesystem::path areaFile(Session& session, std::string_view pattern) {
  return session.paths().resolve(expandPattern(pattern, session.naming()));
}

}  // namespace

std::filesystem::path statementRulesFile(Session& session) {
  return areaFile(session, "{D}\\Rules-{E}.dat");
}

std::filesystem::path statementMappingsFile(Session& session) {
  return areaFile(session, "{D}\\Banks-{E}.dat");
}

std::string statementFileText(FileOps& ops, const std::filesystem::path& file) {
  if (!ops.exists(file)) {
    return "";
  }
  const auto bytes = ops.readFile(file);
  return statementText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void saveStatementFile(Session& session, const std::filesystem::path& file, std::string_view text) {
  WorkAreaTransaction transaction(session.ops(), session.rollbackFolder());
  session.ops().writeFile(file, std::as_bytes(std::span(text.data(), text.size())));
  transaction.commit();
}

StatementPlan planStatement(const Journal& journal, bool income,
                            const std::vector<StatementLine>& lines,
                            const std::vector<StatementRule>& rules) {
  StatementPlan plan;
  // The entity's rules serve all its journals: one naming an account this
  // journal has not is another journal's.
  std::vector<StatementRule> usable;
  std::vector<const StatementRule*> original;
  for (const StatementRule& rule : rules) {
    if (analysisColumnNamed(journal, rule.account) < 0) {
      plan.passedOver.push_back(&rule);
    } else {
      usable.push_back(rule);
      original.push_back(&rule);
    }
  }
  const int firstAmount = JournalEditor::kGstColumn + 1;
  const HeldRows held(journal);
  for (std::size_t n = 0; n < lines.size(); ++n) {
    StatementRow row;
    row.line = lines[n];
    if (const StatementRule* rule = firstMatch(usable, row.line)) {
      row.rule = original[static_cast<std::size_t>(rule - usable.data())];
    }
    row.date = gridDate(row.line.date);
    row.particulars =
        cut(row.rule != nullptr && !row.rule->particulars.empty() ? row.rule->particulars
                                                                  : row.line.description,
            kParticularsWidth);
    row.reference = row.line.reference.size() <= kReferenceWidth && !row.line.reference.empty()
                        ? row.line.reference
                        : fmt::format("B{}", n + 1);
    row.gst = row.rule != nullptr ? row.rule->gst : "";
    // The journal's amount and the analysis amount, signed as the grid takes them.
    Currency analysed;
    if (journal.hasRunningBalance()) {
      const bool moneyIn = row.line.amount > Currency();
      row.amountColumn = moneyIn ? firstAmount + 1 : firstAmount;  // Receipts, Payments
      row.amount = row.line.amount.abs();
      analysed = -row.line.amount;  // income is a credit
    } else {
      row.amountColumn = firstAmount;
      row.amount = income ? row.line.amount : -row.line.amount;
      analysed = row.amount;
    }
    row.typed.line = row.line.line;
    row.typed.cells = {{JournalEditor::kDateColumn, row.date},
                       {JournalEditor::kDateColumn + 1, row.particulars},
                       {JournalEditor::kDateColumn + 2, row.reference},
                       {JournalEditor::kGstColumn, row.gst},
                       {row.amountColumn, formatMoney(row.amount)}};
    if (row.rule != nullptr) {
      row.analysisColumn = analysisColumnNamed(journal, row.rule->account);
      row.typed.cells.emplace_back(row.analysisColumn, formatMoney(analysed));
    }
    row.duplicate = held.holds(row);
    plan.rows.push_back(std::move(row));
  }
  return plan;
}

std::string passedOverNote(const StatementRule& rule) {
  return fmt::format("rule {}: the journal has no account \"{}\": passed over", rule.line,
                     rule.account);
}

std::vector<TypedRow> rowsToType(const StatementPlan& plan, bool duplicates) {
  std::vector<TypedRow> rows;
  for (const StatementRow& row : plan.rows) {
    if (duplicates || !row.duplicate) {
      rows.push_back(row.typed);
    }
  }
  return rows;
}

}  // namespace lum
