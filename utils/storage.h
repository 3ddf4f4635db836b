#pragma once

#include <optional>
#include <string>
#include <vector>

#include "utils/utils_session.h"
#include "utils/zip_archive.h"

namespace lum {

// The stored entities of the selected store folder: EnList.Dat record k
// describes slot k, UtCount.Dat record 1 counts the used slots; the archive
// of slot k is "LUM-k.Zip".
class Storage {
 public:
  explicit Storage(UtilsSession& session, UnzipLimits limits = {})
      : mSession(&session), mLimits(limits) {}

  // The used slots (a negative count reads as none).
  int usedSlots();
  // The list text of slot k (blank past the end of EnList.Dat).
  std::string entryText(int slot);
  // Every slot's text, 1 to usedSlots(); none, after telling the user, when
  // the list cannot be read.
  std::vector<std::string> entries();
  // "LUM-k.Zip" in the store folder, as a Windows-style name.
  std::string archiveName(int slot) const;
  // The list text of an entity: its name (with ", " and the second line
  // when there is one) cut or padded to 20 characters, a blank, the date.
  static std::string listText(const std::string& name, const std::string& secondLine,
                              const std::string& date);

  // Record 3 of the work area's Entcoun.dat: the current entity's slot.
  int currentSlot();

  enum class Location { SelectedSlot, NextSlot };
  enum class Target { Floppy, HardDisk };
  // Store Away: zips the work area's "*.dat" into the slot's archive and
  // records the entity in the list. The list is changed only once the
  // archive is whole. Returns the slot, or nothing when stopped.
  std::optional<int> storeAway(Location location, int selectedSlot, Target target);

  enum class Restore { Floppy, HardDisk, ZipOnFloppy };
  // Bring Back of the slot's archive. False when stopped or failed (told).
  bool bringBack(int slot, Restore where);
  // Bring Back onto the hard disk with the clearing question answered in
  // advance (for lumctl): clear the work area first or unzip over it.
  bool bringBackToWorkArea(int slot, bool clearFirst);

  // What a Store Away or a Bring Back that went through did, in a line for
  // the status bar: "Stored in slot 3: Smith Plumbing, Pty".
  std::string storedAwayText(int slot, Target target);
  std::string broughtBackText(int slot, Restore where);

  // The floppy and e-mail copies.
  bool zipToFloppy();
  bool unzipFromFloppy();
  bool zipToEmail();
  bool unzipFromEmail();
  // E-mail folder + "lum.zip", as a native path.
  std::filesystem::path emailArchive() const;

  // Deletes slot k and closes the gap. False when stopped.
  bool deleteStoredEntity(int slot);
  // Rebuilds every list text from the archives. False when stopped.
  bool recreateNamesList();
  // Storage: Current Year / Previous Year.
  bool selectCurrentYear();
  bool selectPreviousYear();
  // Trans Current to Prev: the previous-year folder takes the current
  // year's lists with their archives, all or nothing. False when stopped
  // or failed (told).
  bool transCurrentToPrevious();
  // The folder window's OK: window is StoreFolder, EmailFolder or PreviousFolder.
  bool setFolder(UtilsWindow window, const std::string& text);

  // The search of the main window: the slot found (the list's new top), or
  // nothing after "Search text could not be found".
  std::optional<int> search(const std::string& text);

  // The outcome of the last unzip.
  const UnzipOutcome& lastUnzip() const { return mLastUnzip; }
  ZipStatus lastZipStatus() const { return mLastZipStatus; }

 private:
  // Where Store Away writes: the floppy (after its questions) or the store
  // folder (offered to be made when missing); nothing when the user stops.
  std::optional<std::string> storeFolder(Target target);
  std::filesystem::path resolve(const std::string& dosName) const {
    return mSession->resolve(dosName);
  }
  std::vector<std::string> readEntries();
  // The entity's name as the list shows it for the slot (cut to 20 characters).
  std::string storedName(int slot);
  std::vector<std::filesystem::path> workAreaFiles();
  // Zips the work area's data files; with a slot, the archive's
  // Entcoun.dat records it (the file on disk is not changed).
  ZipStatus zipWorkArea(const std::filesystem::path& archive, std::optional<int> slot = {});
  // A copy of the work area for the floppy or the e-mail; false when not made (told).
  bool zipCopy(const std::filesystem::path& archive);
  // Unzips into a folder other than the work area, entry by entry.
  bool unzipInto(const std::filesystem::path& archive, const std::filesystem::path& destination);
  // Tells the user what an unzip left undone; true when everything came out.
  // Whole or nothing: nothing was written when anything was refused.
  bool reportUnzip(const std::filesystem::path& archive, bool wholeOrNothing);
  // Bring Back into the work area, holding its lock: the whole archive is
  // tested and taken out into a staging folder, and only then is the area
  // cleared (when asked) and the files moved in, as one transaction with
  // the slot recorded. Any failure leaves the work area as it was (told).
  bool restoreWorkArea(const std::filesystem::path& archive, bool clearFirst,
                       std::optional<int> slot);
  // Deletes the work area's entity data, keeping the four analysis lists.
  void clearEntityFiles();
  // Moves the staged files into the work area, over the files of their names in any case.
  void swapIn(const std::filesystem::path& staging, const std::filesystem::path& area,
              const std::vector<std::string>& names);
  void setUsedSlots(int count);
  void writeEntry(int slot, const std::string& text);
  void setCurrentSlot(int slot);
  std::optional<std::string> entityText(const std::string& workArea);
  void recordSlotForOperator(int slot);
  bool selectFolder(bool previous);

  UtilsSession* mSession;
  UnzipLimits mLimits;
  UnzipOutcome mLastUnzip;
  ZipStatus mLastZipStatus = ZipStatus::Ok;
  int mLastFound = 0;
};

}  // namespace lum
