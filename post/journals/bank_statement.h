#pragma once

// A bank statement as the banks export it, read into lines of date,
// description and amount: CSV with the columns a mapping names (each bank
// lays its file out its own way).

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/currency.h"
#include "platform/date.h"

namespace lum {

// One transaction of a statement: money in is positive, money out negative.
struct StatementLine {
  int line = 0;  // where it stands in the file, for messages
  Date date = *Date::fromYmd(2000, 1, 1);
  std::string description;
  std::string reference;  // the bank's own (OFX), else empty
  Currency amount;
};

// Which columns of a bank's CSV hold what, counted from 1; 0 for none.
// Either one signed amount column, or a debit (money out) and a credit
// (money in) column.
struct StatementMapping {
  int date = 0;
  int description = 0;
  int amount = 0;
  int debit = 0;
  int credit = 0;
  int balance = 0;  // read only to be checked as an amount

  bool operator==(const StatementMapping&) const = default;
};

// The lines read, or what is wrong with the file (nothing is read then).
struct StatementRead {
  std::vector<StatementLine> lines;
  std::string problem;  // "line 7: 2026-08-03 is not a date as dd/mm/yyyy, as the lines before"
};

// The file's text as UTF-8: a UTF-8 byte-order mark is dropped, and a file
// that is not UTF-8 is read as Windows-1252 (as older bank exports are).
std::string statementText(std::string_view bytes);

// An amount as banks write it: "$1,234.56", "-12.00", "(12.00)", "12.00 CR"
// (money in), "12.00 DR" or "12.00-" (money out). Nothing when it is none.
std::optional<Currency> statementAmount(std::string_view text);

// The mapping a CSV's first lines suggest: by the heading's names (Date,
// Description or Narrative or Details, Amount, Debit or Withdrawal, Credit
// or Deposit, Balance), else by what the first line holds (its first
// date, the amount after it, the longest text). Nothing when no date and
// amount are found.
std::optional<StatementMapping> guessMapping(std::string_view text);

// Whether a statement's text is OFX or QFX (its header or first tag).
bool isOfxStatement(std::string_view text);

// Reads an OFX or QFX statement (through libofx): each transaction's date
// posted, its payee's name (else its memo), its cheque number as the
// reference when it fits, and its amount. A file that does not end with
// its closing </OFX> tag is cut short: nothing is read then.
StatementRead readOfxStatement(const std::filesystem::path& file);

// Reads a CSV statement. A first line without a date in the date column is
// its heading. Every date must be in the form of the first (dd/mm/yyyy,
// d/m/yy or yyyy-mm-dd); a line whose date or amount cannot be read is the
// problem, and no line is read.
StatementRead readCsvStatement(std::string_view text, const StatementMapping& mapping);

}  // namespace lum
