#pragma once

// The library's clock and its waits on a device, behind one interface so tests can run the
// tick-counted waits (ComDelay, ModemPuts, the write time-out) without waiting for real.

#include <cstdint>

namespace tavix {

class Timebase {
 public:
  virtual ~Timebase() = default;
  // Milliseconds since an arbitrary start; never goes back.
  virtual std::uint64_t NowMs() = 0;
  virtual void Sleep(std::uint32_t milliseconds) = 0;
  // Waits up to `milliseconds` for `events` (poll flags) on `descriptor`; returns the events
  // that occurred (0 on time-out, POLLERR when the wait itself failed).
  virtual short WaitForDevice(int descriptor, short events, std::uint32_t milliseconds) = 0;
};

Timebase& CurrentTimebase();

// Replaces the timebase; nullptr restores the real one. For tests.
void SetTimebaseForTesting(Timebase* timebase);

}  // namespace tavix
