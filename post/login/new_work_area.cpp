#include "post/login/new_work_area.h"

#include <fmt/core.h>

#include "platform/errors.h"
#include "platform/work_area_lock.h"
#include "platform/work_area_transaction.h"

namespace lum {
namespace {

constexpr const char* kComplete = "Complete";

void removeTree(FileOps& ops, const std::filesystem::path& folder);

// The staging folder, and the folder holding it when that is left empty.
void removeStaging(FileOps& ops, const std::filesystem::path& staging) {
  removeTree(ops, staging);
  ops.removeEmptyDirectory(staging.parent_path());
}

void removeTree(FileOps& ops, const std::filesystem::path& folder) {
  for (const auto& name : ops.list(folder)) {
    const auto entry = folder / name;
    if (ops.isDirectory(entry)) {
      removeTree(ops, entry);
    } else {
      ops.remove(entry);
    }
  }
  ops.removeEmptyDirectory(folder);
}

}  // namespace

NewWorkArea planNewWorkArea(FileOps& ops, const DosPath& paths, int group, int operatorNumber) {
  const std::string groupName = fmt::format("Ent-{}", group);
  const std::string areaName = fmt::format("Op-{}", operatorNumber);
  const std::string stagingName = fmt::format(".\\Rollback\\~{}-{}", groupName, areaName);
  NewWorkArea area;
  area.staging = paths.resolve(stagingName);
  area.areaName = fmt::format("{}\\{}\\{}", stagingName, groupName, areaName);
  const auto groupFolder = paths.resolve(".\\" + groupName);
  if (ops.isDirectory(groupFolder)) {
    area.built = area.staging / groupName / areaName;
    area.target = groupFolder / areaName;
  } else {
    area.built = area.staging / groupName;
    area.target = groupFolder;
  }
  return area;
}

void buildNewWorkArea(FileOps& ops, const DosPath& paths, const NewWorkArea& area) {
  if (ops.isDirectory(area.staging)) {
    removeTree(ops, area.staging);
  }
  const auto folder = paths.resolve(area.areaName);
  ops.makeDirectories(folder);
  const auto templateIni = paths.resolve("lum.ini");
  if (ops.exists(templateIni)) {
    ops.copy(templateIni, folder / "lum.ini");
  }
}

void markNewWorkAreaComplete(FileOps& ops, const NewWorkArea& area) {
  FileHandle mark = ops.open(area.staging / kComplete, OpenMode::ReadWriteCreate);
  ops.flush(mark);
  ops.close(mark);
  ops.flushDirectory(area.staging);
}

void placeNewWorkArea(FileOps& ops, const NewWorkArea& area) {
  if (ops.exists(area.target)) {
    throw FileError("place the new work area", area.target,
                    "another copy of the program made it meanwhile");
  }
  ops.rename(area.built, area.target);
  ops.flushDirectory(area.target.parent_path());
  removeStaging(ops, area.staging);
}

void settleNewWorkArea(FileOps& ops, const DosPath& paths, int group, int operatorNumber) {
  const NewWorkArea area = planNewWorkArea(ops, paths, group, operatorNumber);
  if (!ops.isDirectory(area.staging)) {
    return;
  }
  const auto areaFolder = paths.resolve(area.areaName);
  if (ops.isDirectory(areaFolder)) {
    FileHandle lock = ops.open(areaFolder / WorkAreaLock::kLockFile, OpenMode::ReadWriteCreate);
    if (!ops.tryLock(lock)) {
      return;
    }
    const bool putBack = WorkAreaTransaction::recover(ops, areaFolder / "Rollback");
    ops.close(lock);
    if (!putBack && ops.exists(area.staging / kComplete) && !ops.exists(area.target)) {
      placeNewWorkArea(ops, area);
      return;
    }
  }
  removeStaging(ops, area.staging);
}

}  // namespace lum
