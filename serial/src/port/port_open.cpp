// Opening and closing ports, and the per-port options.

#include <fcntl.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <unistd.h>

#include <string>

#include "port/device_path.h"
#include "port/port_access.h"
#include "port/port_io.h"
#include "port/port_table.h"
#include "port/receive_notify.h"
#include "port/system_calls.h"

namespace tavix {
namespace {

constexpr int kSmallestQueue = 128;

std::uint16_t QueueSizeOrDefault(int32_t requested, std::uint16_t fallback) {
  const auto size = static_cast<std::uint16_t>(requested);  // the sizes are 16-bit values
  return size < kSmallestQueue ? fallback : size;
}

int32_t OpenFailureCode(int error) {
  switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
      return TAVIX_PORT_NO_DEVICE;
    case EACCES:
    case EPERM:
    case EBUSY:
    case EWOULDBLOCK:
      return TAVIX_PORT_IN_USE;
    default:
      return TAVIX_PORT_OPEN_FAILED;
  }
}

// Opens the device for this process alone; returns the descriptor or -errno.
int OpenDeviceExclusively(const std::string& path) {
  const int descriptor = RetryOnInterrupt(
      [&] { return ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC); });
  if (descriptor < 0) return -errno;
  if (RetryOnInterrupt([&] { return ::flock(descriptor, LOCK_EX | LOCK_NB); }) != 0) {
    const int error = errno;
    ::close(descriptor);
    return -error;
  }
  return descriptor;
}

}  // namespace
}  // namespace tavix

using namespace tavix;

extern "C" int32_t SetPortEx(int32_t port, uintptr_t ownerTag, int32_t rxQueueSize,
                             int32_t txQueueSize, int32_t ctsRts, int32_t xonXoff, int32_t dsrDtr) {
  PortRecord* record = PortSlot(port);
  if (record == nullptr) return TAVIX_PORT_INVALID;
  if (record->state.isOpen) return TAVIX_PORT_IN_USE;

  const int descriptor = OpenDeviceExclusively(DevicePathForPort(port));
  if (descriptor < 0) return OpenFailureCode(-descriptor);
  const int wake = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  if (wake < 0) {
    ::close(descriptor);
    return TAVIX_PORT_OPEN_FAILED;
  }

  PortState& state = record->state;
  state = PortState{};
  state.ownerTag = ownerTag;
  state.device = descriptor;
  state.rxQueueSize = QueueSizeOrDefault(rxQueueSize, TAVIX_DEFAULT_RX_QUEUE);
  state.txQueueSize = QueueSizeOrDefault(txQueueSize, TAVIX_DEFAULT_TX_QUEUE);
  state.ctsRtsFlow = ctsRts;
  state.xonXoffFlow = xonXoff;
  state.dsrDtrFlow = dsrDtr;
  state.zmodemResume = 1;
  state.readAhead.resize(state.rxQueueSize);
  record->notify.wakeDescriptor = wake;
  record->notify.window = nullptr;
  record->notify.callback = nullptr;
  record->notify.eventMask = 0;
  record->notify.active = 0;
  state.isOpen = true;

  CountLineErrors(*record);  // sets the baseline: errors from before the open do not count
  state.overrunErrors = state.rxQueueOverruns = 0;
  ClrBuf(port);
  Dtr(port, 1);
  return TAVIX_PORT_OPENED;
}

extern "C" int32_t SetPort(int32_t port, uintptr_t ownerTag) {
  return SetPortEx(port, ownerTag, TAVIX_DEFAULT_RX_QUEUE, TAVIX_DEFAULT_TX_QUEUE, 1, 0, 0);
}

extern "C" void ResetPort(int32_t port, uintptr_t ownerTag) {
  PortRecord* record = OpenPortRecord(port);
  if (record == nullptr || record->state.ownerTag != ownerTag) return;
  // A notification thread still waiting on the device must be gone before the descriptor is.
  StopNotification(*record);
  DiscardInput(*record);
  // What was written goes out first: purging at once lost a transfer's last reply (the final
  // ACK) when the caller closed right after it. Only a line that stays stuck is purged.
  if (!DrainOutput(port, kWriteTimeout)) DiscardOutput(*record);
  record->state.isOpen = false;
  ::close(record->state.device);
  record->state.device = -1;
  ::close(record->notify.wakeDescriptor);
  record->notify.wakeDescriptor = -1;
  record->state.notifyEnabled = 0;
}

extern "C" void SetFileXferOptions(int32_t port, int32_t asciiQuiet, int32_t zmodemResume,
                                   int32_t fullPathNames, int32_t ignoreCarrier) {
  PortRecord* record = OpenPortRecord(port);
  if (record == nullptr) return;
  record->state.asciiQuiet = asciiQuiet;
  record->state.zmodemResume = zmodemResume;
  record->state.fullPathNames = fullPathNames;
  record->state.ignoreCarrier = ignoreCarrier;
}

extern "C" int32_t SetTransferProgressCallback(int32_t port, TavixProgressCallback callback,
                                               void* context) {
  PortRecord* record = OpenPortRecord(port);
  if (record == nullptr) return 1;
  record->state.progressCallback = callback;
  record->state.progressContext = context;
  return 0;
}

namespace tavix {

void ReportTransferProgress(int port, const TavixTransferProgress& progress) {
  const PortRecord* record = OpenPortRecord(port);
  if (record != nullptr && record->state.progressCallback != nullptr)
    record->state.progressCallback(port, &progress, record->state.progressContext);
}

}  // namespace tavix

extern "C" int32_t GetWindowsPort(int32_t port) {
  const PortRecord* record = OpenPortRecord(port);
  return record != nullptr ? record->state.device : -1;
}
