#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lum {

// Blanks here are spaces and the NUL bytes of never-written records.
std::string_view trimRight(std::string_view text);
std::string_view trimLeft(std::string_view text);
std::string_view trim(std::string_view text);

// The first count characters of a UTF-8 text (never half a character).
std::string leftCharacters(std::string_view utf8, std::size_t count);
// The characters of a UTF-8 text (its bytes that start a character).
std::size_t characterCount(std::string_view utf8);

// ASCII upper case; other characters are left alone.
std::string toUpper(std::string_view text);
bool equalsIgnoreCase(std::string_view a, std::string_view b);

// DOS wildcard match, case-insensitive: "*" any run, "?" any one character;
// "*.*" matches every name, with or without a dot.
bool wildcardMatch(std::string_view pattern, std::string_view name);

// The numeric value of the leading number of a text, as the old programs
// read set-up values: blanks skipped, an optional sign, digits and at most
// one decimal point; anything after stops the number; no number gives 0.
double leadingNumber(std::string_view text);

// The pieces of a text between separators, each trimmed of blanks, tabs
// and a line's carriage return: "a | b |" gives "a", "b" and "". Views into
// the text.
std::vector<std::string_view> splitTrimmed(std::string_view text, char separator);

// The upper-cased first character of a one-letter field, ' ' when blank:
// type letters, GST letters.
char upperLetter(std::string_view field);

}  // namespace lum
