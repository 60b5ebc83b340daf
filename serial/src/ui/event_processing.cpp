// Waiting with the caller's events processed: ComDelay, and the event step every wait of the
// library takes. A quit request, or a close request for the window the caller names, stops the
// wait; the request is then passed on again so the caller's own event loop acts on it.

#include <QCloseEvent>
#include <QCoreApplication>
#include <QPointer>
#include <QThread>
#include <QWidget>
#include <algorithm>

#include "port/port_access.h"
#include "port/timebase.h"

namespace tavix {
namespace {

// The longest sleep between two rounds of event processing inside ComDelay.
constexpr std::uint32_t kEventRoundMs = 10;

// Catches, while installed on the application, a quit request and a close of one object.
class StopRequestWatcher final : public QObject {
 public:
  explicit StopRequestWatcher(QObject* window) : window_(window) {}

  bool quitRequested() const { return quitRequested_; }
  bool closeRequested() const { return closeRequested_; }

  bool eventFilter(QObject* receiver, QEvent* event) override {
    if (event->type() == QEvent::Quit) {
      quitRequested_ = true;
      return true;
    }
    if (event->type() == QEvent::Close && window_ != nullptr && receiver == window_) {
      closeRequested_ = true;
      event->ignore();
      return true;
    }
    return false;
  }

 private:
  QPointer<QObject> window_;
  bool quitRequested_ = false;
  bool closeRequested_ = false;
};

void PassOnClose(QObject* window) {
  if (auto* widget = qobject_cast<QWidget*>(window); widget != nullptr)
    QMetaObject::invokeMethod(widget, &QWidget::close, Qt::QueuedConnection);
  else
    QCoreApplication::postEvent(window, new QCloseEvent);
}

}  // namespace

bool ProcessEvents(TavixWindow window) {
  QCoreApplication* application = QCoreApplication::instance();
  if (application == nullptr) return true;
  if (QThread::currentThread() != application->thread()) {
    QCoreApplication::processEvents();
    return true;
  }
  auto* target = static_cast<QObject*>(window);
  StopRequestWatcher watcher(target);
  application->installEventFilter(&watcher);
  QCoreApplication::processEvents();
  application->removeEventFilter(&watcher);
  if (watcher.quitRequested()) QCoreApplication::postEvent(application, new QEvent(QEvent::Quit));
  if (watcher.closeRequested()) PassOnClose(target);
  return !watcher.quitRequested() && !watcher.closeRequested();
}

}  // namespace tavix

using namespace tavix;

extern "C" int32_t ComDelay(TavixWindow window, int32_t ticks) {
  Timebase& clock = CurrentTimebase();
  const std::uint64_t start = clock.NowMs();
  const std::uint64_t duration = static_cast<std::uint64_t>(std::max(ticks, 0)) * TAVIX_TICK_MS;
  const bool withEvents = QCoreApplication::instance() != nullptr;
  for (;;) {
    if (!ProcessEvents(window)) return 1;
    const std::uint64_t elapsed = clock.NowMs() - start;
    if (elapsed >= duration) break;
    const std::uint64_t remaining = duration - elapsed;
    clock.Sleep(static_cast<std::uint32_t>(
        withEvents ? std::min<std::uint64_t>(remaining, kEventRoundMs) : remaining));
  }
  // The clock value, kept apart from the 1 of a stopped wait.
  return static_cast<int32_t>(std::max<std::uint64_t>(clock.NowMs() & 0x7FFFFFFF, 2));
}

extern "C" TavixWindow GetParentWindow(TavixWindow window) {
  auto* object = static_cast<QObject*>(window);
  if (object == nullptr) return nullptr;
  if (auto* widget = qobject_cast<QWidget*>(object); widget != nullptr) return widget->window();
  while (object->parent() != nullptr) object = object->parent();
  return object;
}
