// Rendering A5 label pages to PDF: one page as a file of its own (open the
// writer, paint texts and three GS1-128 symbols, write the file), and each
// further page of a longer run.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "app/a5/page_content.h"
#include "app/a5/page_plan.h"
#include "app/a5/ui/page_output.h"
#include "framework/errors/error_manager.h"
#include "framework/errors/scripted_presenter.h"
#include "framework/fields/date_time.h"

namespace {

using namespace paltrix;

a5::PagePlan StandardPage() {
  const std::int32_t today = *fields::DayNumberFromCivil({2027, 3, 1});
  const a5::QueuedLabel label{.sscc = "057900010000000424",
                              .productId = "100",
                              .count = "12",
                              .bestBefore = today + 10,
                              .netWeightThousandths = 12500,
                              .batch = "L42",
                              .orderNumber = "12345"};
  const a5::LabelProduct product{
      .name = "Tulipaner", .description = "10 stk.", .gtin = "5701234567899", .orderInBarcode = 1};
  const a5::LabelSender sender{.name = "Blomster ApS",
                               .address1 = "Havevej 1",
                               .postalCode = 5000,
                               .town = "Odense",
                               .phone = "12345678",
                               .fax = ""};
  return a5::PlanPage(a5::A5Report::kStandard, *a5::BuildPageContent(a5::A5Report::kStandard, label,
                                                                     product, sender, today));
}

struct Errors {
  errors::ScriptedPresenter presenter;
  errors::RecordingTerminator terminator;
  errors::ErrorManager manager{presenter, terminator};
};

std::string PdfName() {
  return "file://" + (std::filesystem::temp_directory_path() / "a5_page_bench.pdf").string();
}

void BM_OnePageToANewPdf(benchmark::State& state) {
  Errors errors;
  const a5::PagePlan page = StandardPage();
  const std::string pdf = PdfName();
  for (auto _ : state) {
    auto output = a5::ui::OpenPageOutput(a5::A5Report::kStandard, pdf, errors.manager);
    if (!output.ok() || !(*output)->PrintPage(page).ok() || !(*output)->Finish().ok()) {
      state.SkipWithError("the page could not be written");
      break;
    }
  }
}
BENCHMARK(BM_OnePageToANewPdf)->Unit(benchmark::kMillisecond);

void BM_FurtherPageOfARun(benchmark::State& state) {
  Errors errors;
  const a5::PagePlan page = StandardPage();
  auto output = a5::ui::OpenPageOutput(a5::A5Report::kStandard, PdfName(), errors.manager);
  if (!output.ok()) {
    state.SkipWithError("the PDF writer could not be opened");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize((*output)->PrintPage(page));
  (void)(*output)->Finish();
}
BENCHMARK(BM_FurtherPageOfARun)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QGuiApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
