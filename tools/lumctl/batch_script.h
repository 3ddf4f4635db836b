#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lum {

// The lines of a batch file, split into words as a shell splits them:
// - words are separated by spaces and tabs;
// - '...' keeps everything up to the next ' as it is;
// - "..." does the same, except that \" and \\ stand for " and \;
// - outside quotes, \ keeps the next character as it is;
// - a word starting with # starts a comment to the end of the line;
// - blank lines and comment lines are skipped; a line ends with its line
//   feed (a carriage return before it is dropped) and never goes on to the
//   next.
struct BatchLine {
  int number;  // from 1
  std::string text;
  std::vector<std::string> words;
};

// The lines to run, or the faults found (each "line N: ...") when there
// is any: a quote left open, a line ending in a backslash, a NUL byte, a
// line that does not start with a command (the global options go before
// batch), or a batch within the batch.
struct BatchScript {
  std::vector<BatchLine> lines;
  std::vector<std::string> faults;
};
BatchScript parseBatchScript(std::string_view text);

}  // namespace lum
