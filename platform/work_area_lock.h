#pragma once

#include <chrono>
#include <filesystem>

#include "platform/clock.h"
#include "platform/file_ops.h"

namespace lum {

// Lets the program stay responsive while the lock probe waits.
class Waiter {
 public:
  virtual ~Waiter() = default;
  // Returns after about the given time, having let the program do its work.
  virtual void pause(std::chrono::milliseconds duration) = 0;
};

// The one-person lock of a work area. Two mechanisms work together:
// - RYR.dat, which older copies on a shared drive also use: a newcomer
//   creates it and waits three seconds; the holder deletes it every 60 ms
//   (heartbeat), so a newcomer whose file vanished knows the area is taken;
// - an exclusive lock on LumPost.lck in the work area, held while the area
//   is open, which closes the window in which two newcomers starting within
//   the same three seconds would both get in. The system frees it when a
//   copy dies, so a crash never blocks the next start.
class WorkAreaLock {
 public:
  static constexpr std::chrono::seconds kProbeTime{3};
  static constexpr std::chrono::milliseconds kHeartbeat{60};
  static constexpr const char* kProbeFile = "RYR.dat";
  static constexpr const char* kLockFile = "LumPost.lck";

  WorkAreaLock(FileOps& ops, const Clock& clock, Waiter& waiter);

  // Probes the work area and takes it. Returns false when another copy holds
  // it; the area held before (if any) is then still held. On success the
  // previously held area is released.
  bool acquire(const std::filesystem::path& area);
  // Takes an area this copy has just made, where no other copy can be,
  // without the probe's wait.
  bool acquireNew(const std::filesystem::path& area);
  // The heartbeat: keeps newcomers out of the held area.
  void heartbeat();
  void release();
  bool holds() const { return mLock.isOpen() || mBorrowed; }

  // For a run of commands in one process (lumctl batch): acquire() asks the
  // holder instead, which probes and takes the area the first time and keeps
  // it for the commands after; this lock then only borrows it, and
  // release() leaves it with the holder. acquireNew() is this lock's own.
  void borrowFrom(WorkAreaLock& holder) { mHolder = &holder; }
  const std::filesystem::path& area() const { return mArea; }

 private:
  bool probe(const std::filesystem::path& area);

  FileOps* mOps;
  const Clock* mClock;
  Waiter* mWaiter;
  std::filesystem::path mArea;
  FileHandle mLock;
  WorkAreaLock* mHolder = nullptr;
  bool mBorrowed = false;
};

}  // namespace lum
