#include "tests/support/crash_points.h"

#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

#include "platform/errors.h"
#include "platform/scope_guard.h"
#include "tests/support/test_support.h"

namespace lum::test {
namespace {

constexpr std::uint64_t kMostOperations = 5000;

}  // namespace

TreeFiles treeFiles(const std::filesystem::path& root, const std::set<std::string>& ignored) {
  TreeFiles files;
  if (!std::filesystem::is_directory(root)) {
    return files;
  }
  for (auto it = std::filesystem::recursive_directory_iterator(root);
       it != std::filesystem::recursive_directory_iterator(); ++it) {
    const std::string name = it->path().filename().string();
    if (it->is_directory() && name == "Rollback") {
      it.disable_recursion_pending();
      continue;
    }
    if (it->is_regular_file() && ignored.count(name) == 0) {
      files[it->path().lexically_relative(root).string()] = readBytes(it->path());
    } else if (it->is_directory()) {
      files[it->path().lexically_relative(root).string() + "/"] = {};
    }
  }
  return files;
}

TreeFiles treesFiles(const std::vector<std::filesystem::path>& roots) {
  TreeFiles files;
  for (std::size_t i = 0; i < roots.size(); ++i) {
    for (auto& [name, bytes] : treeFiles(roots[i], {"LumPost.lck"})) {
      files[std::to_string(i) + ":" + name] = std::move(bytes);
    }
  }
  return files;
}

CutOutcome stopAtEveryOperation(FileOps& ops, const CutWriter& writer) {
  ops.setSyncs(false);
  const ScopeGuard syncAgain([&ops] { ops.setSyncs(true); });
  CutOutcome outcome;
  writer.reset();
  outcome.before = writer.files();
  writer.write();
  outcome.after = writer.files();
  for (std::uint64_t operation = 1; operation < kMostOperations; ++operation) {
    writer.reset();
    const pid_t child = ::fork();
    if (child < 0) {
      throw std::runtime_error("fork failed");
    }
    if (child == 0) {
      ops.resetCounts();
      ops.injectFault(FileOp::Any, operation, Failure::Stop);
      try {
        writer.write();
      } catch (...) {
        std::_Exit(1);
      }
      std::_Exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) == 1) {
      throw std::runtime_error("the writer failed without being stopped at operation " +
                               std::to_string(operation));
    }
    if (WEXITSTATUS(status) == 0) {
      if (writer.files() != outcome.after) {
        outcome.torn.push_back(operation);
      }
      return outcome;
    }
    ++outcome.cuts;
    writer.recover();
    const TreeFiles found = writer.files();
    if (found != outcome.before && found != outcome.after) {
      outcome.torn.push_back(operation);
    }
  }
  throw std::runtime_error("the writer never completed");
}

CutOutcome failAtEveryOperation(FileOps& ops, Failure failure, const CutWriter& writer) {
  ops.setSyncs(false);
  const ScopeGuard syncAgain([&ops] { ops.setSyncs(true); });
  CutOutcome outcome;
  writer.reset();
  outcome.before = writer.files();
  writer.write();
  outcome.after = writer.files();
  for (std::uint64_t operation = 1; operation < kMostOperations; ++operation) {
    writer.reset();
    ops.resetCounts();
    ops.injectFault(FileOp::Any, operation, failure);
    bool completed = true;
    try {
      writer.write();
    } catch (const FileError&) {
      completed = false;
    }
    ops.clearFaults();
    if (!completed) {
      writer.recover();  // nothing to do unless a marker was left
    }
    const TreeFiles found = writer.files();
    if (completed) {
      if (found != outcome.after) {
        outcome.torn.push_back(operation);
      }
      return outcome;
    }
    ++outcome.cuts;
    if (found != outcome.before) {
      outcome.torn.push_back(operation);
    }
  }
  throw std::runtime_error("the writer never completed");
}

}  // namespace lum::test
