#include "post/journals/statement_rules.h"

#include <fmt/core.h>

#include <algorithm>
#include <cctype>

#include "panel/money.h"
#include "platform/text.h"

namespace lum {
namespace {

std::string upper(std::string_view text) {
  std::string result(text);
  std::transform(result.begin(), result.end(), result.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return result;
}

std::string amountText(Currency amount) {
  return formatMoney(amount);
}

}  // namespace

bool StatementRule::matches(const StatementLine& statement,
                            std::string_view upperDescription) const {
  if (!upperText.empty() && upperDescription.find(upperText) == std::string_view::npos) {
    return false;
  }
  if ((sign > 0 && statement.amount < Currency()) || (sign < 0 && statement.amount > Currency())) {
    return false;
  }
  const Currency size = statement.amount.abs();
  return (!from || size >= *from) && (!to || size <= *to);
}

StatementRules parseStatementRules(std::string_view text) {
  StatementRules result;
  int number = 0;
  for (const std::string_view line : splitTrimmed(text, '\n')) {
    ++number;
    if (line.empty() || line.front() == '#') {
      continue;
    }
    const auto refuse = [&](const std::string& problem) {
      result.rules.clear();
      result.problem = fmt::format("line {}: {}", number, problem);
      result.problemLine = number;
      return result;
    };
    const std::vector<std::string_view> fields = splitTrimmed(line, '|');
    if (fields.size() < 4 || fields.size() > 6) {
      return refuse("a rule is text | amount | sign | account | GST | particulars");
    }
    StatementRule rule;
    rule.line = number;
    rule.text = std::string(fields[0]);
    rule.upperText = upper(rule.text);
    const std::string_view range = fields[1];
    if (!range.empty()) {
      const std::size_t dots = range.find("..");
      const std::string_view low = trim(range.substr(0, dots));
      const std::string_view high =
          dots == std::string_view::npos ? low : trim(range.substr(dots + 2));
      if (!low.empty()) {
        rule.from = parseMoney(low);
      }
      if (!high.empty()) {
        rule.to = parseMoney(high);
      }
      if ((!low.empty() && !rule.from) || (!high.empty() && !rule.to) ||
          (low.empty() && high.empty())) {
        return refuse(
            fmt::format("the amount is a figure or a range such as 100..200, not \"{}\"", range));
      }
    }
    if (fields[2] == "+" || fields[2] == "-") {
      rule.sign = fields[2] == "+" ? 1 : -1;
    } else if (!fields[2].empty()) {
      return refuse(fmt::format("the sign is + or - or blank, not \"{}\"", fields[2]));
    }
    rule.account = std::string(fields[3]);
    if (rule.account.empty()) {
      return refuse("the rule names no account");
    }
    if (fields.size() > 4) {
      rule.gst = upper(fields[4]);
      if (rule.gst != "Y" && rule.gst != "N" && !rule.gst.empty()) {
        return refuse(fmt::format("the GST letter is Y or N or blank, not \"{}\"", fields[4]));
      }
    }
    if (fields.size() > 5) {
      rule.particulars = std::string(fields[5]);
    }
    result.rules.push_back(std::move(rule));
  }
  return result;
}

std::string statementRulesText(const std::vector<StatementRule>& rules) {
  std::string text = "# text | amount | sign | account | GST | particulars\n";
  for (const StatementRule& rule : rules) {
    std::string range;
    if (rule.from && rule.to && *rule.from == *rule.to) {
      range = amountText(*rule.from);
    } else if (rule.from || rule.to) {
      range =
          (rule.from ? amountText(*rule.from) : "") + ".." + (rule.to ? amountText(*rule.to) : "");
    }
    text += rule.text;
    for (const std::string& field : {range,
                                     std::string(rule.sign > 0   ? "+"
                                                 : rule.sign < 0 ? "-"
                                                                 : ""),
                                     rule.account, rule.gst, rule.particulars}) {
      text += field.empty() ? " |" : " | " + field;
    }
    text += '\n';
  }
  return text;
}

std::vector<std::vector<std::string>> statementRuleFields(std::string_view text) {
  constexpr std::size_t kFields = 6;
  std::vector<std::vector<std::string>> rows;
  for (const std::string_view line : splitTrimmed(text, '\n')) {
    if (line.empty() || line.front() == '#') {
      continue;
    }
    std::vector<std::string>& fields = rows.emplace_back();
    for (const std::string_view field : splitTrimmed(line, '|')) {
      if (fields.size() < kFields) {
        fields.emplace_back(field);
      } else {
        fields.back() += " | " + std::string(field);
      }
    }
  }
  return rows;
}

std::string statementRuleLines(const std::vector<std::vector<std::string>>& rows) {
  std::string text;
  for (const std::vector<std::string>& fields : rows) {
    if (std::any_of(fields.begin(), fields.end(),
                    [](const std::string& f) { return !f.empty(); })) {
      for (std::size_t f = 0; f < fields.size(); ++f) {
        text += (f == 0 ? "" : " | ") + fields[f];
      }
    }
    text += '\n';
  }
  return text;
}

const StatementRule* firstMatch(const std::vector<StatementRule>& rules,
                                const StatementLine& line) {
  const std::string description = upper(line.description);
  const auto found = std::find_if(rules.begin(), rules.end(), [&](const StatementRule& rule) {
    return rule.matches(line, description);
  });
  return found == rules.end() ? nullptr : &*found;
}

}  // namespace lum
