#include "tests/support/crash_points.h"

#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

#include "platform/errors.h"
#include "platform/scope_guard.h"
#include "platform/work_area_transaction.h"
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

CutWriter workAreaWriter(FileOps& ops, const std::filesystem::path& area,
                         std::function<void()> write) {
  std::map<std::string, std::vector<std::byte>> before;
  for (const auto& entry : std::filesystem::directory_iterator(area)) {
    const std::string name = entry.path().filename().string();
    if (entry.is_regular_file() && name != "LumPost.lck") {
      before[name] = readBytes(entry.path());
    }
  }
  return {[area, before] {
            std::filesystem::remove_all(area / "Rollback");
            for (const auto& entry : std::filesystem::directory_iterator(area)) {
              const std::string name = entry.path().filename().string();
              if (entry.is_regular_file() && name != "LumPost.lck" && before.count(name) == 0) {
                std::filesystem::remove(entry.path());
              }
            }
            for (const auto& [name, bytes] : before) {
              writeBytes(area / name, bytes);
            }
          },
          std::move(write), [&ops, area] { WorkAreaTransaction::recover(ops, area / "Rollback"); },
          [area] { return treeFiles(area, {"LumPost.lck"}); }};
}

namespace {

// Runs the writer whole, then cut by `cutAt` at its first, second, ...
// file operation until a run completes (cutAt says it did). Once
// recovered, a cut run must leave the files as before or, where
// `afterToo`, as a whole run left them.
CutOutcome cutAtEveryOperation(FileOps& ops, const CutWriter& writer, bool afterToo,
                               const std::function<bool(std::uint64_t)>& cutAt) {
  ops.setSyncs(false);
  const ScopeGuard syncAgain([&ops] { ops.setSyncs(true); });
  CutOutcome outcome;
  writer.reset();
  outcome.before = writer.files();
  writer.write();
  outcome.after = writer.files();
  for (std::uint64_t operation = 1; operation < kMostOperations; ++operation) {
    writer.reset();
    if (cutAt(operation)) {
      if (writer.files() != outcome.after) {
        outcome.torn.push_back(operation);
      }
      return outcome;
    }
    ++outcome.cuts;
    writer.recover();
    const TreeFiles found = writer.files();
    if (found != outcome.before && !(afterToo && found == outcome.after)) {
      outcome.torn.push_back(operation);
    }
  }
  throw std::runtime_error("the writer never completed");
}

}  // namespace

CutOutcome stopAtEveryOperation(FileOps& ops, const CutWriter& writer) {
  return cutAtEveryOperation(ops, writer, true, [&](std::uint64_t operation) {
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
    return WEXITSTATUS(status) == 0;
  });
}

CutOutcome failAtEveryOperation(FileOps& ops, Failure failure, const CutWriter& writer) {
  return cutAtEveryOperation(ops, writer, false, [&](std::uint64_t operation) {
    ops.resetCounts();
    ops.injectFault(FileOp::Any, operation, failure);
    const ScopeGuard clear([&ops] { ops.clearFaults(); });
    try {
      writer.write();
    } catch (const FileError&) {
      return false;
    }
    return true;
  });
}

}  // namespace lum::test
