#pragma once

// A bank statement's lines as the rows they become in a journal: the first
// matching rule fills the analysis column, its GST letter and particulars;
// a line the journal already holds (same date, amount and particulars) is
// marked and skipped unless asked for. The rows are then typed through the
// journal editor (journal_typing.h), whose checks refuse, among others, a
// date outside the journal's period.

#include <filesystem>
#include <string>
#include <vector>

#include "platform/file_ops.h"
#include "post/journals/bank_statement.h"
#include "post/journals/journal.h"
#include "post/journals/journal_typing.h"
#include "post/journals/statement_mappings.h"
#include "post/journals/statement_rules.h"

namespace lum {

class Session;

// The entity's statement rules ("Rules-0001.dat") and bank accounts'
// column mappings ("Banks-0001.dat"), text files of the work area named as
// its record files are, so that they are stored and brought back with them.
std::filesystem::path statementRulesFile(Session& session);
std::filesystem::path statementMappingsFile(Session& session);
// A statement or one of those files as UTF-8 text; "" when it is missing.
std::string statementFileText(FileOps& ops, const std::filesystem::path& file);
// Writes one of those files whole or, cut short, not at all. Throws
// FileError when it cannot.
void saveStatementFile(Session& session, const std::filesystem::path& file, std::string_view text);

struct StatementRow {
  StatementLine line;
  const StatementRule* rule = nullptr;  // none: unmatched, its analysis left to the user
  bool duplicate = false;               // the journal already holds it
  TypedRow typed;                       // the cells it is typed as
  // As the journal shows them.
  std::string date;  // "dd/mm/yy"
  std::string particulars;
  std::string reference;
  std::string gst;
  Currency amount;  // in the journal's amount column (Amount, Payments or Receipts)
  int amountColumn = 0;
  int analysisColumn = 0;  // the rule's account's grid column; 0 unmatched
};

struct StatementPlan {
  std::vector<StatementRow> rows;
  // Rules naming an account the journal has not (another journal's, or
  // misspelt): they fill no row here.
  std::vector<const StatementRule*> passedOver;
};

// income: the journal takes income entered positive (a takings or receipts
// book of a small cash business); a payments book enters payments
// positive; a journal with a running balance has Payments and Receipts.
StatementPlan planStatement(const Journal& journal, bool income,
                            const std::vector<StatementLine>& lines,
                            const std::vector<StatementRule>& rules);

// "rule 3: the journal has no account \"Rent\": passed over"
std::string passedOverNote(const StatementRule& rule);

// The rows to type: every row not a duplicate (all of them with
// duplicates true).
std::vector<TypedRow> rowsToType(const StatementPlan& plan, bool duplicates = false);

}  // namespace lum
