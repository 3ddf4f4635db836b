#pragma once

#include "platform/program_starter.h"

namespace lum {

// Starts the program as a process of its own, detached from this one.
class QtProgramStarter final : public ProgramStarter {
 public:
  std::optional<std::string> start(const std::filesystem::path& program,
                                   const std::string& commandLine,
                                   const std::filesystem::path& workingDirectory) override;
};

}  // namespace lum
