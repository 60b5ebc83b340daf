#pragma once

// A timebase whose clock moves only when the library sleeps or waits, so tick-counted waits
// run at once and can be observed step by step.

#include <poll.h>

#include <functional>

#include "port/timebase.h"

namespace tavix::testing {

class FakeTimebase final : public Timebase {
 public:
  FakeTimebase() { SetTimebaseForTesting(this); }
  ~FakeTimebase() override { SetTimebaseForTesting(nullptr); }

  std::uint64_t NowMs() override { return now_; }

  void Sleep(std::uint32_t milliseconds) override {
    if (onSleep) onSleep(milliseconds);
    now_ += milliseconds;
  }

  short WaitForDevice(int descriptor, short events, std::uint32_t milliseconds) override {
    pollfd entry{descriptor, events, 0};
    if (::poll(&entry, 1, 0) > 0) return entry.revents;
    now_ += milliseconds;
    return 0;
  }

  // Called with the length of every sleep, before the clock moves.
  std::function<void(std::uint32_t)> onSleep;

 private:
  std::uint64_t now_ = 1'000'000;
};

}  // namespace tavix::testing
