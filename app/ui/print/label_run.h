#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <string>
#include <thread>
#include <vector>

class QWidget;

#include "app/dispatch/print_run.h"
#include "app/records/record_context.h"
#include "app/settings/printer_settings.h"
#include "framework/clock.h"
#include "framework/errors/error_manager.h"
#include "output/spooler.h"

namespace paltrix::app::print {

// One label run of a print window. The ZPL formats run on a worker thread, so
// that the window stays responsive while the pallets are sent (a 6-inch run
// pauses "WAIT" seconds after each). The page formats paint on the GUI thread,
// in the page printing's own windows (the preview when asked, then
// "Udskriver...", which keeps the events flowing). Progress and the end of
// the run arrive as signals on the thread that owns this object, the end
// always after Start() has returned.
//
// While the run is going, the worker uses the record context (its session,
// the Firma file and the Produkt and Firma buffers) and the process's Printer
// record; the window must not touch them until finished() (the windows keep
// their inputs disabled meanwhile). Clipboard copies are handed to the GUI
// thread.
class LabelRun final : public QObject {
  Q_OBJECT

 public:
  // How a page format's run is shown: its windows open on `window` (may be
  // null), with the preview of the queued pages first when `previewFirst`.
  struct PageWindows {
    QWidget* window = nullptr;
    bool previewFirst = false;
  };

  // REQUIRES: the context, clock, spooler and error manager outlive this
  // object.
  LabelRun(records::RecordContext& records, const Clock& clock, output::Spooler& spooler,
           errors::ErrorManager& errors, QObject* parent = nullptr);
  // Waits for a run that is still going.
  ~LabelRun() override;

  // Opens the Firma file and re-reads the sender (on this thread, so a
  // failure is reported here) and starts the dispatch for `job` on the record buffers as they are
  // now; a page format runs to its end before this returns. Returns the
  // file's failure without starting. REQUIRES: !running().
  Status Start(const dispatch::PrintJob& job, const settings::PrinterSettings& printerSettings,
               const PageWindows& pageWindows);

  // From Start() until finished() has been emitted.
  bool running() const { return running_; }

  // After finished(): what the dispatch returned, and for each stream sent
  // the reason it failed (empty when it reached the printer).
  const Result<dispatch::PrintOutcome>& outcome() const { return *outcome_; }
  const std::vector<std::string>& failureReasons() const { return failureReasons_; }

 signals:
  // The pallet `number` of `total` is about to be sent; `sscc` is empty for
  // labels without one.
  void palletSending(int number, int total, const QString& sscc);
  void finished();

 private:
  class ProgressServices;

  dispatch::PrintBuffers Buffers();
  void Finish();

  records::RecordContext& records_;
  const Clock& clock_;
  output::Spooler& spooler_;
  errors::ErrorManager& errors_;
  std::unique_ptr<Result<dispatch::PrintOutcome>> outcome_;
  std::vector<std::string> failureReasons_;
  std::thread worker_;
  bool running_ = false;
};

}  // namespace paltrix::app::print
