// Receive notification: the event mask, the notification thread and the library's own
// notification routine.

#include "port/receive_notify.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QCoreApplication>
#include <cstdint>
#include <system_error>

#include "port/comm_notify_event.h"
#include "port/system_calls.h"

namespace tavix {
namespace {

// How often the routine looks again while received bytes wait to be read: the receiver reads
// them in its own time, and a new notification goes out only when it has read or more arrived.
constexpr int kUnreadRecheckMs = 20;

void WakeNotificationThread(const PortRecord& record) {
  const std::uint64_t one = 1;
  if (record.notify.wakeDescriptor >= 0) [[maybe_unused]]
    auto ignored = ::write(record.notify.wakeDescriptor, &one, sizeof one);
}

void SetEventMask(PortRecord& record, std::uint32_t mask) {
  record.notify.eventMask = mask;
  WakeNotificationThread(record);
}

void Notify(PortRecord& record, int port) {
  if (TavixWindow window = record.notify.window.load();
      window != nullptr && QCoreApplication::instance() != nullptr)
    QCoreApplication::postEvent(static_cast<QObject*>(window), new CommNotifyEvent(port));
  if (TavixReceiveCallback callback = record.notify.callback.load(); callback != nullptr)
    callback(port, TAVIX_CN_EVENT, record.notify.callbackContext.load());
}

bool HasNotificationTarget(const PortRecord& record) {
  return record.notify.window.load() != nullptr || record.notify.callback.load() != nullptr;
}

void RunNotificationThread(PortRecord* record, TavixThreadRoutine routine, int port) {
  // One step below normal priority, as the receiver's own work matters more.
  errno = 0;
  const int priority = ::getpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()));
  if (errno == 0) ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), priority + 1);
  routine(port);
  record->notify.threadRunning = false;
}

}  // namespace

void StopNotification(PortRecord& record) {
  record.notify.active = 0;
  SetEventMask(record, 0);
  if (record.notify.thread.joinable()) record.notify.thread.join();
  record.notify.window = nullptr;
  record.notify.callback = nullptr;
}

}  // namespace tavix

using namespace tavix;

extern "C" int32_t SetReceiveNotify(int32_t port, TavixWindow window, int32_t enable) {
  PortRecord* record = OpenPortRecord(port);
  if (record == nullptr) return 1;
  if (enable != 0) {
    SetEventMask(*record, kEventRxChar);
    record->notify.window = window;
    record->state.notifyEnabled = enable;
    record->notify.active = 1;
  } else {
    SetEventMask(*record, 0);
    record->notify.active = 0;
    record->notify.window = nullptr;
    record->state.notifyEnabled = 0;
  }
  return 0;
}

extern "C" int32_t SetReceiveCallback(int32_t port, TavixReceiveCallback callback, void* context) {
  PortRecord* record = OpenPortRecord(port);
  if (record == nullptr) return 1;
  record->notify.callbackContext = context;
  record->notify.callback = callback;
  return 0;
}

extern "C" void SuspendReceiveNotify(int32_t port, int32_t suspend) {
  PortRecord* record = OpenPortRecord(port);
  if (record == nullptr || !HasNotificationTarget(*record)) return;
  SetEventMask(*record, suspend != 0 ? 0 : kEventRxChar);
}

extern "C" int32_t ComNotifyThread(int32_t port, int32_t start, TavixThreadRoutine routine) {
  PortRecord* record = PortSlot(port);
  if (record == nullptr) return 1;
  NotifyState& notify = record->notify;
  if (start == 0) {
    if (notify.thread.joinable()) notify.thread.join();
    return 0;
  }
  if (notify.threadRunning) return 2;
  if (notify.thread.joinable()) notify.thread.join();  // ended by itself since the last start
  if (routine == nullptr) return 1;
  notify.threadRunning = true;
  try {
    notify.thread = std::thread(RunNotificationThread, record, routine, port);
  } catch (const std::system_error&) {
    notify.threadRunning = false;
    DisplayMessage(nullptr, "Create Thread", TAVIX_MB_ICONSTOP, "%s",
                   "Unable To Create COMM Event Thread!");
    return 1;
  }
  return 0;
}

extern "C" int32_t ComNotifyRoutine(int32_t port) {
  PortRecord* record = OpenPortRecord(port);
  if (record == nullptr) return 0;
  NotifyState& notify = record->notify;
  const int device = record->state.device;
  std::size_t lastQueued = 0;
  std::uint64_t lastGeneration = notify.readGeneration.load();
  while (notify.active != 0 && notify.eventMask.load() != 0) {
    int queued = 0;
    if (::ioctl(device, FIONREAD, &queued) != 0) break;
    const auto count = static_cast<std::size_t>(queued > 0 ? queued : 0);
    const std::uint64_t generation = notify.readGeneration.load();
    if (count > 0 && (count > lastQueued || generation != lastGeneration)) {
      Notify(*record, port);
      lastGeneration = generation;
    }
    lastQueued = count;

    pollfd waits[2] = {{notify.wakeDescriptor, POLLIN, 0}, {device, POLLIN, 0}};
    const nfds_t waitCount = count == 0 ? 2 : 1;
    const int ready = RetryOnInterrupt(
        [&] { return ::poll(waits, waitCount, count == 0 ? -1 : kUnreadRecheckMs); });
    if (ready < 0) break;
    if (waits[0].revents & POLLIN) {
      std::uint64_t ignored = 0;
      [[maybe_unused]] auto drained = ::read(notify.wakeDescriptor, &ignored, sizeof ignored);
    }
    if (waitCount == 2 && (waits[1].revents & (POLLERR | POLLHUP | POLLNVAL))) break;
  }
  return 0;
}
