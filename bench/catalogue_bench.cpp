// The product catalogue over 100 000 products: first rows after F2, a
// locator keystroke, and scrolling a page, on the offscreen platform.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTabBar>
#include <QTableView>
#include <QTest>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "app/records/file_registry.h"
#include "app/records/produkt.h"
#include "app/records/record_context.h"
#include "app/ui/catalogue_printing.h"
#include "app/ui/product_catalogue_window.h"
#include "app/ui/product_list_model.h"
#include "framework/errors/error_manager.h"
#include "framework/errors/scripted_presenter.h"
#include "framework/fields/record_codec.h"
#include "tests/support/temp_directory.h"

namespace paltrix::app {
namespace {

constexpr int kProducts = 100'000;

class NoPrinting final : public CataloguePrinting {
 public:
  void OpenPrintWindow(QWidget&, records::RecordContext&, dispatch::LabelType,
                       const QString&) override {}
  void PrintDirect(QWidget&, records::RecordContext&, dispatch::LabelType,
                   const QString&) override {}
};

// A station whose catalogue holds 100 000 products, made once for all runs.
struct Station {
  Station() {
    std::filesystem::create_directory(folder / "Data");
    errors.Init();
    records::RecordContext context(registry);
    storage::KeyedFile* file = context.File(records::produkt::kSchema).value();
    static_cast<void>(file->BeginBulk());
    storage::Record record = storage::Record::Blank(records::produkt::kSchema);
    char text[32];
    for (int i = 0; i < kProducts; ++i) {
      std::snprintf(text, sizeof text, "%06d", i);
      fields::WriteText(record.image, records::produkt::PRODUKTID, text);
      // Names in another order than the IDs, so the two keys differ.
      std::snprintf(text, sizeof text, "Vare %05d", (i * 7919) % kProducts);
      fields::WriteText(record.image, records::produkt::PRODUKTNAVN, text);
      static_cast<void>(file->Add(record));
    }
    static_cast<void>(file->EndBulk());
  }
  testing::TempDirectory folder;
  testing::ScopedWorkingDirectory workingDirectory{folder.path()};
  errors::ScriptedPresenter presenter;
  errors::RecordingTerminator terminator;
  errors::ErrorManager errors{presenter, terminator};
  records::FileRegistry registry{errors};
  NoPrinting printing;
};

Station& TheStation() {
  static Station station;
  return station;
}

// F2: the window built on a fresh record context (files opened, Firma and the
// Printer record read, the first page read) and shown with its first rows.
void BM_CatalogueFirstRowsAfterF2(benchmark::State& state) {
  Station& station = TheStation();
  for (auto _ : state) {
    records::RecordContext context(station.registry);
    ProductCatalogueWindow window(context, station.printing);
    window.show();
    QApplication::processEvents();
    benchmark::DoNotOptimize(window.model().rowCount());
  }
}
BENCHMARK(BM_CatalogueFirstRowsAfterF2)->Unit(benchmark::kMillisecond);

// One typed character on the "Navn" tab: the highlight moves to the first
// name starting with what was typed, mostly far outside the rows read.
void BM_LocatorKeystroke(benchmark::State& state) {
  Station& station = TheStation();
  records::RecordContext context(station.registry);
  ProductCatalogueWindow window(context, station.printing);
  window.show();
  auto* tabs = window.findChild<QTabBar*>("SortTabs");
  QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
  QTest::keyClicks(&window.list(), "vare ");
  const char digits[] = "0123456789";
  int typed = 0;
  for (auto _ : state) {
    if (window.nameLocator().size() >= 10) {
      state.PauseTiming();
      for (int i = 0; i < 5; ++i) QTest::keyClick(&window.list(), Qt::Key_Backspace);
      state.ResumeTiming();
    }
    QTest::keyClick(&window.list(), digits[(typed++ * 7) % 10]);
  }
}
BENCHMARK(BM_LocatorKeystroke)->Unit(benchmark::kMicrosecond);

// Page Down in the list, reading on when the page runs past the rows read.
void BM_ScrollOnePage(benchmark::State& state) {
  Station& station = TheStation();
  records::RecordContext context(station.registry);
  ProductCatalogueWindow window(context, station.printing);
  window.resize(900, 560);
  window.show();
  QApplication::processEvents();
  for (auto _ : state) {
    if (window.model().atEnd() && window.model().rowCount() > 50'000) {
      state.PauseTiming();
      QTest::keyClick(&window.list(), Qt::Key_Home);
      state.ResumeTiming();
    }
    QTest::keyClick(&window.list(), Qt::Key_PageDown);
    QApplication::processEvents();
  }
  state.counters["rows read"] = window.model().rowCount();
}
BENCHMARK(BM_ScrollOnePage)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace paltrix::app
