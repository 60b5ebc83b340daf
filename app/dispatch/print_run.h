#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/a5/add_a5_label.h"
#include "app/a5/report_printing.h"
#include "app/dispatch/label_format.h"
#include "app/labels/label_procedures.h"
#include "app/labels/record_input.h"
#include "app/settings/printer_settings.h"
#include "framework/clock.h"
#include "framework/fields/record_codec.h"
#include "framework/result.h"

// The format dispatch: runs the label procedure that the label format in the
// Printer record, PRI:DOTS and the label type choose, on the record buffers as
// the print window left them.
namespace paltrix::dispatch {

struct PrintJob {
  DispatchVariant variant = DispatchVariant::kDialog;
  std::uint8_t labelType = 0;
  labels::RunCounts counts;
  // The print windows also hold an "AI90" text for the 6-inch labels, which
  // do not print it; it is therefore not part of a job.
};

struct PrintBuffers {
  fields::Image produkt;     // as edited; the run stores PRO:HOLDBARHEDSDAGE
  fields::ConstImage firma;  // the sending company, read just before
  fields::Image printer;     // the process's Printer record; a bad PRI:SPEED becomes "2"
};

// What the page formats need besides the label services: the record context
// whose A5etiket file queues the labels, how the queued labels are printed
// (progress window, preview or none) and where a failed add is shown.
struct A5Services {
  records::RecordContext& context;
  a5::ReportPrinting& reports;
  errors::ErrorManager& errors;
};

// What was chosen and what happened. A format that matches none of the five
// names prints nothing and is not an error (procedure kNothing, no streams).
// The ZPL procedures fill `report`, the page formats `a5Queue` and `a5Pages`.
struct PrintOutcome {
  LabelProcedure procedure = LabelProcedure::kNothing;
  labels::LabelRunReport report;
  a5::QueueReport a5Queue;
  a5::ReportOutcome a5Pages;
};

// The report that prints a page format's labels; nullopt for the others.
std::optional<a5::A5Report> A5ReportOf(LabelProcedure procedure);

// What the mixed-pallet window puts into the product when it opens, and what
// the direct print puts there before a mixed-pallet label: this week's number
// in PRO:HOLDBARTIL (which holds a week on that path) and the mix number "1"
// in PRO:BATCHNR.
void PrepareMixedPallet(fields::Image produkt, const Clock& clock = SystemClock());

// Runs the dispatch. The direct variant first sets PRO:HOLDBARTIL to this
// week's number and PRO:BATCHNR to "1" when it prints a mixed-pallet label.
// The page formats queue the run's labels (AddA5Label, one SSCC per pallet
// from services.sscc) and then print every queued label with their report
// through a5Services->reports; labels not printed stay queued for the next
// run. Fails, before anything is printed or any SSCC spent, with
// kInvalidValue for a page format when `a5Services` is null, and with the
// queue's reason when the product cannot be printed on a page. Otherwise the
// outcome tells which labels reached the printer.
// REQUIRES: each buffer is at least its layout's record length.
Result<PrintOutcome> DispatchLabelFormat(const PrintJob& job, const PrintBuffers& buffers,
                                         const settings::PrinterSettings& printerSettings,
                                         const labels::LabelServices& services,
                                         const Clock& clock = SystemClock(),
                                         const A5Services* a5Services = nullptr);

}  // namespace paltrix::dispatch
