#include "post/journals/bank_statement.h"

#include <fmt/core.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <initializer_list>
#include <span>

#include "panel/money.h"
#include "platform/cp1252.h"
#include "platform/csv.h"
#include "platform/text.h"

namespace lum {
namespace {

bool validUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto byte = static_cast<unsigned char>(text[i]);
    const std::size_t length = byte < 0x80           ? 1
                               : (byte >> 5) == 0x6  ? 2
                               : (byte >> 4) == 0xE  ? 3
                               : (byte >> 3) == 0x1E ? 4
                                                     : 0;
    if (length == 0 || i + length > text.size()) {
      return false;
    }
    for (std::size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
        return false;
      }
    }
    i += length;
  }
  return true;
}

std::string lower(std::string_view text) {
  std::string result(text);
  std::transform(result.begin(), result.end(), result.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return result;
}

// The forms of date a statement's lines may take; one for the whole file.
enum class DateForm { DayFirst, YearFirst };

struct ReadDate {
  Date date;
  DateForm form;
};

// "03/08/2026", "3/8/26", "03-08-2026", "2026-08-03".
std::optional<ReadDate> statementDate(std::string_view text) {
  text = trim(text);
  std::vector<int> parts;
  std::vector<std::size_t> widths;
  std::size_t at = 0;
  while (at <= text.size()) {
    std::size_t end = at;
    while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end])) != 0) {
      ++end;
    }
    if (end == at || end - at > 4) {
      return std::nullopt;
    }
    parts.push_back(std::stoi(std::string(text.substr(at, end - at))));
    widths.push_back(end - at);
    if (end == text.size()) {
      break;
    }
    if (text[end] != '/' && text[end] != '-' && text[end] != '.') {
      return std::nullopt;
    }
    at = end + 1;
  }
  if (parts.size() != 3) {
    return std::nullopt;
  }
  if (widths[0] == 4) {
    const auto date = Date::fromYmd(parts[0], parts[1], parts[2]);
    return date ? std::optional<ReadDate>({*date, DateForm::YearFirst}) : std::nullopt;
  }
  int year = parts[2];
  if (widths[2] == 2) {
    year += year < 50 ? 2000 : 1900;
  } else if (widths[2] != 4) {
    return std::nullopt;
  }
  const auto date = Date::fromYmd(year, parts[1], parts[0]);
  return date ? std::optional<ReadDate>({*date, DateForm::DayFirst}) : std::nullopt;
}

const char* formName(DateForm form) {
  return form == DateForm::YearFirst ? "yyyy-mm-dd" : "dd/mm/yyyy";
}

std::string_view field(const CsvRecord& record, int column) {
  return column >= 1 && static_cast<std::size_t>(column) <= record.fields.size()
             ? trim(record.fields[static_cast<std::size_t>(column - 1)])
             : std::string_view();
}

// A column whose heading holds one of the words, from 1; 0 for none.
int headed(const CsvRecord& heading, std::initializer_list<const char*> words) {
  for (std::size_t c = 0; c < heading.fields.size(); ++c) {
    const std::string name = lower(trim(heading.fields[c]));
    for (const char* word : words) {
      if (name.find(word) != std::string::npos) {
        return static_cast<int>(c) + 1;
      }
    }
  }
  return 0;
}

}  // namespace

std::string statementText(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
    bytes.remove_prefix(3);
  }
  if (validUtf8(bytes)) {
    return std::string(bytes);
  }
  return cp1252ToUtf8(std::span(reinterpret_cast<const std::byte*>(bytes.data()), bytes.size()));
}

bool isOfxStatement(std::string_view text) {
  const std::string_view start = trimLeft(text.substr(0, 512));
  return start.starts_with("OFXHEADER") || start.starts_with("<?xml") || start.starts_with("<OFX>");
}

std::optional<Currency> statementAmount(std::string_view text) {
  std::string cleaned(trim(text));
  bool negative = false;
  const std::string tail = lower(cleaned.size() >= 2 ? cleaned.substr(cleaned.size() - 2) : "");
  if (tail == "cr" || tail == "dr") {
    negative = tail == "dr";
    cleaned = std::string(trim(cleaned.substr(0, cleaned.size() - 2)));
  } else if (!cleaned.empty() && cleaned.back() == '-') {
    negative = true;
    cleaned.pop_back();
  }
  if (cleaned.size() >= 2 && cleaned.front() == '(' && cleaned.back() == ')') {
    negative = !negative;
    cleaned = cleaned.substr(1, cleaned.size() - 2);
  }
  std::erase(cleaned, '$');
  std::erase(cleaned, ' ');
  if (cleaned.empty() || cleaned.find_first_of("0123456789") == std::string::npos) {
    return std::nullopt;
  }
  const auto amount = parseMoney(cleaned);
  if (!amount) {
    return std::nullopt;
  }
  return negative ? -*amount : *amount;
}

