#include "utils/folder_replacement.h"

#include <fmt/core.h>

#include <stdexcept>

#include "platform/errors.h"

namespace lum {
namespace {

// The markers: the plan while files are changing, its draft while it is
// being written, and the plan once every new file is in place.
constexpr const char* kPlan = "~Replace.plan";
constexpr const char* kDraft = "~Replace.draft";
constexpr const char* kDone = "~Replace.done";

std::filesystem::path freshCopy(const std::filesystem::path& folder, const std::string& name) {
  return folder / ("~" + name + ".new");
}

std::filesystem::path oldCopy(const std::filesystem::path& folder, const std::string& name) {
  return folder / ("~" + name + ".old");
}

void flushFile(FileOps& ops, const std::filesystem::path& path) {
  FileHandle file = ops.open(path, OpenMode::ReadOnly);
  ops.flush(file);
  ops.close(file);
}

void removeIfThere(FileOps& ops, const std::filesystem::path& path) {
  if (ops.exists(path)) {
    ops.remove(path);
  }
}

}  // namespace

FolderReplacement::FolderReplacement(FileOps& ops, std::filesystem::path folder)
    : mOps(&ops), mFolder(std::move(folder)) {}

namespace {

// A name the plan can hold: one line, no folder.
std::string checkedName(std::string name) {
  if (name.empty() || name.find_first_of("/\\\n") != std::string::npos) {
    throw std::invalid_argument("A file of a folder replacement cannot be named " + name);
  }
  return name;
}

}  // namespace

void FolderReplacement::copyIn(const std::filesystem::path& source, std::string name) {
  mChanges.push_back({checkedName(std::move(name)), true, false, source});
}

void FolderReplacement::remove(std::string name) {
  mChanges.push_back({checkedName(std::move(name)), false, false, {}});
}

// Plan lines: "EI NAME", E 1 when the file existed, I 1 when a new one comes in.
void FolderReplacement::commit() {
  std::string plan;
  for (auto& change : mChanges) {
    change.existed = mOps->exists(mFolder / change.name);
    plan += fmt::format("{}{} {}\n", change.existed ? 1 : 0, change.incoming ? 1 : 0, change.name);
  }
  bool done = false;
  try {
    const auto* text = reinterpret_cast<const std::byte*>(plan.data());
    mOps->writeFile(mFolder / kDraft, {text, plan.size()});
    mOps->rename(mFolder / kDraft, mFolder / kPlan);
    mOps->flushDirectory(mFolder);
    for (const auto& change : mChanges) {
      if (change.incoming) {
        mOps->copy(change.source, freshCopy(mFolder, change.name));
        flushFile(*mOps, freshCopy(mFolder, change.name));
      }
    }
    mOps->flushDirectory(mFolder);
    for (const auto& change : mChanges) {
      if (change.existed) {
        mOps->rename(mFolder / change.name, oldCopy(mFolder, change.name));
      }
      if (change.incoming) {
        mOps->rename(freshCopy(mFolder, change.name), mFolder / change.name);
      }
    }
    mOps->flushDirectory(mFolder);
    mOps->rename(mFolder / kPlan, mFolder / kDone);
    done = true;
    mOps->flushDirectory(mFolder);
  } catch (const FileError&) {
    try {
      if (done) {
        mOps->rename(mFolder / kDone, mFolder / kPlan);
      }
      putBack(*mOps, mFolder, mChanges);
    } catch (const FileError&) {
      // The plan stays: recover() puts the folder back when it is next used.
    }
    throw;
  }
  try {
    deleteOldFiles(*mOps, mFolder, mChanges);
  } catch (const FileError&) {
    // Every new file is in place; recover() deletes what is left of the old ones.
  }
}

void FolderReplacement::putBack(FileOps& ops, const std::filesystem::path& folder,
                                const std::vector<Change>& changes) {
  for (auto change = changes.rbegin(); change != changes.rend(); ++change) {
    const auto file = folder / change->name;
    if (ops.exists(oldCopy(folder, change->name))) {
      ops.rename(oldCopy(folder, change->name), file);
    } else if (!change->existed && change->incoming) {
      removeIfThere(ops, file);
    }
    removeIfThere(ops, freshCopy(folder, change->name));
  }
  ops.flushDirectory(folder);
  removeIfThere(ops, folder / kPlan);
  removeIfThere(ops, folder / kDraft);
  ops.flushDirectory(folder);
}

void FolderReplacement::deleteOldFiles(FileOps& ops, const std::filesystem::path& folder,
                                       const std::vector<Change>& changes) {
  for (const auto& change : changes) {
    if (change.existed) {
      removeIfThere(ops, oldCopy(folder, change.name));
    }
  }
  removeIfThere(ops, folder / kDone);
  ops.flushDirectory(folder);
}

std::vector<FolderReplacement::Change> FolderReplacement::readPlan(
    FileOps& ops, const std::filesystem::path& marker) {
  const auto bytes = ops.readFile(marker);
  const std::string text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  std::vector<Change> changes;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = text.find('\n', start);
    const std::string line =
        text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    const auto flag = [](char c) { return c == '0' || c == '1'; };
    if (end == std::string::npos || line.size() < 4 || !flag(line[0]) || !flag(line[1]) ||
        line[2] != ' ' || line.find_first_of("/\\", 3) != std::string::npos) {
      throw FormatError("The replacement marker " + marker.string() + " is damaged");
    }
    changes.push_back({line.substr(3), line[1] == '1', line[0] == '1', {}});
    start = end + 1;
  }
  return changes;
}

FolderReplacement::Recovered FolderReplacement::recover(FileOps& ops,
                                                        const std::filesystem::path& folder) {
  if (ops.exists(folder / kDone)) {
    deleteOldFiles(ops, folder, readPlan(ops, folder / kDone));
    return Recovered::Finished;
  }
  if (ops.exists(folder / kPlan)) {
    putBack(ops, folder, readPlan(ops, folder / kPlan));
    return Recovered::PutBack;
  }
  if (ops.exists(folder / kDraft)) {
    putBack(ops, folder, {});
    return Recovered::PutBack;
  }
  return Recovered::Nothing;
}

bool FolderReplacement::pending(FileOps& ops, const std::filesystem::path& folder) {
  return ops.exists(folder / kDone) || ops.exists(folder / kPlan) || ops.exists(folder / kDraft);
}

}  // namespace lum
