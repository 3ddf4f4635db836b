#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace lum {

// Starts another program of the suite (LumPost starts LumUtils) and returns
// at once, leaving it to run on its own.
class ProgramStarter {
 public:
  virtual ~ProgramStarter() = default;

  // Starts the program in the working directory with the command line (its
  // fields separated by single blanks). Nothing when it started; else why not.
  virtual std::optional<std::string> start(const std::filesystem::path& program,
                                           const std::string& commandLine,
                                           const std::filesystem::path& workingDirectory) = 0;
};

}  // namespace lum
