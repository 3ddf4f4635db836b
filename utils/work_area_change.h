#pragma once

#include <filesystem>
#include <memory>

#include "platform/work_area_transaction.h"
#include "utils/utils_session.h"

namespace lum {

// A command of the data manager that changes the work area or the stored
// entities. It holds the work area's lock (the one LumPost holds) for its
// length, so that no other program writes the area meanwhile; and from
// begin() on, everything it changes, in the work area or the store folders,
// is one WorkAreaTransaction in the work area's "Rollback" folder. Taking
// the lock first puts back a change that was cut short and removes the
// temporary files such a change left behind.
class WorkAreaChange {
 public:
  static constexpr const char* kInUse =
      "The work area is in use by another program (LumPost or lumctl). Nothing was changed; "
      "try again once it is closed.";
  static constexpr const char* kPutBack =
      "The last change in this work area was cut short. Its files have been put back as they "
      "were before it.";

  // Takes the lock; when another program holds it taken() is false and the
  // user is told (unless not to).
  explicit WorkAreaChange(UtilsSession& session, bool tellWhenInUse = true);
  // Without commit: puts back what was changed, then lets the lock go.
  ~WorkAreaChange();
  WorkAreaChange(const WorkAreaChange&) = delete;
  WorkAreaChange& operator=(const WorkAreaChange&) = delete;

  bool taken() const { return mTaken; }
  // From here on every change is kept to be put back.
  void begin();
  void commit();
  // Ends the change without commit, putting back what it changed. True when
  // the files are as before; false when putting back failed too, so that
  // the next opening of the work area does it.
  bool abandon();

  // A folder of the work area for files on their way in, which no change
  // keeps: emptied and made afresh.
  std::filesystem::path freshStagingFolder();

  // What LumUtils does as it starts: when the work area is free, puts back
  // a change that was cut short and removes its leftovers. Never waits for
  // a program that holds the area.
  static void recoverAtStart(UtilsSession& session);

 private:
  void tidy();
  void removeStaging();

  UtilsSession* mSession;
  std::filesystem::path mArea;
  std::unique_ptr<WorkAreaTransaction> mTransaction;
  bool mTaken = false;
};

}  // namespace lum
