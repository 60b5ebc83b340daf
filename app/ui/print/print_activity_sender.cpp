#include "app/ui/print/print_activity_sender.h"

#include <fmt/format.h>

#include <QCoreApplication>
#include <QStringList>
#include <string>
#include <vector>

#include "app/ui/network_trace.h"

namespace paltrix::app::print {
namespace {

// The report's failures are written only when the command line asks for the
// network layer's trace.
bool TracingOn() {
  std::vector<std::string> arguments;
  for (const QString& argument : QCoreApplication::arguments().mid(1)) {
    arguments.push_back(argument.toStdString());
  }
  return NetworkTracingRequested(arguments);
}

}  // namespace

PrintActivitySender::~PrintActivitySender() {
  if (worker_.joinable()) worker_.join();
}

void PrintActivitySender::Send(const net::PrintActivitySettings& settings,
                               const net::PrintActivity& activity) {
  if (!settings.configured()) {
    QMetaObject::invokeMethod(
        this, [this] { emit completed(false); }, Qt::QueuedConnection);
    return;
  }
  worker_ = std::thread([this, settings, activity, trace = TracingOn()] {
    const Status sent = net::SendPrintActivityReport(settings, activity);
    if (!sent.ok() && trace)
      fmt::print(stderr, "Paltrix: print-activity report: {}\n", sent.ToString());
    QMetaObject::invokeMethod(
        this,
        [this, received = sent.ok()] {
          worker_.join();
          emit completed(received);
        },
        Qt::QueuedConnection);
  });
}

}  // namespace paltrix::app::print
