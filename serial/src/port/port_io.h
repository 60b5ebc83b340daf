#pragma once

// The port's queues over its device: the receive side is the library's read-ahead in front of
// the device's input queue, the transmit side the device's output queue. Callers pass an open
// record.

#include <cstddef>
#include <cstdint>
#include <span>

#include "port/port_table.h"

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

}  // namespace tavix
