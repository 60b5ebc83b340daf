// A whole label run as paltrix-cli and the print dialog make it: 100 pallets
// of the 4-inch pallet label to a file:// printer, each SSCC durably saved in
// the company record before its stream is written.
#include <benchmark/benchmark.h>

#include "app/dispatch/print_run.h"
#include "app/dispatch/raw_printer_output.h"
#include "app/gs1/sscc_allocator.h"
#include "app/records/file_registry.h"
#include "app/records/firma.h"
#include "app/records/printer_file.h"
#include "app/records/produkt.h"
#include "app/records/record_context.h"
#include "bench/bench_database.h"
#include "framework/errors/error_manager.h"
#include "output/cups_spooler.h"
#include "tests/support/temp_directory.h"

namespace paltrix::dispatch {
namespace {

namespace firma = records::firma;
namespace produkt = records::produkt;
namespace printer = records::printer;

// The record files in the Data folder, or on the local PostgreSQL server
// (target < 1 s for the run).
void HundredPalletRun(benchmark::State& state, const storage::StorageTarget& target) {
  const testing::TempDirectory folder;
  std::filesystem::create_directory(folder / "Data");
  const testing::ScopedWorkingDirectory inFolder(folder.path());

  errors::ErrorManager& errorManager = errors::GlobalErrorManager();
  errorManager.Init();
  records::FileRegistry registry(errorManager, target);
  records::RecordContext context(registry);
  storage::Record& company = context.Buffer(firma::kSchema);
  fields::WriteText(company.image, firma::NAVN, "Dock ApS");
  fields::WriteLong(company.image, firma::SSCCNR, 5790001);
  if (!context.WriteFirma().ok()) {
    state.SkipWithError("cannot write the company record");
    return;
  }
  auto firmaFile = context.File(firma::kSchema);

  storage::Record product = storage::Record::Blank(produkt::kSchema);
  fields::WriteText(product.image, produkt::PRODUKTID, "100");
  fields::WriteText(product.image, produkt::PRODUKTNAVN, "Tomater");
  fields::WriteText(product.image, produkt::EANNR, "5701234567899");
  fields::WriteLong(product.image, produkt::ANTALPRPALLE, 40);
  fields::WriteText(product.image, produkt::BATCHNR, "L42");

  records::PrinterRecord printerRecord;
  printerRecord.Prime();
  fields::WriteText(printerRecord.image(), printer::PRINTER, kZpl4InchName);

  settings::PrinterSettings printerSettings;
  printerSettings.printerName = "file://" + (folder / "labels.zpl").string();
  const PrintJob job{DispatchVariant::kDialog, 0, {100, 4}};

  gs1::FirmaSsccAllocator allocator(**firmaFile, company);
  output::RawPrinter rawPrinter(output::SystemSpooler());
  labels::ThreadSleeper sleeper;
  for (auto _ : state) {
    RawPrinterOutput printerOutput(rawPrinter);
    const labels::LabelServices services{allocator, printerOutput, sleeper, nullptr};
    auto outcome = DispatchLabelFormat(job, {product.image, company.image, printerRecord.image()},
                                       printerSettings, services);
    if (!outcome.ok() || !outcome->report.AllSent()) {
      state.SkipWithError("the run did not print every pallet");
      break;
    }
  }
  state.SetItemsProcessed(state.iterations() * job.counts.pallets);
}
void BM_HundredPalletRunToFilePrinter(benchmark::State& state) {
  HundredPalletRun(state, storage::StorageTarget::DataFolder());
}
void BM_HundredPalletRunOnServerToFilePrinter(benchmark::State& state) {
  if (auto database = bench::BenchDatabase(state)) HundredPalletRun(state, *database);
}
BENCHMARK(BM_HundredPalletRunToFilePrinter)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_HundredPalletRunOnServerToFilePrinter)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace paltrix::dispatch
