// Cost of handing one label stream to a printer that bypasses the spooler:
// a file:// printer (open, append, close) and a socket:// printer on a
// loopback raw port (connect, send, close, wait for the printer's close).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "output/cups_spooler.h"
#include "output/raw_printer.h"
#include "tests/output/raw_port_listener.h"

namespace {

using paltrix::output::RawPrinter;

// A 4-inch pallet label as the label procedures produce it, padded to 1 KB.
std::string TypicalLabelStream() {
  std::string stream =
      "^XA^PW812^LL1218^LH0,0^CI0^FO40,40^A0N,40,40^FDAfsender A/S^FS"
      "^FO40,100^A0N,30,30^FDIndustrivej 12, 8000 Aarhus C^FS"
      "^FO40,200^A0N,28,28^FD(02) 05790000000017 (37) 48^FS"
      "^FO40,260^A0N,28,28^FD(15) 270614 (10) B2406-17^FS"
      "^FO60,340^BY4^BCN,200,N,N,N^FD>;>80205790000000017375048^FS"
      "^FO60,620^BY4^BCN,200,N,N,N^FD>;>81527061410B2406-17^FS"
      "^FO60,900^BY4^BCN,200,N,N,N^FD>;>800057900000000123456789^FS";
  stream.resize(1024 - 3, ' ');
  return stream + "^XZ";
}

void BM_PrintRawToFile(benchmark::State& state) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("paltrix-output-bench-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  const std::filesystem::path target = folder / "labels.zpl";
  const std::string printerName = "file://" + target.string();
  const std::string stream = TypicalLabelStream();
  RawPrinter printer(paltrix::output::SystemSpooler());

  std::int64_t sinceTruncate = 0;
  for (auto _ : state) {
    if (printer.PrintRaw(printerName, stream) != paltrix::output::kPrinterDone) {
      state.SkipWithError(printer.lastError().c_str());
      break;
    }
    if (++sinceTruncate == 10'000) {  // keep the file from filling the disk
      state.PauseTiming();
      std::filesystem::resize_file(target, 0);
      sinceTruncate = 0;
      state.ResumeTiming();
    }
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(stream.size() + 1));
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_PrintRawToFile);

void BM_PrintRawToSocket(benchmark::State& state) {
  paltrix::output::testing::RawPortListener listener(/*keepJobs=*/false);
  const std::string printerName = listener.uri();
  const std::string stream = TypicalLabelStream();
  RawPrinter printer(paltrix::output::SystemSpooler());

  for (auto _ : state) {
    if (printer.PrintRaw(printerName, stream) != paltrix::output::kPrinterDone) {
      state.SkipWithError(printer.lastError().c_str());
      break;
    }
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(stream.size() + 1));
}
BENCHMARK(BM_PrintRawToSocket);

}  // namespace
