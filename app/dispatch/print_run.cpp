#include "app/dispatch/print_run.h"

#include <fmt/format.h>

#include "app/gs1/week_number.h"
#include "app/records/printer.h"
#include "app/records/produkt.h"

namespace paltrix::dispatch {
namespace {

using LabelProcedureFunction = labels::LabelRunReport (*)(const labels::LabelInput&,
                                                          const labels::LabelServices&);

LabelProcedureFunction ZplProcedure(LabelProcedure procedure) {
  switch (procedure) {
    case LabelProcedure::kPalletLabel4:
      return labels::PrintPalletLabel4;
    case LabelProcedure::kPalletLabel4Fine:
      return labels::PrintPalletLabel4Fine;
    case LabelProcedure::kPalletLabel4Compact:
      return labels::PrintPalletLabel4Compact;
    case LabelProcedure::kCaseLabel4:
      return labels::PrintCaseLabel4;
    case LabelProcedure::kMixedPalletLabel:
      return labels::PrintMixedPalletLabel;
    case LabelProcedure::kEanItemLabel:
      return labels::PrintEanItemLabel;
    case LabelProcedure::kPalletLabel6:
      return labels::PrintPalletLabel6;
    case LabelProcedure::kPalletLabel6Fine:
      return labels::PrintPalletLabel6Fine;
    case LabelProcedure::kNothing:
    case LabelProcedure::kA5Standard:
    case LabelProcedure::kA5Limited:
    case LabelProcedure::kA5Mixed:
      break;
  }
  return nullptr;
}

}  // namespace

void PrepareMixedPallet(fields::Image produkt, const Clock& clock) {
  const std::string week = gs1::WeekNumber(0, /*useToday=*/true, /*weekOnly=*/true, clock);
  fields::WriteLong(produkt, records::produkt::HOLDBARTIL, std::stoi(week));
  fields::WriteText(produkt, records::produkt::BATCHNR, "1");
}

Result<PrintOutcome> DispatchLabelFormat(const PrintJob& job, const PrintBuffers& buffers,
                                         const settings::PrinterSettings& printerSettings,
                                         const labels::LabelServices& services,
                                         const Clock& clock) {
  const std::string storedFormat = fields::ReadText(buffers.printer, records::printer::PRINTER);
  const LabelProcedure procedure = ChooseLabelProcedure(
      job.variant, ParseLabelFormat(storedFormat),
      fields::ReadLong(buffers.printer, records::printer::DOTS), job.labelType);

  PrintOutcome outcome;
  outcome.procedure = procedure;
  if (procedure == LabelProcedure::kNothing) return outcome;

  const LabelProcedureFunction run = ZplProcedure(procedure);
  if (run == nullptr) {
    return Status(ErrorCode::kInvalidValue,
                  fmt::format("The label format \"{}\" ({}) is not available in this build: A5 "
                              "label pages cannot be printed yet. Nothing was printed.",
                              storedFormat, ProcedureName(procedure)));
  }

  if (job.variant == DispatchVariant::kDirect && procedure == LabelProcedure::kMixedPalletLabel) {
    PrepareMixedPallet(buffers.produkt, clock);
  }
  const labels::LabelInput input = labels::LabelInputFromRecords(
      buffers.produkt, buffers.firma, buffers.printer, printerSettings, job.counts, clock.Today());
  outcome.report = run(input, services);
  labels::StoreRunResults(outcome.report, buffers.produkt, buffers.printer);
  return outcome;
}

}  // namespace paltrix::dispatch
