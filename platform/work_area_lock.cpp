#include "platform/work_area_lock.h"

#include <array>

namespace lum {
namespace {

constexpr std::chrono::milliseconds kPollInterval{50};

}  // namespace

WorkAreaLock::WorkAreaLock(FileOps& ops, const Clock& clock, Waiter& waiter)
    : mOps(&ops), mClock(&clock), mWaiter(&waiter) {}

bool WorkAreaLock::probe(const std::filesystem::path& area) {
  const auto probeFile = area / kProbeFile;
  FileHandle file = mOps->open(probeFile, OpenMode::WriteTruncate);
  const std::array<std::byte, 2> zero{};
  mOps->writeAt(file, 0, zero);
  mOps->close(file);

  // Elapsed time comes from a clock that does not jump at midnight.
  const auto start = mClock->monotonic();
  while (mClock->monotonic() - start < kProbeTime) {
    mWaiter->pause(kPollInterval);
  }
  return mOps->remove(probeFile);
}

bool WorkAreaLock::acquire(const std::filesystem::path& area) {
  if (mHolder == nullptr) {
    return probe(area) && acquireNew(area);
  }
  const bool held =
      mHolder->holds() && mHolder->area().lexically_normal() == area.lexically_normal();
  if (!held && !mHolder->acquire(area)) {
    return false;
  }
  release();
  mArea = area;
  mBorrowed = true;
  return true;
}

bool WorkAreaLock::acquireNew(const std::filesystem::path& area) {
  FileHandle lock = mOps->open(area / kLockFile, OpenMode::ReadWriteCreate);
  if (!mOps->tryLock(lock)) {
    return false;
  }
  release();
  mLock = std::move(lock);
  mArea = area;
  return true;
}

void WorkAreaLock::heartbeat() {
  if (holds()) {
    mOps->remove(mArea / kProbeFile);
  }
}

void WorkAreaLock::release() {
  if (mLock.isOpen()) {
    mOps->close(mLock);
  }
  mBorrowed = false;
  mArea.clear();
}

}  // namespace lum
