#include "port/timebase.h"

#include <poll.h>

#include <chrono>
#include <thread>

#include "port/system_calls.h"

namespace tavix {
namespace {

class SystemTimebase final : public Timebase {
 public:
  std::uint64_t NowMs() override {
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
  }

  void Sleep(std::uint32_t milliseconds) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }

  short WaitForDevice(int descriptor, short events, std::uint32_t milliseconds) override {
    pollfd entry{descriptor, events, 0};
    const int ready =
        RetryOnInterrupt([&] { return ::poll(&entry, 1, static_cast<int>(milliseconds)); });
    if (ready < 0) return POLLERR;
    return ready == 0 ? 0 : entry.revents;
  }
};

SystemTimebase systemTimebase;
Timebase* current = &systemTimebase;

}  // namespace

Timebase& CurrentTimebase() {
  return *current;
}

void SetTimebaseForTesting(Timebase* timebase) {
  current = timebase != nullptr ? timebase : &systemTimebase;
}

}  // namespace tavix
