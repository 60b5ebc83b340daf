// The print dialog ready after F4: constructing "Print data" for a product
// already in the record buffer (reading the sender, the Printer record and
// both sections of the settings INI file) and showing it on the offscreen
// platform until it is exposed, then closing it. The goal is well under
// 100 ms per iteration.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTest>
#include <filesystem>

#include "app/records/file_registry.h"
#include "app/records/firma.h"
#include "app/records/printer_file.h"
#include "app/records/produkt.h"
#include "app/records/record_context.h"
#include "app/ui/print/print_data_dialog.h"
#include "framework/errors/error_manager.h"
#include "framework/errors/scripted_presenter.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_directory.h"

namespace {

using namespace paltrix;

void BM_PrintDialogReady(benchmark::State& state) {
  testing::TempDirectory folder;
  testing::ScopedWorkingDirectory workingDirectory(folder.path());
  std::filesystem::create_directory(folder / "Data");
  testing::WriteFileText(folder / "splab.ini",
                         "[Printer]\r\nPrinter=file:///dev/null\r\nIDAI90=1\r\n[PrintActivity]\r\n"
                         "ServiceBase=http://127.0.0.1:9/s/service.svc/\r\n");

  errors::ScriptedPresenter presenter;
  errors::RecordingTerminator terminator;
  errors::ErrorManager errors(presenter, terminator);
  errors.Init();
  records::FileRegistry registry(errors);
  records::RecordContext context(registry);

  storage::Record& company = context.Buffer(records::firma::kSchema);
  fields::WriteText(company.image, records::firma::NAVN, "Fisk A/S");
  fields::WriteLong(company.image, records::firma::ANTALPALLER, 3);
  if (!context.WriteFirma().ok()) state.SkipWithError("cannot write the company");
  records::PrinterRecord::Process().Prime();
  if (!records::SavePrinterRecord(records::PrinterRecord::Process(), errors).ok()) {
    state.SkipWithError("cannot write the Printer record");
  }
  const fields::Image product = context.Buffer(records::produkt::kSchema).image;
  fields::WriteText(product, records::produkt::PRODUKTID, "0042");
  fields::WriteText(product, records::produkt::PRODUKTNAVN, "Torsk");
  fields::WriteShort(product, records::produkt::HOLDBARHEDSDAGE, 10);

  app::print::PrintServices services;
  services.errors = &errors;
  for (auto _ : state) {
    app::print::PrintDataDialog dialog(context, 0, services);
    dialog.show();
    if (!QTest::qWaitForWindowExposed(&dialog)) state.SkipWithError("the dialog was not shown");
    dialog.close();
  }
}
BENCHMARK(BM_PrintDialogReady)->Unit(benchmark::kMillisecond);

}  // namespace
