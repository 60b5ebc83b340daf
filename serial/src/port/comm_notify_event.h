#pragma once

// The Qt event the library's notification routine posts to a port's notification window, once
// per wake-up of the notification thread (type TAVIX_COMMNOTIFY_EVENT).

#include <QEvent>

#include "tavix32.h"

namespace tavix {

class CommNotifyEvent final : public QEvent {
 public:
  explicit CommNotifyEvent(int port)
      : QEvent(static_cast<QEvent::Type>(TAVIX_COMMNOTIFY_EVENT)), port_(port) {}

  int port() const { return port_; }
  int code() const { return TAVIX_CN_EVENT; }

 private:
  int port_;
};

static_assert(TAVIX_COMMNOTIFY_EVENT == QEvent::User + 0x44);

}  // namespace tavix
