#include "panel/dates.h"

#include <fmt/core.h>

#include <array>
#include <vector>

#include "platform/text.h"

namespace lum {
namespace {

constexpr std::array<std::string_view, 12> kMonthNames = {
    "january", "february", "march",     "april",   "may",      "june",
    "july",    "august",   "september", "october", "november", "december"};

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}
bool isLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isSeparator(char c) {
  return c == '/' || c == '.' || c == '-' || c == ' ';
}

// A month name or its first three letters or more ("Feb", "Sept"); 0 when none.
int monthOfName(std::string_view word) {
  if (word.size() < 3) {
    return 0;
  }
  for (std::size_t m = 0; m < kMonthNames.size(); ++m) {
    if (word.size() <= kMonthNames[m].size() &&
        equalsIgnoreCase(word, kMonthNames[m].substr(0, word.size()))) {
      return static_cast<int>(m) + 1;
    }
  }
  return 0;
}

struct Field {
  std::string text;
  bool numeric = false;
};

// Fields separated by blanks and at most one "/", "." or "-" between two fields.
std::optional<std::vector<Field>> splitFields(std::string_view text) {
  std::vector<Field> fields;
  std::size_t i = 0;
  while (i < text.size()) {
    int marks = 0;
    while (i < text.size() && isSeparator(text[i])) {
      marks += text[i++] != ' ' ? 1 : 0;
    }
    if (marks > 1 || (marks == 1 && (fields.empty() || i == text.size()))) {
      return std::nullopt;
    }
    if (i == text.size()) {
      break;
    }
    Field field;
    field.numeric = isDigit(text[i]);
    while (i < text.size() && !isSeparator(text[i])) {
      if (field.numeric ? !isDigit(text[i]) : !isLetter(text[i])) {
        return std::nullopt;
      }
      field.text += text[i++];
    }
    if (field.numeric && field.text.size() > 4) {
      return std::nullopt;
    }
    fields.push_back(std::move(field));
  }
  return fields;
}

int numberOf(const Field& field) {
  return std::stoi(field.text);
}

int monthOf(const Field& field) {
  return field.numeric ? numberOf(field) : monthOfName(field.text);
}

int yearOf(const Field& field, int currentYear) {
  const int value = numberOf(field);
  return field.text.size() <= 2 ? expandTwoDigitYear(value, currentYear) : value;
}

}  // namespace

int expandTwoDigitYear(int twoDigitYear, int currentYear) {
  const int latest = currentYear + 20;
  int year = latest - (latest % 100) + twoDigitYear;
  if (year > latest) {
    year -= 100;
  }
  return year;
}

std::optional<Date> parseDate(std::string_view text, const Clock& clock) {
  const auto fields = splitFields(trim(text));
  if (!fields || fields->size() < 2 || fields->size() > 3) {
    return std::nullopt;
  }
  const auto& f = *fields;
  const int currentYear = clock.today().year();
  if (f.size() == 2) {
    if (!f[0].numeric) {
      return std::nullopt;
    }
    return Date::fromYmd(currentYear, monthOf(f[1]), numberOf(f[0]));
  }
  if (!f[2].numeric) {
    return std::nullopt;
  }
  if (f[0].numeric && f[0].text.size() >= 3) {
    return Date::fromYmd(numberOf(f[0]), monthOf(f[1]), numberOf(f[2]));
  }
  if (!f[0].numeric) {
    return std::nullopt;
  }
  return Date::fromYmd(yearOf(f[2], currentYear), monthOf(f[1]), numberOf(f[0]));
}

std::string formatDate(Date date) {
  return fmt::format("{:02}/{:02}/{:02}", date.day(), date.month(), date.year() % 100);
}

std::string normaliseDate(std::string_view text, const Clock& clock) {
  const auto date = parseDate(text, clock);
  return date ? formatDate(*date) : std::string();
}

}  // namespace lum
