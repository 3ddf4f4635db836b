#include "platform/text.h"

#include <algorithm>
#include <cstdlib>

namespace lum {
namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\0';
}

char upper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

std::string_view trimRight(std::string_view text) {
  while (!text.empty() && isBlank(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

std::string_view trimLeft(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) {
    text.remove_prefix(1);
  }
  return text;
}

std::string_view trim(std::string_view text) {
  return trimLeft(trimRight(text));
}

std::string leftCharacters(std::string_view utf8, std::size_t count) {
  std::size_t end = 0;
  for (std::size_t characters = 0; end < utf8.size() && characters < count; ++characters) {
    ++end;
    while (end < utf8.size() && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) {
      ++end;  // continuation bytes belong to the character before
    }
  }
  return std::string(utf8.substr(0, end));
}

std::size_t characterCount(std::string_view utf8) {
  return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

std::string toUpper(std::string_view text) {
  std::string result(text);
  std::transform(result.begin(), result.end(), result.begin(), upper);
  return result;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return upper(x) == upper(y); });
}

bool wildcardMatch(std::string_view pattern, std::string_view name) {
  if (pattern == "*.*") {
    return true;
  }
  // Iterative matcher with one backtrack point for the last "*".
  std::size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || upper(pattern[p]) == upper(name[n]))) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') {
    ++p;
  }
  return p == pattern.size();
}

std::vector<std::string_view> splitTrimmed(std::string_view text, char separator) {
  std::vector<std::string_view> pieces;
  for (std::size_t from = 0;;) {
    const std::size_t at = text.find(separator, from);
    std::string_view piece = text.substr(from, at == std::string_view::npos ? at : at - from);
    // Lines of a file written on Windows end in a carriage return.
    while (!piece.empty() && (piece.back() == '\r' || piece.back() == '\t')) {
      piece.remove_suffix(1);
    }
    while (!piece.empty() && piece.front() == '\t') {
      piece.remove_prefix(1);
    }
    pieces.push_back(trim(piece));
    if (at == std::string_view::npos) {
      return pieces;
    }
    from = at + 1;
  }
}

double leadingNumber(std::string_view text) {
  text = trimLeft(text);
  std::string number;
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    number += text[i++];
  }
  bool point = false;
  for (; i < text.size(); ++i) {
    if (isDigit(text[i])) {
      number += text[i];
    } else if (text[i] == '.' && !point) {
      point = true;
      number += '.';
    } else {
      break;
    }
  }
  return std::strtod(number.c_str(), nullptr);
}

char upperLetter(std::string_view field) {
  const std::string_view letter = trim(field);
  return letter.empty() ? ' ' : upper(letter[0]);
}

}  // namespace lum
