#pragma once

#include <cstdint>

#include "framework/fields/date_time.h"

namespace paltrix {

struct LocalDateTime {
  fields::CivilDate date;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int hundredths = 0;
};

// The wall clock, behind an interface so that tests can fix "today".
class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalDateTime Now() const = 0;

  // Today as a record-file day number.
  std::int32_t Today() const;
};

// The local time of this machine.
const Clock& SystemClock();

// A clock that always says the same time; for tests and reproducible runs.
class FixedClock final : public Clock {
 public:
  explicit FixedClock(LocalDateTime now) : now_(now) {}
  LocalDateTime Now() const override { return now_; }
  void Set(LocalDateTime now) { now_ = now; }

 private:
  LocalDateTime now_;
};

}  // namespace paltrix
