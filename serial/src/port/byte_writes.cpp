// The writers. Their bytes reach the device in blocks: one system call per block while the
// device takes it, never one per byte.

#include <sys/ioctl.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "port/crc.h"
#include "port/port_access.h"
#include "port/port_io.h"
#include "port/port_table.h"
#include "port/timebase.h"

using namespace tavix;

namespace {

constexpr std::uint8_t kCan = 0x18;
constexpr std::uint8_t kBackspace = 0x08;
constexpr int32_t kModemPauseTicks = 9;
constexpr int32_t kBreakTicks = 4;

void Write(int32_t port, const std::uint8_t* bytes, std::size_t length) {
  if (PortRecord* record = OpenPortRecord(port); record != nullptr && length > 0)
    WriteToDevice(*record, {bytes, length}, nullptr);
}

}  // namespace

extern "C" int32_t ComPutc(int32_t port, int32_t byte) {
  PortRecord* record = OpenPortRecord(port);
  if (record == nullptr) return 0;
  Timebase& clock = CurrentTimebase();
  const std::uint64_t start = clock.NowMs();
  bool reportedFull = false;
  for (;;) {
    CountLineErrors(*record);
    if (PendingOutputOf(*record) < record->state.txQueueSize) break;
    if (!reportedFull) ++record->state.txQueueFull;
    reportedFull = true;
    // A line held by flow control for good would make this wait endless: give up like a write.
    if (clock.NowMs() - start >= static_cast<std::uint64_t>(kWriteTimeout.count())) return 0;
    ComDelay(nullptr, 1);
  }
  const auto value = static_cast<std::uint8_t>(byte);
  return WriteToDevice(*record, {&value, 1}, nullptr) == 1 ? 1 : 0;
}

extern "C" void ComPutb(int32_t port, const uint8_t* buffer, int32_t length) {
  if (buffer != nullptr && length > 0) Write(port, buffer, static_cast<std::size_t>(length));
}

extern "C" void ComPuts(int32_t port, const char* text) {
  if (text != nullptr) Write(port, reinterpret_cast<const std::uint8_t*>(text), std::strlen(text));
}

extern "C" int32_t ComPutbCRC(int32_t port, const uint8_t* buffer, int32_t length) {
  PortRecord* record = OpenPortRecord(port);
  if (record == nullptr) return 0;
  const std::size_t size = buffer != nullptr && length > 0 ? static_cast<std::size_t>(length) : 0;
  const std::uint32_t crc = size > 0 ? Crc32({buffer, size}) : 0;
  std::vector<std::uint8_t> block(size + 4);
  if (size > 0) std::memcpy(block.data(), buffer, size);
  for (std::size_t i = 0; i < 4; ++i) block[size + i] = static_cast<std::uint8_t>(crc >> (8 * i));
  return WriteToDevice(*record, block, nullptr) == block.size() ? 1 : 0;
}

extern "C" void ModemPuts(int32_t port, const char* command) {
  if (command == nullptr) return;
  std::string pending;
  auto flush = [&] {
    Write(port, reinterpret_cast<const std::uint8_t*>(pending.data()), pending.size());
    pending.clear();
  };
  for (const char* at = command; *at != '\0'; ++at) {
    if (at[0] == '^' && at[1] == 'M') {
      pending += '\r';
      ++at;
    } else if (at[0] == '~') {
      flush();
      ComDelay(nullptr, kModemPauseTicks);
    } else {
      pending += *at;
    }
  }
  flush();
}

extern "C" void CancelTransfer(int32_t port) {
  std::uint8_t sequence[20];
  std::memset(sequence, kCan, 10);
  std::memset(sequence + 10, kBackspace, 10);
  Write(port, sequence, sizeof sequence);
}

extern "C" int32_t SendBreak(int32_t port) {
  PortRecord* record = OpenPortRecord(port);
  if (record == nullptr) return 0;
  ClrTransBuf(port);
  ::ioctl(record->state.device, TIOCSBRK);
  ComDelay(nullptr, kBreakTicks);
  return ::ioctl(record->state.device, TIOCCBRK) == 0 ? 1 : 0;
}
