#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <functional>
#include <memory>

namespace paltrix::app {

// Turns SIGINT, SIGTERM and SIGHUP into a call of `onSignal` on the Qt event
// loop, so that Ctrl+C or a shutdown closes the program the way its own close
// command does (and the desktop setting is restored) instead of killing it.
// The previous handlers are put back when the object goes away.
//
// REQUIRES: at most one instance at a time; created on the GUI thread.
class TerminationSignals final : public QObject {
  Q_OBJECT

 public:
  explicit TerminationSignals(std::function<void()> onSignal);
  ~TerminationSignals() override;

  // False when the handlers could not be installed (the program then ends on
  // those signals as it would without this object).
  bool installed() const { return notifier_ != nullptr; }

 private:
  std::function<void()> onSignal_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace paltrix::app