std::optional<StatementMapping> guessMapping(std::string_view text) {
  const std::vector<CsvRecord> records = parseCsv(text);
  if (records.empty()) {
    return std::nullopt;
  }
  const CsvRecord& first = records[0];
  StatementMapping mapping;
  const bool hasHeading = std::none_of(first.fields.begin(), first.fields.end(),
                                       [](const std::string& f) { return statementDate(f); });
  if (hasHeading) {
    mapping.date = headed(first, {"date"});
    mapping.description = headed(
        first, {"description", "narrative", "details", "particulars", "memo", "transaction"});
    mapping.debit = headed(first, {"debit", "withdrawal", "money out"});
    mapping.credit = headed(first, {"credit", "deposit", "money in"});
    mapping.amount = mapping.debit != 0 && mapping.credit != 0 ? 0 : headed(first, {"amount"});
    mapping.balance = headed(first, {"balance"});
  } else {
    std::size_t longest = 0;
    for (std::size_t c = 0; c < first.fields.size(); ++c) {
      const int column = static_cast<int>(c) + 1;
      const std::string_view value = trim(first.fields[c]);
      if (mapping.date == 0 && statementDate(value)) {
        mapping.date = column;
      } else if (mapping.date != 0 && mapping.amount == 0 && statementAmount(value)) {
        mapping.amount = column;
      } else if (mapping.amount != 0 && mapping.balance == 0 && statementAmount(value)) {
        mapping.balance = column;
      } else if (!statementAmount(value) && value.size() > longest) {
        longest = value.size();
        mapping.description = column;
      }
    }
  }
  if (mapping.date == 0 || (mapping.amount == 0 && (mapping.debit == 0 || mapping.credit == 0))) {
    return std::nullopt;
  }
  return mapping;
}

StatementRead readCsvStatement(std::string_view text, const StatementMapping& mapping) {
  StatementRead read;
  const auto refuse = [&](int line, const std::string& problem) {
    read.lines.clear();
    read.problem = fmt::format("line {}: {}", line, problem);
    return read;
  };
  const std::vector<CsvRecord> records = parseCsv(text);
  std::optional<DateForm> form;
  for (std::size_t n = 0; n < records.size(); ++n) {
    const CsvRecord& record = records[n];
    const std::string_view dateText = field(record, mapping.date);
    const auto date = statementDate(dateText);
    if (!date && n == 0) {
      continue;  // the heading
    }
    if (!date) {
      return refuse(record.line, fmt::format("\"{}\" is not a date", dateText));
    }
    if (form && date->form != *form) {
      return refuse(record.line, fmt::format("{} is not a date as {}, as the lines before",
                                             dateText, formName(*form)));
    }
    form = date->form;
    StatementLine line;
    line.line = record.line;
    line.date = date->date;
    line.description = std::string(field(record, mapping.description));
    if (mapping.amount != 0) {
      const std::string_view amountText = field(record, mapping.amount);
      const auto amount = statementAmount(amountText);
      if (!amount) {
        return refuse(record.line, fmt::format("\"{}\" is not an amount", amountText));
      }
      line.amount = *amount;
    } else {
      const std::string_view debitText = field(record, mapping.debit);
      const std::string_view creditText = field(record, mapping.credit);
      const auto debit = debitText.empty() ? std::optional(Currency()) : statementAmount(debitText);
      const auto credit =
          creditText.empty() ? std::optional(Currency()) : statementAmount(creditText);
      if (!debit || !credit) {
        return refuse(record.line,
                      fmt::format("\"{}\" is not an amount", !debit ? debitText : creditText));
      }
      // A debit column holds money out, whatever its sign.
      line.amount = credit->abs() - debit->abs();
    }
    if (mapping.balance != 0) {
      const std::string_view balanceText = field(record, mapping.balance);
      if (!balanceText.empty() && !statementAmount(balanceText)) {
        return refuse(record.line, fmt::format("the balance \"{}\" is not an amount", balanceText));
      }
    }
    read.lines.push_back(std::move(line));
  }
  if (read.lines.empty()) {
    read.problem = "it holds no transaction";
  }
  return read;
}

}  // namespace lum
