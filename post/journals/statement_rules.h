#pragma once

// The entity's rules for bank statement lines: the first rule that
// matches a line says which analysis column of the journal takes its
// amount, its GST letter and its particulars. Kept one a line in a text
// file of the work area:
//
//   # text | amount | sign | account | GST | particulars
//   CALTEX | | - | Fuel | Y | Fuel
//   RENT | 1000..3000 | - | Rent | N |
//
// text is found in the line's description whatever its case; amount is
// the size of the line's amount, one figure or a range (100..200, ..200,
// 100..), blank for any; sign is "+" for money in, "-" for money out,
// blank for either; account is the analysis column's name or "#n";
// particulars blank keeps the description. Blank lines and lines starting
// with "#" are comments.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/currency.h"
#include "post/journals/bank_statement.h"

namespace lum {

struct StatementRule {
  int line = 0;  // in the rules file
  std::string text;
  std::optional<Currency> from;  // the amount's size, at least
  std::optional<Currency> to;    // and at most
  int sign = 0;                  // 1 money in, -1 money out, 0 either
  std::string account;
  std::string gst;  // "Y", "N" or blank
  std::string particulars;
  std::string upperText;  // text in capitals, as it is compared

  // upperDescription: the line's description in capitals (firstMatch makes
  // it once for all the rules).
  bool matches(const StatementLine& statement, std::string_view upperDescription) const;
};

// The rules of a file, or the first line that is not a rule (and no rule).
struct StatementRules {
  std::vector<StatementRule> rules;
  std::string problem;  // "line 4: the sign is + or - or blank, not \"x\""
  int problemLine = 0;  // the line of the problem, counted from 1
};
StatementRules parseStatementRules(std::string_view text);

// The six fields of each rule line as written, right or wrong (a line of
// more keeps the rest in its last), for the rules to be edited; comments
// and blank lines are left out.
std::vector<std::vector<std::string>> statementRuleFields(std::string_view text);
// Rule lines from their fields, a line for each (all blank: a blank line),
// to be checked by parseStatementRules: its line numbers are the rows'.
std::string statementRuleLines(const std::vector<std::vector<std::string>>& rows);

// The rules as their file holds them, under a heading comment.
std::string statementRulesText(const std::vector<StatementRule>& rules);

// The first rule matching the line; none when none does.
const StatementRule* firstMatch(const std::vector<StatementRule>& rules, const StatementLine& line);

}  // namespace lum
