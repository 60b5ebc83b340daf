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

// Queues the run's labels and prints the queue with `report`.
Result<PrintOutcome> PrintPages(PrintOutcome outcome, a5::A5Report report, const PrintJob& job,
                                const PrintBuffers& buffers, const labels::LabelServices& services,
                                const Clock& clock, const A5Services& a5Services) {
  outcome.a5Queue = a5::AddA5Label(a5Services.context, buffers.produkt, job.counts, services.sscc,
                                   clock.Today(), a5Services.errors);
  if (!outcome.a5Queue.status.ok() && outcome.a5Queue.ssccs.empty()) {
    return outcome.a5Queue.status;
  }
  // Also after a stop part-way: the pallets queued so far are printed.
  outcome.a5Pages = a5Services.reports.PrintQueuedLabels(report);
  return outcome;
}

}  // namespace

std::optional<a5::A5Report> A5ReportOf(LabelProcedure procedure) {
  switch (procedure) {
    case LabelProcedure::kA5Standard:
      return a5::A5Report::kStandard;
    case LabelProcedure::kA5Limited:
      return a5::A5Report::kSimple;
    case LabelProcedure::kA5Mixed:
      return a5::A5Report::kMix;
    default:
      return std::nullopt;
  }
}

void PrepareMixedPallet(fields::Image produkt, const Clock& clock) {
  const std::string week = gs1::WeekNumber(0, /*useToday=*/true, /*weekOnly=*/true, clock);
  fields::WriteLong(produkt, records::produkt::HOLDBARTIL, std::stoi(week));
  fields::WriteText(produkt, records::produkt::BATCHNR, "1");
}

Result<PrintOutcome> DispatchLabelFormat(const PrintJob& job, const PrintBuffers& buffers,
                                         const settings::PrinterSettings& printerSettings,
                                         const labels::LabelServices& services, const Clock& clock,
                                         const A5Services* a5Services) {
  const std::string storedFormat = fields::ReadText(buffers.printer, records::printer::PRINTER);
  const LabelProcedure procedure = ChooseLabelProcedure(
      job.variant, ParseLabelFormat(storedFormat),
      fields::ReadLong(buffers.printer, records::printer::DOTS), job.labelType);

  PrintOutcome outcome;
  outcome.procedure = procedure;
  if (procedure == LabelProcedure::kNothing) return outcome;

  if (const std::optional<a5::A5Report> report = A5ReportOf(procedure)) {
    if (a5Services == nullptr) {
      return Status(ErrorCode::kInvalidValue,
                    fmt::format("The label format \"{}\" ({}) prints A5 pages, and no page "
                                "printing was given. Nothing was printed.",
                                storedFormat, ProcedureName(procedure)));
    }
    return PrintPages(std::move(outcome), *report, job, buffers, services, clock, *a5Services);
  }
  const LabelProcedureFunction run = ZplProcedure(procedure);

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
