#include "port/port_io.h"

#include <linux/serial.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "port/port_access.h"
#include "port/system_calls.h"
#include "port/timebase.h"

namespace tavix {
namespace {

// One tick: the longest a wait runs before it processes the caller's events again.
constexpr std::uint32_t kWaitSliceMs = TAVIX_TICK_MS;

std::uint64_t TimeoutMs(std::chrono::milliseconds timeout) {
  return static_cast<std::uint64_t>(std::max<std::int64_t>(timeout.count(), 0));
}

std::size_t ReadAheadSize(const PortState& state) {
  return state.readTail - state.readHead;
}

std::size_t DeviceInputQueued(const PortState& state) {
  int count = 0;
  if (::ioctl(state.device, FIONREAD, &count) != 0 || count < 0) return 0;
  return static_cast<std::size_t>(count);
}

// Reads what the device has queued into buffer, without waiting.
std::size_t ReadDevice(PortRecord& record, std::uint8_t* buffer, std::size_t size) {
  if (size == 0) return 0;
  const ssize_t got = RetryOnInterrupt([&] { return ::read(record.state.device, buffer, size); });
  record.notify.readGeneration.fetch_add(1, std::memory_order_relaxed);
  return got > 0 ? static_cast<std::size_t>(got) : 0;
}

std::size_t TakeFromReadAhead(PortState& state, std::span<std::uint8_t> buffer) {
  const std::size_t count = std::min(buffer.size(), ReadAheadSize(state));
  std::memcpy(buffer.data(), state.readAhead.data() + state.readHead, count);
  state.readHead += count;
  return count;
}

void RefillReadAhead(PortRecord& record) {
  PortState& state = record.state;
  state.readHead = 0;
  state.readTail = ReadDevice(record, state.readAhead.data(), state.readAhead.size());
}

}  // namespace

void CountLineErrors(PortRecord& record) {
  PortState& state = record.state;
  serial_icounter_struct counts{};
  if (::ioctl(state.device, TIOCGICOUNT, &counts) != 0) return;  // no UART behind the device
  const auto overruns = static_cast<std::uint64_t>(counts.overrun);
  const auto bufferOverruns = static_cast<std::uint64_t>(counts.buf_overrun);
  if (overruns > state.errorBaseline.overruns)
    state.overrunErrors += static_cast<std::uint32_t>(overruns - state.errorBaseline.overruns);
  if (bufferOverruns > state.errorBaseline.bufferOverruns)
    state.rxQueueOverruns +=
        static_cast<std::uint32_t>(bufferOverruns - state.errorBaseline.bufferOverruns);
  state.errorBaseline = {overruns, bufferOverruns};
}

std::size_t QueuedInputOf(PortRecord& record) {
  return ReadAheadSize(record.state) + DeviceInputQueued(record.state);
}

std::size_t PendingOutputOf(PortRecord& record) {
  int count = 0;
  if (::ioctl(record.state.device, TIOCOUTQ, &count) != 0 || count < 0) return 0;
  return static_cast<std::size_t>(count);
}

std::size_t TakeInput(PortRecord& record, std::span<std::uint8_t> buffer) {
  const std::size_t fromReadAhead = TakeFromReadAhead(record.state, buffer);
  return fromReadAhead +
         ReadDevice(record, buffer.data() + fromReadAhead, buffer.size() - fromReadAhead);
}

int TakeByte(PortRecord& record) {
  PortState& state = record.state;
  if (ReadAheadSize(state) == 0) RefillReadAhead(record);
  if (ReadAheadSize(state) == 0) return -1;
  return state.readAhead[state.readHead++];
}

void DiscardInput(PortRecord& record) {
  record.state.readHead = record.state.readTail = 0;
  ::tcflush(record.state.device, TCIFLUSH);
}

void DiscardOutput(PortRecord& record) {
  ::tcflush(record.state.device, TCOFLUSH);
}

std::size_t WriteToDevice(PortRecord& record, std::span<const std::uint8_t> bytes,
                          TavixWindow window) {
  Timebase& clock = CurrentTimebase();
  std::size_t written = 0;
  std::uint64_t lastProgress = clock.NowMs();
  while (written < bytes.size()) {
    const ssize_t sent = RetryOnInterrupt([&] {
      return ::write(record.state.device, bytes.data() + written, bytes.size() - written);
    });
    if (sent > 0) {
      written += static_cast<std::size_t>(sent);
      lastProgress = clock.NowMs();
      continue;
    }
    if (sent < 0 && errno != EAGAIN && errno != EWOULDBLOCK) break;
    const std::uint64_t idle = clock.NowMs() - lastProgress;
    const auto limit = static_cast<std::uint64_t>(kWriteTimeout.count());
    if (idle >= limit) break;
    const auto slice =
        static_cast<std::uint32_t>(std::min<std::uint64_t>(kWaitSliceMs, limit - idle));
    if (clock.WaitForDevice(record.state.device, POLLOUT, slice) & (POLLERR | POLLNVAL)) break;
    if (!ProcessEvents(window)) break;
  }
  return written;
}

// --- The internal interface of port_access.h -------------------------------------------

bool IsPortOpen(int port) {
  return OpenPortRecord(port) != nullptr;
}

int PortDescriptor(int port) {
  const PortRecord* record = OpenPortRecord(port);
  return record != nullptr ? record->state.device : -1;
}

std::size_t ReceiveQueueSize(int port) {
  const PortRecord* record = OpenPortRecord(port);
  return record != nullptr ? record->state.rxQueueSize : 0;
}

TransferOptions PortTransferOptions(int port) {
  const PortRecord* record = OpenPortRecord(port);
  if (record == nullptr) return {};
  const PortState& state = record->state;
  return {state.asciiQuiet != 0, state.zmodemResume != 0, state.fullPathNames != 0,
          state.ignoreCarrier != 0};
}

std::size_t WriteBlock(int port, std::span<const std::uint8_t> bytes, TavixWindow window) {
  PortRecord* record = OpenPortRecord(port);
  return record != nullptr ? WriteToDevice(*record, bytes, window) : 0;
}

std::size_t ReadAvailable(int port, std::span<std::uint8_t> buffer,
                          std::chrono::milliseconds timeout, TavixWindow window) {
  PortRecord* record = OpenPortRecord(port);
  if (record == nullptr || buffer.empty()) return 0;
  buffer = buffer.first(std::min<std::size_t>(buffer.size(), record->state.rxQueueSize));
  std::size_t got = 0;
  RetryUntilInput(*record, TimeoutMs(timeout), window, true,
                  [&] { return (got = TakeInput(*record, buffer)) > 0; });
  return got;
}

int ReadByte(int port, std::chrono::milliseconds timeout, TavixWindow window) {
  PortRecord* record = OpenPortRecord(port);
  if (record == nullptr) return kReadTimedOut;
  int byte = -1;
  RetryUntilInput(*record, TimeoutMs(timeout), window, true,
                  [&] { return (byte = TakeByte(*record)) >= 0; });
  return byte >= 0 ? byte : kReadTimedOut;
}

std::size_t QueuedInput(int port) {
  PortRecord* record = OpenPortRecord(port);
  return record != nullptr ? QueuedInputOf(*record) : 0;
}

std::size_t TakeReadAhead(int port, std::span<std::uint8_t> buffer) {
  PortRecord* record = OpenPortRecord(port);
  if (record == nullptr) return 0;
  return TakeFromReadAhead(record->state, buffer);
}

bool UnreadByte(int port, std::uint8_t byte) {
  PortRecord* record = OpenPortRecord(port);
  if (record == nullptr) return false;
  PortState& state = record->state;
  // Every byte read goes through the read-ahead, so the last one is still just before readHead.
  if (state.readHead == 0 || state.readAhead[state.readHead - 1] != byte) return false;
  --state.readHead;
  return true;
}

void PurgeInput(int port) {
  if (PortRecord* record = OpenPortRecord(port); record != nullptr) DiscardInput(*record);
}

bool DrainOutput(int port, std::chrono::milliseconds timeout) {
  PortRecord* record = OpenPortRecord(port);
  if (record == nullptr) return false;
  Timebase& clock = CurrentTimebase();
  const std::uint64_t start = clock.NowMs();
  while (PendingOutputOf(*record) > 0) {
    if (clock.NowMs() - start >= static_cast<std::uint64_t>(timeout.count())) return false;
    clock.Sleep(5);
  }
  return true;
}

}  // namespace tavix
