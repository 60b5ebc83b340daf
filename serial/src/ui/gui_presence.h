#pragma once

#include <QApplication>
#include <QThread>

namespace tavix {

// True when the caller runs a QApplication and calls from its thread: only then does the
// library show windows. Otherwise messages go to standard error.
inline bool CanShowWindows() {
  const QCoreApplication* application = QCoreApplication::instance();
  return qobject_cast<const QApplication*>(application) != nullptr &&
         QThread::currentThread() == application->thread();
}

}  // namespace tavix
