#pragma once

// The process-wide table of 20 port records. A record is reset as a whole by every open, so
// counters and options start at zero.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <thread>
#include <vector>

#include "port/line_control.h"
#include "tavix32.h"

namespace tavix {

inline constexpr int kPortCount = TAVIX_PORT_COUNT;

// The "character received" event of the notification mask.
inline constexpr std::uint32_t kEventRxChar = 0x0001;

// Driver-reported error totals at the last count, to turn cumulative counts into increments.
struct LineErrorBaseline {
  std::uint64_t overruns = 0;
  std::uint64_t bufferOverruns = 0;
};

// Everything an open resets to zero.
struct PortState {
  bool isOpen = false;
  std::uintptr_t ownerTag = 0;
  int device = -1;
  std::uint16_t rxQueueSize = 0;
  std::uint16_t txQueueSize = 0;
  int ctsRtsFlow = 0;
  int xonXoffFlow = 0;
  int dsrDtrFlow = 0;
  int notifyEnabled = 0;
  std::uint32_t ctsTimeouts = 0;
  std::uint32_t dsrTimeouts = 0;
  std::uint32_t overrunErrors = 0;
  std::uint32_t rxQueueOverruns = 0;
  std::uint32_t txQueueFull = 0;
  int asciiQuiet = 0;
  int zmodemResume = 0;
  int fullPathNames = 0;
  int ignoreCarrier = 0;
  TavixProgressCallback progressCallback = nullptr;
  void* progressContext = nullptr;
  LineControl control;
  LineErrorBaseline errorBaseline;
  // Bytes read from the device but not yet handed out: readAhead[readHead, readTail).
  std::vector<std::uint8_t> readAhead;
  std::size_t readHead = 0;
  std::size_t readTail = 0;
};

// What the caller's thread and the notification thread share.
struct NotifyState {
  std::atomic<int> active{0};
  std::atomic<TavixWindow> window{nullptr};
  std::atomic<std::uint32_t> eventMask{0};
  std::atomic<TavixReceiveCallback> callback{nullptr};
  std::atomic<void*> callbackContext{nullptr};
  // Counts the caller's reads from the device, so the notification thread sees that the
  // receiver has been draining the queue.
  std::atomic<std::uint64_t> readGeneration{0};
  std::atomic<bool> threadRunning{false};
  std::thread thread;
  // Written to wake the notification thread when the event mask changes.
  int wakeDescriptor = -1;
};

struct PortRecord {
  PortState state;
  NotifyState notify;
};

// The record of an index 0..19, or nullptr for any other index.
PortRecord* PortSlot(int port);

// The record of an open index 0..19, or nullptr.
PortRecord* OpenPortRecord(int port);

}  // namespace tavix
