// The notification thread: one notification per wake-up, to a callback or a Qt object.

#include <QCoreApplication>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "port/comm_notify_event.h"
#include "port_fixture.h"

namespace tavix::testing {
namespace {

using namespace std::chrono_literals;

struct NotificationLog {
  std::mutex mutex;
  std::condition_variable arrived;
  int count = 0;
  int port = -1;
  int code = 0;

  static void Record(int32_t port, int32_t code, void* context) {
    auto* log = static_cast<NotificationLog*>(context);
    std::lock_guard lock(log->mutex);
    ++log->count;
    log->port = port;
    log->code = code;
    log->arrived.notify_all();
  }

  bool WaitFor(int wanted) {
    std::unique_lock lock(mutex);
    return arrived.wait_for(lock, 10s, [&] { return count >= wanted; });
  }
};

TEST_F(PortTest, CallbackHearsOfArrivingBytesUntilStopped) {
  NotificationLog log;
  ASSERT_EQ(SetReceiveCallback(kPort, &NotificationLog::Record, &log), 0);
  ASSERT_EQ(SetReceiveNotify(kPort, nullptr, 1), 0);
  ASSERT_EQ(ComNotifyThread(kPort, 1, ComNotifyRoutine), 0);
  EXPECT_EQ(ComNotifyThread(kPort, 1, ComNotifyRoutine), 2);

  SendFromPeer("first");
  ASSERT_TRUE(log.WaitFor(1));
  EXPECT_EQ(log.port, kPort);
  EXPECT_EQ(log.code, TAVIX_CN_EVENT);
  std::uint8_t buffer[8200];
  EXPECT_EQ(ComGetb(kPort, buffer), 5);

  SendFromPeer("second");  // drained and refilled: a new wake-up
  ASSERT_TRUE(log.WaitFor(2));

  // Suspended, the thread ends; the stop call returns once it has.
  SuspendReceiveNotify(kPort, 1);
  EXPECT_EQ(ComNotifyThread(kPort, 0, nullptr), 0);
  EXPECT_EQ(SetReceiveNotify(kPort, nullptr, 0), 0);
  EXPECT_EQ(ComNotifyThread(kPort, 0, nullptr), 0);  // none runs: returns at once
}

TEST_F(PortTest, NotificationIsPostedToTheWindowAsAnEvent) {
  int argc = 1;
  char name[] = "receive_notify_test";
  char* argv[] = {name, nullptr};
  QCoreApplication application(argc, argv);

  class Receiver : public QObject {
   public:
    int port = -1;
    bool event(QEvent* event) override {
      if (event->type() != static_cast<QEvent::Type>(TAVIX_COMMNOTIFY_EVENT))
        return QObject::event(event);
      port = static_cast<CommNotifyEvent*>(event)->port();
      return true;
    }
  } window;

  ASSERT_EQ(SetReceiveNotify(kPort, &window, 1), 0);
  ASSERT_EQ(ComNotifyThread(kPort, 1, ComNotifyRoutine), 0);
  SendFromPeer("ring");
  for (int round = 0; round < 200 && window.port < 0; ++round) ComDelay(nullptr, 1);
  EXPECT_EQ(window.port, kPort);
  EXPECT_EQ(SetReceiveNotify(kPort, &window, 0), 0);
  EXPECT_EQ(ComNotifyThread(kPort, 0, nullptr), 0);
}

TEST_F(PortTest, ClosingThePortStopsARunningNotificationThread) {
  ASSERT_EQ(SetReceiveNotify(kPort, nullptr, 1), 0);
  ASSERT_EQ(ComNotifyThread(kPort, 1, ComNotifyRoutine), 0);
  ResetPort(kPort, kOwner);
  EXPECT_EQ(GetWindowsPort(kPort), -1);
  EXPECT_EQ(ComNotifyThread(kPort, 0, nullptr), 0);
}

}  // namespace
}  // namespace tavix::testing
