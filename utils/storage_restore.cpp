// Bringing stored entities back: testing a whole archive, extracting it
// into a staging folder and swapping it into the work area as one change.

#include <fmt/core.h>

#include "platform/errors.h"
#include "platform/text.h"
#include "utils/storage.h"
#include "utils/storage_texts.h"
#include "utils/work_area_change.h"

namespace lum {
using namespace storage_texts;

bool Storage::reportUnzip(const std::filesystem::path& archive, bool wholeOrNothing) {
  const std::string name = archive.filename().string();
  const std::string nothing =
      wholeOrNothing ? kNothingBroughtBack : std::string("Nothing was brought back.");
  switch (mLastUnzip.status) {
    case ZipStatus::Ok:
      return true;
    case ZipStatus::ArchiveMissing:
      mSession->prompter().message(kNoArchive, Icon::Exclamation);
      return false;
    case ZipStatus::ArchiveDamaged:
      mSession->prompter().message(
          fmt::format("{} is damaged or is not a zip file. {}", name, nothing), Icon::Critical);
      return false;
    case ZipStatus::NoMatch:
      mSession->prompter().message(fmt::format("{} holds no data files. {}", name, nothing),
                                   Icon::Exclamation);
      return false;
    case ZipStatus::EntriesRefused: {
      std::string text =
          wholeOrNothing
              ? fmt::format("{} cannot be brought back whole; these files of it are refused:", name)
              : fmt::format("Some files of {} were not brought back, the others were:", name);
      for (const auto& refused : mLastUnzip.refused) {
        text += fmt::format("\n{}: {}", refused.name, refused.reason);
      }
      if (wholeOrNothing) {
        text += fmt::format("\n{}", nothing);
      }
      mSession->prompter().message(text, Icon::Exclamation);
      return false;
    }
    default:
      mSession->prompter().message(fmt::format("The files of {} could not be written (error {}).",
                                               name, zipStatusNumber(mLastUnzip.status)),
                                   Icon::Critical);
      return false;
  }
}

bool Storage::unzipInto(const std::filesystem::path& archive,
                        const std::filesystem::path& destination) {
  mLastUnzip = unzipFiles(mSession->ops(), archive, destination, "*.dat", mLimits);
  return reportUnzip(archive, false);
}

bool Storage::bringBack(int slot, Restore where) {
  const auto archive = resolve(archiveName(slot));
  if (slot < 1 || !mSession->ops().exists(archive)) {
    mSession->prompter().message(kNoArchive, Icon::Exclamation);
    return false;
  }
  if (where == Restore::HardDisk) {
    return bringBackToWorkArea(slot, mSession->prompter().confirm(kClearQuestion));
  }
  // Onto the floppy; the work area only records the slot.
  WorkAreaChange change(*mSession);
  if (!change.taken()) {
    return false;
  }
  bool done = true;
  if (where == Restore::Floppy) {
    done = unzipInto(archive, resolve("a:\\"));
  } else {
    mSession->ops().copy(archive, resolve("a:\\lum.Zip"));
  }
  change.begin();
  setCurrentSlot(slot);
  change.commit();
  return done;
}

std::string Storage::broughtBackText(int slot, Restore where) {
  const std::string name = storedName(slot);
  const std::size_t files = mLastUnzip.extracted.size();
  const std::string counted = fmt::format("{} file{}", files, files == 1 ? "" : "s");
  switch (where) {
    case Restore::HardDisk:
      return fmt::format("Brought back slot {}: {} ({})", slot, name, counted);
    case Restore::Floppy:
      return fmt::format("Slot {} unzipped onto the floppy disk: {} ({})", slot, name, counted);
    case Restore::ZipOnFloppy:
      break;
  }
  return fmt::format("Slot {} copied to the floppy disk as lum.Zip: {}", slot, name);
}

bool Storage::bringBackToWorkArea(int slot, bool clearFirst) {
  const auto archive = resolve(archiveName(slot));
  if (slot < 1 || !mSession->ops().exists(archive)) {
    mLastUnzip = {};
    mSession->prompter().message(kNoArchive, Icon::Exclamation);
    return false;
  }
  return restoreWorkArea(archive, clearFirst, slot);
}

bool Storage::restoreWorkArea(const std::filesystem::path& archive, bool clearFirst,
                              std::optional<int> slot) {
  mLastUnzip = {};
  WorkAreaChange change(*mSession);
  if (!change.taken()) {
    return false;
  }
  FileOps& ops = mSession->ops();
  const auto area = resolve(mSession->folders().workArea);
  std::string failure;
  try {
    // The whole archive is tested and taken out beside the work area before
    // a file of the area changes.
    const auto staging = change.freshStagingFolder();
    UnzipOutcome outcome = extractWhole(ops, archive, staging, "*.dat", mLimits);
    if (outcome.status != ZipStatus::Ok) {
      mLastUnzip = std::move(outcome);
      reportUnzip(archive, true);
      return false;
    }
    change.begin();
    if (clearFirst) {
      clearEntityFiles();
    }
    swapIn(staging, area, outcome.extracted);
    if (slot) {
      setCurrentSlot(*slot);
    }
    change.commit();
    mLastUnzip = std::move(outcome);
    return true;
  } catch (const FileError& error) {
    failure = error.what();
  }
  const bool putBack = change.abandon();
  mLastUnzip.status = ZipStatus::ExtractFailed;
  mSession->prompter().message(
      fmt::format("The files of {} could not be brought back ({}). {}", archive.filename().string(),
                  failure, putBack ? kNothingBroughtBack : kPutBackLater),
      Icon::Critical);
  return false;
}

bool Storage::unzipFromFloppy() {
  if (!mSession->prompter().confirm(kEraseQuestion)) {
    return false;
  }
  return restoreWorkArea(resolve("a:\\lum.zip"), false, std::nullopt);
}

bool Storage::unzipFromEmail() {
  if (!mSession->prompter().confirm(kEraseQuestion)) {
    return false;
  }
  return restoreWorkArea(emailArchive(), false, std::nullopt);
}

void Storage::clearEntityFiles() {
  FileOps& ops = mSession->ops();
  const auto area = resolve(mSession->folders().workArea);
  for (const char* pattern : kEntityFiles) {
    for (const auto& file : matchingFiles(ops, area, pattern)) {
      const std::string name = file.filename().string();
      const bool analysisList = std::any_of(
          std::begin(kAnalysisLists), std::end(kAnalysisLists),
          [&](const char* list) { return equalsIgnoreCase(name, std::string(list) + ".dat"); });
      if (!analysisList && ops.exists(file)) {
        ops.remove(file);
      }
    }
  }
}

void Storage::swapIn(const std::filesystem::path& staging, const std::filesystem::path& area,
                     const std::vector<std::string>& names) {
  FileOps& ops = mSession->ops();
  const std::vector<std::string> existing = ops.list(area);
  for (const auto& name : names) {
    // A file of the name in another case is replaced under its own name, as
    // on Windows; any further one of that name goes, so that one is left.
    std::vector<std::string> same;
    for (const auto& old : existing) {
      if (equalsIgnoreCase(old, name) && ops.exists(area / old) && !ops.isDirectory(area / old)) {
        same.push_back(old);
      }
    }
    const auto exact = std::find(same.begin(), same.end(), name);
    const std::string target = exact != same.end() ? name : same.empty() ? name : same.front();
    ops.rename(staging / name, area / target);
    for (const auto& old : same) {
      if (old != target) {
        ops.remove(area / old);
      }
    }
  }
}

}  // namespace lum
