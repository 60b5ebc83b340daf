#pragma once

#include <cstdint>
#include <string>

#include "app/a5/report_printing.h"
#include "app/records/record_context.h"
#include "framework/errors/error_manager.h"

class QWidget;

// How the program prints the queued A5 labels: the entry points the print
// windows and the command line hand to the format dispatch.
namespace paltrix::a5::ui {

// Where the pages go and what they are read from. printerName is the
// settings' "Printer" in UTF-8: a CUPS queue or file:///path.pdf.
struct PrintSetup {
  records::RecordContext& context;
  std::string printerName;
  std::int32_t today = 0;
  errors::ErrorManager& errors;
};

// The desktop: optionally a preview of the queued pages first (closing it
// without "Udskriv" prints nothing and leaves the queue as it is), then the
// progress window "Udskriver...". A run that could not print everything is
// told to the operator in a message box naming the printer and the reason.
// REQUIRES: a QApplication; `parent` (may be null) outlives this object.
class WindowReportPrinting final : public ReportPrinting {
 public:
  WindowReportPrinting(PrintSetup setup, QWidget* parent, bool previewFirst)
      : setup_(std::move(setup)), parent_(parent), previewFirst_(previewFirst) {}
  ReportOutcome PrintQueuedLabels(A5Report report) override;

 private:
  PrintSetup setup_;
  QWidget* parent_;
  bool previewFirst_;
};

// The command line: no window; the caller reports the outcome.
// REQUIRES: a QGuiApplication (offscreen will do) for the fonts.
class HeadlessReportPrinting final : public ReportPrinting {
 public:
  explicit HeadlessReportPrinting(PrintSetup setup) : setup_(std::move(setup)) {}
  ReportOutcome PrintQueuedLabels(A5Report report) override;

 private:
  PrintSetup setup_;
};

}  // namespace paltrix::a5::ui
