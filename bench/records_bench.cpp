// Record contexts and the Printer file: the costs a window pays when it opens
// and when it saves, and a cascading change across files.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "app/records/file_registry.h"
#include "app/records/printer_file.h"
#include "app/records/record_context.h"
#include "framework/errors/error_manager.h"
#include "framework/errors/scripted_presenter.h"
#include "framework/fields/record_codec.h"
#include "tests/support/temp_directory.h"

namespace paltrix::records {
namespace {

// A working directory with a Data folder and the managers of the program.
struct Station {
  Station() {
    std::filesystem::create_directory(folder / "Data");
    errors.Init();
  }
  testing::TempDirectory folder;
  testing::ScopedWorkingDirectory workingDirectory{folder.path()};
  errors::ScriptedPresenter presenter;
  errors::RecordingTerminator terminator;
  errors::ErrorManager errors{presenter, terminator};
  FileRegistry registry{errors};
};

// What a print window does before each print: write the Printer record back
// and read it again.
void BM_PrinterRecordSaveAndLoad(benchmark::State& state) {
  Station station;
  PrinterRecord record;
  record.Prime();
  for (auto _ : state) {
    if (!SavePrinterRecord(record, station.errors).ok() ||
        !LoadPrinterRecord(record, station.errors).ok()) {
      state.SkipWithError("Printer file failed");
      break;
    }
  }
}
BENCHMARK(BM_PrinterRecordSaveAndLoad);

// A window opening: a new context that opens Firma and reads the company.
void BM_NewContextReadsFirma(benchmark::State& state) {
  Station station;
  {
    RecordContext setup(station.registry);
    fields::WriteText(setup.Buffer(firma::kSchema).image, firma::NAVN, "Firma");
    if (!setup.WriteFirma().ok()) state.SkipWithError("cannot write Firma");
  }
  for (auto _ : state) {
    RecordContext context(station.registry);
    if (!context.ReadFirma().ok()) {
      state.SkipWithError("cannot read Firma");
      break;
    }
  }
}
BENCHMARK(BM_NewContextReadsFirma)->Unit(benchmark::kMicrosecond);

// A product ID change that the product's history records follow, as one
// transaction; the argument is the number of history records.
void BM_CascadeUpdate(benchmark::State& state) {
  Station station;
  RecordContext context(station.registry);
  storage::Record product = storage::Record::Blank(produkt::kSchema);
  fields::WriteText(product.image, produkt::PRODUKTID, "1");
  Result<storage::RecordNumber> number = (*context.File(produkt::kSchema))->Add(product);
  storage::KeyedFile& history = **context.File(historik::kSchema);
  storage::Record child = storage::Record::Blank(historik::kSchema);
  fields::WriteLong(child.image, historik::PRODUKTID, 1);
  for (int64_t i = 0; i < state.range(0); ++i) {
    if (!history.Add(child).ok()) state.SkipWithError("cannot add history");
  }
  int id = 1;
  for (auto _ : state) {
    id = id == 1 ? 2 : 1;
    fields::WriteText(product.image, produkt::PRODUKTID, std::to_string(id));
    if (!context.Update(produkt::kSchema, *number, product).ok()) {
      state.SkipWithError("cascade failed");
      break;
    }
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_CascadeUpdate)->Arg(1)->Arg(100)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace paltrix::records
