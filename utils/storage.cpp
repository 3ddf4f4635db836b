#include "utils/storage.h"

#include <fmt/core.h>

#include <algorithm>
#include <limits>
#include <span>

#include "panel/dates.h"
#include "platform/errors.h"
#include "platform/text.h"
#include "utils/previous_year_copy.h"
#include "utils/storage_texts.h"
#include "utils/utils_records.h"
#include "utils/work_area_change.h"

namespace lum {
using namespace storage_texts;

namespace {

// Entcoun.dat's bytes with record 3 holding the slot, as writing the
// record into the file makes them.
std::vector<std::byte> withSlotRecorded(std::vector<std::byte> counters, int slot) {
  constexpr std::size_t offset = (kSlotRecord - 1) * CounterRecord::kSize;
  if (counters.size() < offset + CounterRecord::kSize) {
    counters.resize(offset + CounterRecord::kSize);  // zeros, as a record never written
  }
  const auto bytes = std::span(counters).subspan(offset, CounterRecord::kSize);
  auto record = CounterRecord::decode(bytes);
  record.value = static_cast<std::int16_t>(slot);
  const auto encoded = record.encode();
  std::copy(encoded.begin(), encoded.end(), bytes.begin());
  return counters;
}

std::string withBackslash(std::string folder) {
  if (folder.empty() || folder.back() != '\\') {
    folder += '\\';
  }
  return folder;
}

}  // namespace

std::string Storage::listText(const std::string& name, const std::string& secondLine,
                              const std::string& date) {
  std::string full(trimRight(name));
  if (!trim(secondLine).empty()) {
    full += ", " + std::string(trimRight(secondLine));
  }
  std::string text = leftCharacters(full, kNameWidth);
  text.append(kNameWidth - characterCount(text), ' ');
  return text + " " + date;
}

int Storage::usedSlots() {
  const auto path = mSession->filePath("UtCount");
  if (!path || !mSession->ops().exists(*path)) {
    return 0;
  }
  auto file = mSession->open("UtCount", RecordFile::Access::ReadOnly);
  return std::max<int>(0, file->get<CounterRecord>(1).value);
}

std::string Storage::entryText(int slot) {
  const auto path = mSession->filePath("EnList");
  if (slot < 1 || !path || !mSession->ops().exists(*path)) {
    return {};
  }
  auto file = mSession->open("EnList", RecordFile::Access::ReadOnly);
  return slot <= file->recordCount() ? file->get<StoredEntityRecord>(slot).text : std::string();
}

std::string Storage::storedName(int slot) {
  return std::string(trim(leftCharacters(entryText(slot), kNameWidth)));
}

std::string Storage::storedAwayText(int slot, Target target) {
  return fmt::format("Stored in slot {}{}: {}", slot,
                     target == Target::Floppy ? " on the floppy disk" : "", storedName(slot));
}

std::vector<std::string> Storage::entries() {
  // The main window reads the list outside any command, also as the
  // program starts: a list that cannot be read is told and shown empty.
  try {
    return readEntries();
  } catch (const FileError& error) {
    mSession->prompter().message(kUnreadableList + std::string(error.what()), Icon::Exclamation);
  } catch (const FormatError& error) {
    mSession->prompter().message(kUnreadableList + std::string(error.what()), Icon::Exclamation);
  }
  return {};
}

std::vector<std::string> Storage::readEntries() {
  std::vector<std::string> texts;
  const int count = usedSlots();
  const auto path = mSession->filePath("EnList");
  if (count == 0 || !path || !mSession->ops().exists(*path)) {
    texts.resize(static_cast<std::size_t>(count));
    return texts;
  }
  auto file = mSession->open("EnList", RecordFile::Access::ReadOnly);
  // A list shorter than its count, or cut inside a record, shows the
  // missing entries blank; Re Create Names List writes them again.
  const auto whole = file->recordCount();
  for (int slot = 1; slot <= count; ++slot) {
    texts.push_back(slot <= whole ? file->get<StoredEntityRecord>(slot).text : std::string());
  }
  return texts;
}

std::string Storage::archiveName(int slot) const {
  return fmt::format("{}LUM-{}.Zip", mSession->folders().storeFolder, slot);
}

int Storage::currentSlot() {
  const auto path = mSession->filePath("EntCoun");
  if (!path || !mSession->ops().exists(*path)) {
    return 0;
  }
  return mSession->open("EntCoun", RecordFile::Access::ReadOnly)
      ->get<CounterRecord>(kSlotRecord)
      .value;
}

void Storage::setCurrentSlot(int slot) {
  auto file = mSession->open("EntCoun");
  auto record = file->get<CounterRecord>(kSlotRecord);
  record.value = static_cast<std::int16_t>(slot);
  file->put(kSlotRecord, record);
  file->flush();
}

void Storage::setUsedSlots(int count) {
  auto file = mSession->open("UtCount");
  auto record = file->get<CounterRecord>(1);
  record.value = static_cast<std::int16_t>(count);
  file->put(1, record);
  file->flush();
}

void Storage::writeEntry(int slot, const std::string& text) {
  auto file = mSession->open("EnList");
  file->put(slot, StoredEntityRecord{text});
  file->flush();
}

std::vector<std::filesystem::path> Storage::workAreaFiles() {
  auto files = matchingFiles(mSession->ops(), resolve(mSession->folders().workArea), "*.dat");
  // The mail settings hold the server password: they never travel in an archive.
  std::erase_if(files, [](const std::filesystem::path& file) {
    return equalsIgnoreCase(file.filename().string(), "MailDets.dat");
  });
  return files;
}

ZipStatus Storage::zipWorkArea(const std::filesystem::path& archive, std::optional<int> slot) {
  try {
    auto entries = zipEntriesOf(mSession->ops(), workAreaFiles());
    for (auto& entry : entries) {
      if (slot && equalsIgnoreCase(entry.name, "Entcoun.dat")) {
        entry.bytes = withSlotRecorded(std::move(entry.bytes), *slot);
      }
    }
    mLastZipStatus = zipEntries(mSession->ops(), archive, entries);
  } catch (const FileError&) {
    mLastZipStatus = ZipStatus::ReadFailed;  // zipEntries reports its own failures as statuses
  }
  return mLastZipStatus;
}

bool Storage::zipCopy(const std::filesystem::path& archive) {
  if (zipWorkArea(archive) == ZipStatus::NothingToDo) {
    mSession->prompter().message(kNothingToStore, Icon::Exclamation);
  } else if (mLastZipStatus != ZipStatus::Ok) {
    // Written beside it and renamed over it: the old copy is whole, or gone
    // for the new one.
    mSession->prompter().message(
        fmt::format("The data could not be stored in {} (error {}).", archive.filename().string(),
                    zipStatusNumber(mLastZipStatus)),
        Icon::Critical);
  }
  return mLastZipStatus == ZipStatus::Ok;
}

std::optional<std::string> Storage::entityText(const std::string& workArea) {
  FileOps& ops = mSession->ops();
  const auto counters = resolve(workArea + "\\Entcoun.dat");
  const auto entities = resolve(workArea + "\\Ent.dat");
  if (!ops.exists(counters) || !ops.exists(entities)) {
    return std::nullopt;
  }
  const int entity = RecordFile(ops, counters, CounterRecord::kSize, RecordFile::Access::ReadOnly)
                         .get<CounterRecord>(kCurrentEntityRecord)
                         .value;
  if (entity < 1) {
    return std::nullopt;
  }
  const auto record = RecordFile(ops, entities, EntityRecord::kSize, RecordFile::Access::ReadOnly)
                          .get<EntityRecord>(entity);
  return listText(record.name, record.secondNameLine, formatDate(mSession->clock().today()));
}

void Storage::recordSlotForOperator(int slot) {
  auto profile = mSession->open("OperProf");
  for (int record = kFirstSlotRecord; record <= kLastSlotRecord; ++record) {
    if (profile->get<OperatorProfileRecord>(record).value <= 0) {
      profile->put(record, OperatorProfileRecord{static_cast<std::int16_t>(slot)});
      profile->flush();
      return;
    }
  }
}

std::optional<std::string> Storage::storeFolder(Target target) {
  Prompter& prompter = mSession->prompter();
  FileOps& ops = mSession->ops();
  std::string folder;
  if (target == Target::Floppy) {
    if (!prompter.yes("Has the floppy disk checked for virus?")) {
      return std::nullopt;
    }
    if (prompter.ask({"Ensure that data disk is in drive a",
                      Buttons::OkCancel,
                      Icon::Information,
                      {},
                      {}}) != Answer::Ok) {
      return std::nullopt;
    }
    if (!ops.exists(resolve("a:\\Entcoun.dat"))) {
      prompter.message("Floppy disk is not a proper data disk", Icon::Exclamation);
      return std::nullopt;
    }
    folder = "a:\\";
  } else {
    folder = mSession->folders().storeFolder;
    if (trim(folder).empty()) {
      folder = mSession->usingPreviousYear() ? mSession->defaultPreviousYearFolder()
                                             : mSession->defaultCurrentYearFolder();
    }
    folder = withBackslash(folder);
    if (!ops.isDirectory(resolve(folder))) {
      if (!prompter.yes("Specified path does not exist. Do you want it set up?")) {
        return std::nullopt;
      }
    }
  }
  return folder;
}

std::optional<int> Storage::storeAway(Location location, int selectedSlot, Target target) {
  Prompter& prompter = mSession->prompter();
  FileOps& ops = mSession->ops();
  const int used = usedSlots();
  int slot = location == Location::NextSlot ? used + 1 : selectedSlot;
  if (slot < 1) {
    prompter.message("Select the stored entity to override in the list first.", Icon::Exclamation);
    return std::nullopt;
  }
  // UtCount.Dat and Entcoun.dat hold a slot in 16 bits.
  if (slot > kMaxSlots) {
    prompter.message(fmt::format("The stored entities list is full: it holds {} entities at most. "
                                 "Override a stored entity instead.",
                                 kMaxSlots),
                     Icon::Exclamation);
    return std::nullopt;
  }

  const std::optional<std::string> chosen = storeFolder(target);
  if (!chosen) {
    return std::nullopt;
  }
  const std::string& folder = *chosen;
  const auto archive = resolve(fmt::format("{}LUM-{}.Zip", folder, slot));
  WorkAreaChange change(*mSession);
  if (!change.taken()) {
    return std::nullopt;
  }
  std::string failure;
  try {
    change.begin();
    if (!ops.isDirectory(resolve(folder))) {
      ops.makeDirectories(resolve(folder));
    }
    const auto text = entityText(mSession->folders().workArea);
    if (!text) {
      prompter.message("The work area holds no entity to store.", Icon::Exclamation);
      return std::nullopt;
    }
    // The archive's Entcoun.dat names its own slot, so that a copy brought
    // in from elsewhere shows the right storage number.
    const ZipStatus status = zipWorkArea(archive, slot);
    if (status == ZipStatus::NothingToDo) {
      prompter.message(kNothingToStore, Icon::Exclamation);
      return std::nullopt;
    }
    if (status == ZipStatus::Ok) {
      // The archive, the list, the count and the work area's slot are one change.
      setCurrentSlot(slot);
      writeEntry(slot, *text);
      if (slot > used) {
        setUsedSlots(slot);
      }
      if (mSession->operatorClass() == OperatorClass::ExtendedRights) {
        recordSlotForOperator(slot);
      }
      change.commit();
      return slot;
    }
    failure = fmt::format("error {}", zipStatusNumber(status));
  } catch (const FileError& error) {
    failure = error.what();
  }
  // Told only once the files are back as they were (or known not to be).
  const bool putBack = change.abandon();
  prompter.message(
      fmt::format("The data could not be stored in {} ({}). {}", archive.filename().string(),
                  failure, putBack ? kNothingChanged : kPutBackLater),
      Icon::Critical);
  return std::nullopt;
}

std::filesystem::path Storage::emailArchive() const {
  return resolve(mSession->folders().emailFolder + "lum.zip");
}

bool Storage::zipToFloppy() {
  return zipCopy(resolve("a:\\LUM.ZIP"));
}

bool Storage::zipToEmail() {
  const auto archive = emailArchive();
  if (!mSession->ops().isDirectory(archive.parent_path())) {
    mSession->ops().makeDirectory(archive.parent_path());
  }
  return zipCopy(archive);
}

bool Storage::deleteStoredEntity(int slot) {
  const int used = usedSlots();
  if (slot < 1 || slot > used) {
    return false;
  }
  if (!mSession->prompter().confirm("The stored data for " + entryText(slot) +
                                    " will be deleted.  Are you sure?")) {
    return false;
  }
  // The archives, the list and the count change as one step, so that a cut
  // never leaves a slot naming another entity's archive.
  WorkAreaChange change(*mSession);
  if (!change.taken()) {
    return false;
  }
  FileOps& ops = mSession->ops();
  std::string failure;
  try {
    change.begin();
    ops.remove(resolve(archiveName(slot)));
    {
      auto list = mSession->open("EnList");
      for (int k = slot; k < used; ++k) {
        const auto next = resolve(archiveName(k + 1));
        if (ops.exists(next)) {
          ops.rename(next, resolve(archiveName(k)));
        }
        list->put(k, list->get<StoredEntityRecord>(k + 1));
      }
      list->put(used, StoredEntityRecord{});
      list->flush();
    }
    ops.flushDirectory(resolve(mSession->folders().storeFolder));
    setUsedSlots(used - 1);
    change.commit();
    return true;
  } catch (const FileError& error) {
    failure = error.what();
  }
  const bool putBack = change.abandon();
  mSession->prompter().message(fmt::format("The stored data could not be deleted ({}). {}", failure,
                                           putBack ? kNothingChanged : kPutBackLater),
                               Icon::Critical);
  return false;
}

bool Storage::recreateNamesList() {
  if (!mSession->prompter().yes("This program will take a long time. Do you wish to proceed?")) {
    return false;
  }
  FileOps& ops = mSession->ops();
  const std::string scratch = mSession->scratchFolder();
  const auto scratchPath = resolve(scratch);
  if (!ops.isDirectory(scratchPath)) {
    ops.makeDirectory(scratchPath);
  }
  const int used = usedSlots();
  for (int slot = 1; slot <= used; ++slot) {
    const auto archive = resolve(archiveName(slot));
    if (!ops.exists(archive)) {
      continue;
    }
    for (const auto& file : matchingFiles(ops, scratchPath, "*.*")) {
      ops.remove(file);
    }
    unzipFiles(ops, archive, scratchPath, "*.dat", mLimits);
    if (const auto text = entityText(scratch.substr(0, scratch.size() - 1))) {
      writeEntry(slot, *text);
    }
  }
  return true;
}

bool Storage::selectFolder(bool previous) {
  const auto& folders = mSession->folders();
  std::string folder = previous ? folders.previousYearFolder : folders.currentYearFolder;
  if (trim(folder).empty()) {
    folder =
        previous ? mSession->defaultPreviousYearFolder() : mSession->defaultCurrentYearFolder();
  }
  if (!mSession->ops().isDirectory(resolve(folder))) {
    mSession->prompter().message(previous ? "Previous Period Zip path is not properly set"
                                          : "Current Period Zip path is not properly set",
                                 Icon::Exclamation);
    return false;
  }
  mSession->folders().storeFolder = withBackslash(folder);
  mSession->setUsingPreviousYear(previous);
  mLastFound = 0;
  return true;
}

bool Storage::selectCurrentYear() {
  return selectFolder(false);
}
bool Storage::selectPreviousYear() {
  return selectFolder(true);
}

bool Storage::transCurrentToPrevious() {
  Prompter& prompter = mSession->prompter();
  if (!prompter.confirm(
          "You are about to copy current year data into previous year.  This will erase "
          "existing previous year data.  Are you sure?")) {
    return false;
  }
  FileOps& ops = mSession->ops();
  std::filesystem::path current;
  std::filesystem::path previous;
  try {
    current = resolve(mSession->folders().currentYearFolder);
    previous = resolve(mSession->folders().previousYearFolder);
  } catch (const FileError& error) {
    prompter.message(
        fmt::format("The current year could not be copied into the previous year.\n{}\nThe "
                    "previous year was left as it was.",
                    error.what()),
        Icon::Critical);
    return false;
  }
  if (!ops.isDirectory(current)) {
    prompter.message("Current Period Zip path is not properly set", Icon::Exclamation);
    return false;
  }
  if (!ops.isDirectory(previous)) {
    prompter.message("Previous Year Zip path is not properly set", Icon::Exclamation);
    return false;
  }
  // The previous-year folder changes as one step in the work area's
  // transaction, whose marker needs the area's lock.
  WorkAreaChange change(*mSession);
  if (!change.taken()) {
    return false;
  }
  std::string failure;
  try {
    change.begin();
    copyCurrentYearToPrevious(ops, current, previous);
    change.commit();
    return true;
  } catch (const FileError& error) {
    failure = error.what();
  }
  const bool putBack = change.abandon();
  prompter.message(
      fmt::format("The current year could not be copied into the previous year.\n{}\n{}", failure,
                  putBack ? "The previous year was left as it was."
                          : "The previous year will be put back as it was when the work area "
                            "is next opened."),
      Icon::Critical);
  return false;
}

bool Storage::setFolder(UtilsWindow window, const std::string& text) {
  std::string folder(trim(text));
  if (folder.empty()) {
    mSession->prompter().message("Selected Path is not available", Icon::Exclamation);
    return false;
  }
  folder = withBackslash(folder);
  std::filesystem::path path;
  try {
    path = resolve(folder);
  } catch (const FileError&) {
    mSession->prompter().message("Selected Path is not available", Icon::Exclamation);
    return false;
  }
  if (!mSession->ops().isDirectory(path)) {
    if (!mSession->prompter().yes(
            "Selected Directory does not exist.  Do you wish to create it?")) {
      return false;
    }
    mSession->ops().makeDirectories(path);
  }
  auto& folders = mSession->folders();
  switch (window) {
    case UtilsWindow::StoreFolder:
      folders.currentYearFolder = folder;
      mSession->saveFolder(SavedFolder::CurrentYear, folder);
      if (!mSession->usingPreviousYear()) {
        folders.storeFolder = folder;
      }
      break;
    case UtilsWindow::EmailFolder:
      folders.emailFolder = folder;
      mSession->saveFolder(SavedFolder::Email, folder);
      break;
    default:
      folders.previousYearFolder = folder;
      mSession->saveFolder(SavedFolder::PreviousYear, folder);
      if (mSession->usingPreviousYear()) {
        folders.storeFolder = folder;
      }
      break;
  }
  return true;
}

std::optional<int> Storage::search(const std::string& text) {
  const std::string wanted = toUpper(trim(text));
  const int first = mLastFound + 1;
  const auto texts = entries();
  for (int slot = first; slot <= static_cast<int>(texts.size()); ++slot) {
    if (toUpper(texts[static_cast<std::size_t>(slot - 1)]).find(wanted) != std::string::npos) {
      mLastFound = slot;
      return slot;
    }
  }
  mLastFound = 0;
  mSession->prompter().message("Search text could not be found");
  return std::nullopt;
}

}  // namespace lum
