#pragma once

#include <cstdint>
#include <string>

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

// What was chosen and what happened. A format that matches none of the five
// names prints nothing and is not an error (procedure kNothing, no streams).
struct PrintOutcome {
  LabelProcedure procedure = LabelProcedure::kNothing;
  labels::LabelRunReport report;
};

// What the mixed-pallet window puts into the product when it opens, and what
// the direct print puts there before a mixed-pallet label: this week's number
// in PRO:HOLDBARTIL (which holds a week on that path) and the mix number "1"
// in PRO:BATCHNR.
void PrepareMixedPallet(fields::Image produkt, const Clock& clock = SystemClock());

// Runs the dispatch. The direct variant first sets PRO:HOLDBARTIL to this
// week's number and PRO:BATCHNR to "1" when it prints a mixed-pallet label.
// Fails with kInvalidValue, before anything is printed, for the A5 page
// formats, which this build cannot print yet. Otherwise the outcome's report
// tells which streams reached the printer (and why a run was refused).
// REQUIRES: each buffer is at least its layout's record length.
Result<PrintOutcome> DispatchLabelFormat(const PrintJob& job, const PrintBuffers& buffers,
                                         const settings::PrinterSettings& printerSettings,
                                         const labels::LabelServices& services,
                                         const Clock& clock = SystemClock());

}  // namespace paltrix::dispatch
