// LumUtils' list files: ZipPath.Cfg (the saved folders), UtCount.Dat and
// EnList.Dat of the store folder (the stored entities), MailDets.dat (the
// mail settings). The input is the four files as splitFiles lays them out,
// in that order (missing: the file is not there).
//
// What the data manager reads as it starts and shows its main window must
// never fail: the folders, the list and the current slot. Reading writes
// nothing. The mail settings read and written back read the same; the
// folders saved and read again are the same. Storing into the next slot
// after the list, when the store folder is one of the work area's
// folders, counts one more slot and names the entity there, or is refused
// with a message.

#include <optional>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "platform/errors.h"
#include "tests/utils/utils_fixture.h"
#include "utils/mail_settings.h"
#include "utils/storage.h"

namespace lum::fuzz {
namespace {

namespace fs = std::filesystem;

struct Fixture {
  Fixture() {
    parts.fillWorkArea();
    parts.session.start();  // makes the group's folders
    baseline = snapshotTree(parts.dir.path());
  }
  fs::path zipPath() const { return parts.area() / "ZipPath.Cfg"; }
  fs::path mailSettings() const { return parts.area() / "MailDets.dat"; }
  fs::path count() const { return parts.store() / "UtCount.Dat"; }
  fs::path list() const { return parts.store() / "EnList.Dat"; }

  test::UtilsParts parts;
  TreeSnapshot baseline;
};

Fixture& fixture() {
  scratchFolder();  // the fixture's folder goes into the scratch folder
  static Fixture instance;
  return instance;
}

UtilsSession newSession(Fixture& f) {
  return UtilsSession(f.parts.ops, f.parts.paths, f.parts.prompter, f.parts.clock, f.parts.waiter,
                      {3, 0, 1});
}

// Whether a Windows-style folder name comes to a folder of the fixture.
bool insideFixture(Fixture& f, UtilsSession& session, const std::string& folder) {
  try {
    const fs::path path = session.resolve(folder);
    const auto relative = path.lexically_relative(f.parts.dir.path());
    return fs::is_directory(path) && !relative.empty() && *relative.begin() != "..";
  } catch (const FileError&) {
    return false;
  }
}

void checkFolders(const UtilsFolders& folders) {
  for (const std::string* folder : {&folders.currentYearFolder, &folders.previousYearFolder,
                                    &folders.emailFolder, &folders.storeFolder}) {
    LUM_FUZZ_CHECK(!folder->empty() && folder->back() == '\\',
                   "a folder does not end with a backslash: " + *folder);
  }
}

std::string threw(const std::exception& error) {
  return std::string(" threw: ") + error.what();
}

}  // namespace
}  // namespace lum::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace lum;
  using namespace lum::fuzz;
  Fixture& f = fixture();
  restoreTree(f.parts.dir.path(), f.baseline);
  const auto files = splitFiles(std::span(data, size), 4);
  placeFile(f.zipPath(), files[0]);
  placeFile(f.count(), files[1]);
  placeFile(f.list(), files[2]);
  placeFile(f.mailSettings(), files[3]);
  f.parts.prompter.clear();
  const TreeSnapshot before = snapshotTree(f.parts.dir.path());

  // What LumUtils reads before its main window shows: nothing here may fail.
  UtilsSession session = newSession(f);
  Storage storage(session);
  std::vector<std::string> entries;
  MailSettingsRecord mail;
  try {
    session.start();
    checkFolders(session.folders());
    entries = storage.entries();
    storage.currentSlot();
    mail = loadMailSettings(session);
  } catch (const std::exception& error) {
    fail("starting the data manager" + threw(error), __FILE__, __LINE__);
  }
  const std::string written = treeDifference(before, snapshotTree(f.parts.dir.path()));
  LUM_FUZZ_CHECK(written.empty(), "reading the lists wrote files:\n" + written);

  // The list's lines as the commands see them; failures are told by the window.
  int used = 0;
  try {
    used = storage.usedSlots();
    LUM_FUZZ_CHECK(used >= 0, "a negative count of stored entities");
    LUM_FUZZ_CHECK(entries.size() == static_cast<std::size_t>(used),
                   "the list does not have a line for each used slot");
    for (int slot = 1; slot <= std::min(used, 8); ++slot) {
      LUM_FUZZ_CHECK(storage.entryText(slot) == entries[static_cast<std::size_t>(slot - 1)],
                     "a slot's text differs from its line in the list");
    }
    if (const auto found = storage.search("Smith")) {
      LUM_FUZZ_CHECK(*found >= 1 && *found <= used, "the search found a slot outside the list");
    }
  } catch (const FileError&) {
    return 0;
  } catch (const FormatError&) {
    return 0;
  }

  // The mail settings, written back and read again.
  saveMailSettings(session, mail);
  LUM_FUZZ_CHECK(loadMailSettings(session).encode() == mail.encode(),
                 "the mail settings read back differ from those written");

  // The saved folders, written back and read by a new start.
  const UtilsFolders folders = session.folders();
  if (files[0].present) {
    session.saveFolder(SavedFolder::CurrentYear, folders.currentYearFolder);
    session.saveFolder(SavedFolder::Email, folders.emailFolder);
    session.saveFolder(SavedFolder::PreviousYear, folders.previousYearFolder);
    UtilsSession again = newSession(f);
    again.start();
    LUM_FUZZ_CHECK(again.folders().currentYearFolder == folders.currentYearFolder &&
                       again.folders().emailFolder == folders.emailFolder &&
                       again.folders().previousYearFolder == folders.previousYearFolder,
                   "the folders saved and read again differ");
  }

  // Store Away into the next slot, where the store folder is the fixture's.
  if (!insideFixture(f, session, folders.storeFolder)) {
    return 0;
  }
  std::optional<int> slot;
  bool told = false;  // by the window that ran the command
  try {
    slot = storage.storeAway(Storage::Location::NextSlot, 0, Storage::Target::HardDisk);
  } catch (const FileError&) {
    told = true;
  } catch (const FormatError&) {
    told = true;
  }
  if (slot) {
    LUM_FUZZ_CHECK(*slot == used + 1, "Store Away did not take the slot after the list");
    LUM_FUZZ_CHECK(storage.usedSlots() == *slot,
                   "after Store Away the list does not count the new slot (" +
                       std::to_string(storage.usedSlots()) + " for slot " + std::to_string(*slot) +
                       ")");
    LUM_FUZZ_CHECK(storage.entryText(*slot).starts_with("Smith Plumbing"),
                   "after Store Away the slot does not name the entity");
  } else {
    LUM_FUZZ_CHECK(told || !f.parts.prompter.texts().empty(),
                   "Store Away failed without a message");
  }
  return 0;
}
