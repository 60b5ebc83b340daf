#pragma once

#include <QCheckBox>
#include <QObject>
#include <QString>
#include <QWidget>
#include <filesystem>
#include <functional>

#include "app/dispatch/print_run.h"
#include "app/records/record_context.h"
#include "app/settings/printer_settings.h"
#include "app/ui/print/label_run.h"
#include "app/ui/print/print_windows.h"
#include "framework/errors/error_manager.h"

namespace paltrix::app::print {

// What the three print paths share: the records and settings read when a
// print window opens, writing the Printer record back before each print, the
// label run off the GUI thread with its progress, and telling the operator
// which labels did not reach the printer.
class PrintSession final : public QObject {
  Q_OBJECT

 public:
  // `window` is the print window: a page format's preview and progress
  // window open on it. REQUIRES: `records` and the services outlive the
  // session.
  PrintSession(records::RecordContext& records, const PrintServices& services, QWidget* window);

  // Reads the first Firma record, the Printer record (record position 1) and
  // the printer keys of the settings INI file. Failures of the records are
  // reported by the error manager; the window opens all the same with what
  // the buffers hold.
  void Open();

  records::RecordContext& records() { return records_; }
  const Clock& clock() const { return clock_; }
  errors::ErrorManager& errors() { return errors_; }
  // The printer keys as read; a window may change them for its runs.
  settings::PrinterSettings& printerSettings() { return printerSettings_; }
  const std::filesystem::path& settingsIniPath() const { return settingsIniPath_; }

  // The run counts' defaults: those a settings window set up, if any
  // (RunCountDefaults), otherwise labels per pallet from PRI:ANTALDETLAB and
  // pallets from FIR:ANTALPALLER.
  labels::RunCounts DefaultCounts();
  // PRI:PRINTER as stored.
  dispatch::LabelFormat Format() const;
  std::string StoredFormatName() const;
  // The stored format prints A5 pages ("Standard", "Limited", "Mixed").
  bool PrintsPages() const;

  // Writes the Printer record back and starts the run; `done` is called on
  // this thread when the run has ended and its problems have been shown.
  // A page format shows the queued pages first when `previewFirst`.
  // Returns false (reported, nothing printed) when the Printer record cannot
  // be written or the run cannot start. REQUIRES: !printing().
  bool Print(const dispatch::PrintJob& job, std::function<void(const dispatch::PrintOutcome*)> done,
             bool previewFirst = false);
  bool printing() const { return run_.running(); }

 signals:
  // "Sender palle 2 af 5 (SSCC ...)" while a run is going.
  void progress(const QString& text);

 private:
  void ReportProblems();

  records::RecordContext& records_;
  const Clock& clock_;
  errors::ErrorManager& errors_;
  LabelRun run_;
  QWidget* window_;
  settings::PrinterSettings printerSettings_;
  std::filesystem::path settingsIniPath_;
  std::function<void(const dispatch::PrintOutcome*)> done_;
};

// The check box "Vis udskrift først" (Alt+V, object name "previewFirst") of
// the windows that print. The window hides it unless the format prints A5
// pages; ticked, the run shows the queued pages before they are printed.
QCheckBox* NewPreviewCheck(QWidget* parent);

// The operator's account of a run that did not print everything: one line
// per label that did not reach the printer (its SSCC, the printer, why), per
// A5 label left queued because its page could not be formed, and why the run
// stopped; empty when everything was printed. A page printer's own failure is
// not repeated: the page printing has shown it. Texts UTF-8.
std::string DescribeRunProblems(const Result<dispatch::PrintOutcome>& outcome,
                                const std::vector<std::string>& failureReasons);

}  // namespace paltrix::app::print
