// The readers. Each read is limited to the port's receive queue size, so a caller's buffer of
// that size plus one is never overrun.

#include <algorithm>
#include <cstdint>

#include "port/crc.h"
#include "port/port_access.h"
#include "port/port_io.h"
#include "port/port_table.h"

using namespace tavix;

namespace {

constexpr int32_t kGetdTimedOut = -10;

}  // namespace

extern "C" int32_t ComGetc(int32_t port) {
  PortRecord* record = OpenPortRecord(port);
  return record != nullptr ? TakeByte(*record) : -1;
}

extern "C" int32_t ComGetd(int32_t port, TavixWindow window, int32_t seconds) {
  PortRecord* record = OpenPortRecord(port);
  if (record == nullptr) return kGetdTimedOut;
  const std::uint64_t limit =
      static_cast<std::uint64_t>(std::max(seconds, 0)) * TAVIX_TICKS_PER_SECOND * TAVIX_TICK_MS;
  int byte = -1;
  // A closing window does not end the wait: the caller finds the re-posted close afterwards.
  RetryUntilInput(*record, limit, window, false, [&] { return (byte = TakeByte(*record)) >= 0; });
  return byte >= 0 ? byte : kGetdTimedOut;
}

extern "C" int32_t ComGetBlock(int32_t port, uint8_t* buffer, int32_t maximum) {
  PortRecord* record = OpenPortRecord(port);
  if (record == nullptr || buffer == nullptr) return 0;
  CountLineErrors(*record);
  const std::size_t limit = std::min<std::size_t>(static_cast<std::size_t>(std::max(maximum, 0)),
                                                  record->state.rxQueueSize);
  const std::size_t got = TakeInput(*record, {buffer, limit});
  buffer[got] = 0;
  return static_cast<int32_t>(got);
}

extern "C" int32_t ComGetb(int32_t port, uint8_t* buffer) {
  return ComGetBlock(port, buffer, INT32_MAX);
}

extern "C" int32_t ComGets(int32_t port, uint8_t* buffer, uint8_t terminator) {
  PortRecord* record = OpenPortRecord(port);
  if (record == nullptr || buffer == nullptr) return 0;
  CountLineErrors(*record);
  std::size_t stored = 0;
  while (stored < record->state.rxQueueSize) {
    const int byte = TakeByte(*record);
    if (byte < 0 || byte == terminator) break;
    buffer[stored++] = static_cast<std::uint8_t>(byte);
  }
  buffer[stored] = 0;
  return static_cast<int32_t>(stored);
}

extern "C" int32_t ComGetBlockCRC(int32_t port, uint8_t* buffer, int32_t length) {
  if (length < 0 || length > INT32_MAX - 4) return -1;
  const int32_t got = ComGetBlock(port, buffer, length + 4);
  if (got != length + 4) return -1;
  const std::size_t total = static_cast<std::size_t>(got);
  if (Crc32Update(0xFFFFFFFFu, {buffer, total}) != kCrc32Residue) return -1;
  buffer[length] = 0;
  return length;
}
