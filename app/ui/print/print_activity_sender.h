#pragma once

#include <QObject>
#include <thread>

#include "net/print_activity_report.h"

namespace paltrix::app::print {

// Sends the print-activity report off the GUI thread and delivers exactly one
// completion, as a queued signal on the thread that owns this object: the
// service answered, or the report failed (not configured, unreachable,
// silent past the time-out). The failure is not shown to the operator; its
// reason goes to standard error when the network trace is switched on.
class PrintActivitySender final : public QObject {
  Q_OBJECT

 public:
  explicit PrintActivitySender(QObject* parent = nullptr) : QObject(parent) {}
  // Waits for an outstanding report (bounded by its time-out).
  ~PrintActivitySender() override;

  // Starts the report. Without a configured service nothing is sent and the
  // error completion follows at once. REQUIRES: no report is outstanding.
  void Send(const net::PrintActivitySettings& settings, const net::PrintActivity& activity);

 signals:
  void completed(bool received);

 private:
  std::thread worker_;
};

}  // namespace paltrix::app::print
