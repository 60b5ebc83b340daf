#include <fmt/format.h>

#include <csignal>
#include <map>
#include <memory>
#include <optional>

#include "app/dispatch/print_run.h"
#include "app/dispatch/raw_printer_output.h"
#include "app/gs1/element_data.h"
#include "app/gs1/sscc_allocator.h"
#include "app/records/firma.h"
#include "app/records/printer.h"
#include "app/records/produkt.h"
#include "framework/console.h"
#include "framework/text/windows1252.h"
#include "output/cups_spooler.h"
#include "tools/paltrix-cli/choice_option.h"
#include "tools/paltrix-cli/cli_error.h"
#include "tools/paltrix-cli/cli_session.h"
#include "tools/paltrix-cli/commands.h"
#include "tools/paltrix-cli/field_input.h"
#include "tools/paltrix-cli/number_option.h"
#include "tools/paltrix-cli/page_printing.h"
#include "tools/paltrix-cli/printer_setup.h"
#include "tools/paltrix-cli/product_lookup.h"
#include "tools/paltrix-cli/run_reporter.h"
#include "tools/paltrix-cli/stop_signals.h"
#include "tools/paltrix-cli/wait_notice.h"

namespace paltrix::cli {
namespace {

namespace produkt = records::produkt;
using dispatch::LabelType;

struct PrintOptions {
  std::string productId;
  std::optional<std::int64_t> pallets, labels, connectTimeout, writeTimeout;
  std::optional<std::string> bestBefore, batch, weight, orderNumber, printerName;
  LabelType type = LabelType::kPallet;
};

const std::map<std::string, LabelType> kTypeNames = {
    {"pallet", LabelType::kPallet},
    {"case", LabelType::kCase},
    {"mixed", LabelType::kMixedPallet},
    {"ean13", LabelType::kEanItem},
};

// The values the print dialog lets the operator change, checked.
struct DialogValues {
  std::optional<std::int32_t> bestBefore;
  std::optional<std::string> batch, orderNumber, printerName;
  std::optional<std::int64_t> weight;
};

DialogValues CheckDialogValues(const PrintOptions& options) {
  DialogValues values;
  if (options.bestBefore) {
    values.bestBefore = DayNumber("--best-before", *options.bestBefore);
    if (Status status = gs1::CheckBestBefore(*values.bestBefore, SystemClock().Today()); !status) {
      throw BadInput(fmt::format("--best-before: {}", status.message()));
    }
  }
  if (options.batch) {
    values.batch = RecordText("--batch", *options.batch, produkt::BATCHNR.size - 1);
  }
  if (options.weight) values.weight = KilogramThousandths("--weight", *options.weight);
  if (options.orderNumber) {
    values.orderNumber = RecordText("--order-no", *options.orderNumber, 10);
  }
  if (options.printerName) {
    values.printerName =
        RecordText("--printer", *options.printerName, settings::kMaxPrinterNameLength);
  }
  return values;
}

dispatch::LabelProcedure ChosenProcedure(const dispatch::PrintJob& job,
                                         fields::ConstImage printer) {
  return dispatch::ChooseLabelProcedure(
      job.variant, dispatch::ParseLabelFormat(fields::ReadText(printer, records::printer::PRINTER)),
      fields::ReadLong(printer, records::printer::DOTS), job.labelType);
}

// The product as the print window shows it when it opens, with the
// operator's changes: best-before = today + shelf life, or for the
// mixed-pallet label this week and mix number "1" as the mixed-pallet window
// sets them (the batch option gives another mix number).
void ApplyDialogValues(const DialogValues& values, bool mixedPallet, fields::Image product,
                       const Clock& clock) {
  if (mixedPallet) {
    if (values.bestBefore) {
      throw BadInput("--best-before: a mixed-pallet label carries this week's number, not a date");
    }
    dispatch::PrepareMixedPallet(product, clock);
  } else {
    const std::int32_t bestBefore = values.bestBefore.value_or(
        clock.Today() + fields::ReadShort(product, produkt::HOLDBARHEDSDAGE));
    fields::WriteLong(product, produkt::HOLDBARTIL, bestBefore);
  }
  if (values.batch) fields::WriteText(product, produkt::BATCHNR, *values.batch);
  if (values.weight) fields::WriteDecimal(product, produkt::NETTOVAEGT, *values.weight);
  if (values.orderNumber) fields::WriteText(product, produkt::NAVN2, *values.orderNumber);
}

// The labels leave an order number that is too long for (400) out of the
// barcode; the operator asked for it there, so say so.
void WarnOfOrderNumberLeftOut(fields::ConstImage product) {
  const std::string orderNumber = fields::ReadText(product, produkt::NAVN2);
  if (fields::ReadByte(product, produkt::BRUGORDREID) != 1 ||
      orderNumber.size() <= gs1::kLongestBarcodeOrderNumber) {
    return;
  }
  console::WriteErr(fmt::format(
      "paltrix-cli: warning: the order number {} is left out of the barcode: (400) carries at "
      "most {} characters\n",
      Quoted(text::ToUtf8(orderNumber)), gs1::kLongestBarcodeOrderNumber));
}

int Print(const PrintOptions& options) {
  const DialogValues values = CheckDialogValues(options);

  CliSession session;
  // The product record is a copy: a print from the catalogue's dialog does
  // not store the values typed for the run.
  FoundProduct product = FindProduct(session, "--product", options.productId);
  if (!session.ReadCompany()) {
    throw Failed("there is no company record yet: use 'paltrix-cli company set' first");
  }
  PrinterSetup setup = LoadPrinterSetup(session.errors());
  if (values.printerName) setup.settings.printerName = *values.printerName;

  const fields::Image printerImage = setup.record.image();
  const fields::ConstImage firmaImage = session.records().Buffer(records::firma::kSchema).image;
  dispatch::PrintJob job;
  job.variant = dispatch::DispatchVariant::kDialog;
  job.labelType = static_cast<std::uint8_t>(options.type);
  job.counts.labelsPerPallet = static_cast<std::int32_t>(
      options.labels.value_or(fields::ReadByte(printerImage, records::printer::ANTALDETLAB)));
  job.counts.pallets = static_cast<std::int32_t>(
      options.pallets.value_or(fields::ReadLong(firmaImage, records::firma::ANTALPALLER)));
  // The defaults of a new company and Printer record are 0, which would
  // print nothing or send ^PQ0.
  if (job.counts.labelsPerPallet < 1) {
    throw BadInput(
        "no labels per pallet: give --labels or set a default with 'paltrix-cli printer set "
        "--labels-per-pallet'");
  }
  if (job.counts.pallets < 1) {
    throw BadInput(
        "no pallets: give --pallets or set a default with 'paltrix-cli company set --pallets'");
  }
  // The mixed-pallet label carries a week number where the others have the
  // best-before date.
  const dispatch::LabelProcedure procedure = ChosenProcedure(job, printerImage);
  ApplyDialogValues(values, procedure == dispatch::LabelProcedure::kMixedPalletLabel,
                    product.record.image, SystemClock());
  WarnOfOrderNumberLeftOut(product.record.image);

  Check(records::SavePrinterRecord(setup.record, session.errors()),
        "cannot store the printer settings");

  storage::KeyedFile& firmaFile = session.File(records::firma::kSchema);
  gs1::FirmaSsccAllocator allocator(firmaFile, session.records().Buffer(records::firma::kSchema));
  output::PrinterTimeouts timeouts = PrinterTimeoutsOf(setup.settings);
  if (options.connectTimeout) timeouts.connect = std::chrono::seconds(*options.connectTimeout);
  if (options.writeTimeout) timeouts.write = std::chrono::seconds(*options.writeTimeout);
  WaitNotice waitNotice;
  output::RawPrinter rawPrinter(output::SystemSpooler());
  rawPrinter.SetTimeouts(timeouts, waitNotice.Callback());
  dispatch::RawPrinterOutput printerOutput(rawPrinter);
  labels::ThreadSleeper sleeper;
  RunReporter reporter(printerOutput, text::ToUtf8(setup.settings.printerName), waitNotice);
  const labels::LabelServices services{allocator, printerOutput, sleeper, nullptr, &reporter};
  std::optional<PagePrinting> pages;
  if (dispatch::A5ReportOf(procedure)) pages.emplace(session, setup.settings.printerName);

  const StopSignals stopSignals;
  Result<dispatch::PrintOutcome> outcome = dispatch::DispatchLabelFormat(
      job, {product.record.image, firmaImage, printerImage}, setup.settings, services,
      SystemClock(), pages ? &pages->services() : nullptr);
  Check(outcome.status(), "nothing was printed");
  if (pages) return ReportPageRun(*outcome, setup.settings.printerName);
  if (outcome->procedure == dispatch::LabelProcedure::kNothing) {
    throw Failed(fmt::format(
        "the label format \"{}\" prints nothing for this label type; use 'paltrix-cli printer set "
        "--format'",
        Utf8(records::printer::PRINTER, printerImage)));
  }

  const labels::LabelRunReport& report = outcome->report;
  if (!report.status.ok()) {
    throw CommandError(report.streams.empty() ? kExitFailed : kExitNotPrinted,
                       fmt::format("the label run stopped: {}", report.status.ToString()));
  }
  if (report.stopped) {
    const int signalNumber = StopSignals::Received();
    const std::string why = signalNumber == SIGINT    ? "on SIGINT"
                            : signalNumber == SIGTERM ? "on SIGTERM"
                                                      : "because standard output or error failed";
    throw CommandError(
        signalNumber != 0 ? 128 + signalNumber : kExitOutputFailed,
        fmt::format("the run stopped {} after {} of {} {}: {} reached the printer{}{}", why,
                    report.streams.size(), job.counts.pallets,
                    job.counts.pallets == 1 ? "pallet" : "pallets", reporter.sent(),
                    reporter.notSent() == 0 ? std::string()
                                            : fmt::format(", {} did not", reporter.notSent()),
                    reporter.lastSentSscc().empty()
                        ? std::string()
                        : "; the last SSCC printed is " + reporter.lastSentSscc()));
  }
  return reporter.notSent() == 0 ? kExitOk : kExitNotPrinted;
}

}  // namespace

void AddPrintCommand(CLI::App& app) {
  auto options = std::make_shared<PrintOptions>();
  CLI::App* print = app.add_subcommand(
      "print",
      "Print labels for a product as the print dialog does. Each SSCC goes to standard output on "
      "its own line the moment its label reached the printer; labels that did not are named on "
      "standard error. SIGINT or SIGTERM ends the run after the pallet in hand.");
  print->add_option("--product", options->productId, "Product ID")->required();
  AddNumberOption(*print, "--pallets", options->pallets, 1, 9999,
                  "Number of pallets (default: the company's pallets per run)");
  AddNumberOption(*print, "--labels", options->labels, 1, 9999,
                  "Labels per pallet (default: the printer settings' labels per pallet)");
  print->add_option("--best-before", options->bestBefore,
                    "Best-before date YYYY-MM-DD (default: today + shelf life)");
  print->add_option("--batch", options->batch, "Batch number (at most 19 characters)");
  print->add_option("--weight", options->weight, "Net weight in kg, up to three decimals");
  print->add_option("--order-no", options->orderNumber, "Order number (at most 10 characters)");
  AddChoiceOption(*print, "--type", kTypeNames, options->type,
                  "Label type (4-inch format on 8 dots/mm; default pallet)");
  print->add_option("--printer", options->printerName,
                    "Printer for this run instead of the configured one");
  AddNumberOption(*print, "--connect-timeout", options->connectTimeout, 1,
                  settings::kLongestPrinterTimeoutSeconds,
                  "Seconds to reach the printer for this run (default: 'printer set')");
  AddNumberOption(*print, "--write-timeout", options->writeTimeout, 1,
                  settings::kLongestPrinterTimeoutSeconds,
                  "Seconds the printer may take no byte of a label, for this run");
  print->callback([options] {
    const int status = Print(*options);
    if (status != kExitOk) throw CommandError(status, "some labels were not printed");
  });
}

}  // namespace paltrix::cli
