#pragma once

#include <chrono>

#include "platform/date.h"

namespace lum {

// The local date and time of day.
struct DateTime {
  Date date;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// Today and now, injectable so that date rules are tested on fixed days.
class Clock {
 public:
  virtual ~Clock() = default;
  // Local calendar time.
  virtual DateTime now() const = 0;
  // A clock that never jumps (not at midnight, not when the date is set),
  // for measuring waits.
  virtual std::chrono::steady_clock::time_point monotonic() const = 0;

  Date today() const { return now().date; }
};

class SystemClock final : public Clock {
 public:
  DateTime now() const override;
  // Hook of a whole process, for the crash matrix, whose whole runs must
  // write the same bytes (a snapshot is named and dated by the time): every
  // SystemClock of the process says this time from then on. Nothing of the
  // programs sets it; lumctl's main does, from LUM_NOW.
  static void fixProcessTime(DateTime now);
  std::chrono::steady_clock::time_point monotonic() const override;
};

// A clock that stands still until a test moves it.
class FixedClock final : public Clock {
 public:
  explicit FixedClock(DateTime now) : mNow(now) {}

  DateTime now() const override { return mNow; }
  std::chrono::steady_clock::time_point monotonic() const override { return mMonotonic; }

  void set(DateTime now) { mNow = now; }
  // Moves the monotonic clock only; calendar time is set with set().
  void advance(std::chrono::steady_clock::duration by) { mMonotonic += by; }

 private:
  DateTime mNow;
  std::chrono::steady_clock::time_point mMonotonic{};
};

}  // namespace lum
