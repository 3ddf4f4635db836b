#include "tools/lumctl/batch_script.h"

#include <fmt/core.h>

#include <optional>

namespace lum {
namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

// The words of one line, or the fault that makes it unreadable.
std::optional<std::string> splitLine(std::string_view line, std::vector<std::string>& words) {
  std::string word;
  bool inWord = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '\0') {
      return "a NUL byte";
    }
    if (isBlank(c)) {
      if (inWord) {
        words.push_back(std::move(word));
        word.clear();
        inWord = false;
      }
      continue;
    }
    if (c == '#' && !inWord) {
      break;
    }
    inWord = true;
    if (c == '\\') {
      if (++i == line.size()) {
        return "a backslash ends the line (a line does not go on to the next)";
      }
      word += line[i];
    } else if (c == '\'' || c == '"') {
      const std::size_t opened = i;
      for (++i; i < line.size() && line[i] != c; ++i) {
        if (line[i] == '\0') {
          return "a NUL byte";
        }
        if (c == '"' && line[i] == '\\' && i + 1 < line.size() &&
            (line[i + 1] == '"' || line[i + 1] == '\\')) {
          ++i;
        }
        word += line[i];
      }
      if (i == line.size()) {
        return fmt::format("the quote {} opened at column {} is not closed", c, opened + 1);
      }
    } else {
      word += c;
    }
  }
  if (inWord) {
    words.push_back(std::move(word));
  }
  return std::nullopt;
}

}  // namespace

BatchScript parseBatchScript(std::string_view text) {
  BatchScript script;
  int number = 0;
  while (!text.empty()) {
    ++number;
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    BatchLine parsed{number, std::string(line), {}};
    if (const auto fault = splitLine(line, parsed.words)) {
      script.faults.push_back(fmt::format("line {}: {}", number, *fault));
      continue;
    }
    if (parsed.words.empty()) {
      continue;
    }
    const std::string& command = parsed.words.front();
    if (command == "batch") {
      script.faults.push_back(fmt::format("line {}: a batch cannot run another batch", number));
    } else if (command.starts_with("-")) {
      script.faults.push_back(
          fmt::format("line {}: a line starts with its command, not {} (the global options go "
                      "before batch, for every line)",
                      number, command));
    } else {
      script.lines.push_back(std::move(parsed));
    }
  }
  return script;
}

}  // namespace lum
