#include "framework/clock.h"

#include <chrono>
#include <ctime>

namespace paltrix {
namespace {

class LocalSystemClock final : public Clock {
 public:
  LocalDateTime Now() const override {
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    const auto sinceSecond =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()) % 1000;
    return {{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday},
            local.tm_hour,
            local.tm_min,
            local.tm_sec,
            static_cast<int>(sinceSecond.count() / 10)};
  }
};

}  // namespace

std::int32_t Clock::Today() const {
  return fields::DayNumberFromCivil(Now().date).value_or(0);
}

const Clock& SystemClock() {
  static const LocalSystemClock clock;
  return clock;
}

}  // namespace paltrix
