#pragma once

// The port's queues over its device: the receive side is the library's read-ahead in front of
// the device's input queue, the transmit side the device's output queue. Callers pass an open
// record.

#include <poll.h>

#include <cstddef>
#include <cstdint>
#include <span>

#include "port/port_access.h"
#include "port/port_table.h"
#include "port/timebase.h"

namespace tavix {

// Adds the overruns the driver has counted since the last call to the record's counters.
void CountLineErrors(PortRecord& record);

// Bytes received and not yet read: the read-ahead plus the device's input queue.
std::size_t QueuedInputOf(PortRecord& record);

// Bytes written and not yet sent by the device.
std::size_t PendingOutputOf(PortRecord& record);

// Moves up to buffer.size() queued bytes into buffer without waiting; returns the count.
std::size_t TakeInput(PortRecord& record, std::span<std::uint8_t> buffer);

// The next queued byte, or -1 when none is queued.
int TakeByte(PortRecord& record);

// Drops the read-ahead and the device's input queue.
void DiscardInput(PortRecord& record);

// Drops the device's output queue.
void DiscardOutput(PortRecord& record);

// Writes the bytes, waiting while the device is full; stops when it accepts nothing for the
// write time-out or `window` is being closed. Returns the count written.
std::size_t WriteToDevice(PortRecord& record, std::span<const std::uint8_t> bytes,
                          TavixWindow window);

// Runs `attempt` (which returns true once it got what it waits for) until it succeeds or
// `timeoutMs` has passed; in between waits up to one tick for input on the device and processes
// the caller's events. A closing `window` ends the wait early when stopOnClose is set; otherwise
// the close is left for the caller to find after the wait. Returns the last attempt's answer.
template <typename Attempt>
bool RetryUntilInput(PortRecord& record, std::uint64_t timeoutMs, TavixWindow window,
                     bool stopOnClose, Attempt attempt) {
  // The clock is read only once the first attempt failed: a transfer reads most of its bytes
  // straight from the read-ahead, and a clock read per byte would cost more than the byte.
  if (attempt()) return true;
  Timebase& clock = CurrentTimebase();
  const std::uint64_t start = clock.NowMs();
  for (;;) {
    const std::uint64_t waited = clock.NowMs() - start;
    if (waited >= timeoutMs) return false;
    const std::uint64_t slice =
        timeoutMs - waited < TAVIX_TICK_MS ? timeoutMs - waited : TAVIX_TICK_MS;
    if (clock.WaitForDevice(record.state.device, POLLIN, static_cast<std::uint32_t>(slice)) &
        (POLLERR | POLLNVAL))
      return attempt();
    if (!ProcessEvents(window) && stopOnClose) return false;
    if (attempt()) return true;
  }
}

}  // namespace tavix
