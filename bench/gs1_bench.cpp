// GS1 element strings of one pallet, and SSCC allocation with its durable
// commit.
#include <benchmark/benchmark.h>

#include "app/gs1/barcode_data.h"
#include "app/gs1/element_data.h"
#include "app/gs1/sscc_allocator.h"
#include "app/records/firma.h"
#include "bench/bench_database.h"
#include "framework/fields/date_time.h"
#include "framework/fields/record_codec.h"
#include "tests/support/temp_directory.h"

namespace paltrix::gs1 {
namespace {

// Everything one pallet label needs: elements, the three barcodes in both
// encodings and their lines.
void BM_PalletElementStrings(benchmark::State& state) {
  const std::int32_t today = *fields::DayNumberFromCivil({2025, 3, 10});
  const ElementInput input{.gtin = "5790001234567",
                           .count = 120,
                           .orderNumber = "12345",
                           .useOrderNumber = true,
                           .bestBefore = today + 14,
                           .today = today,
                           .netWeightGrams = 512'500,
                           .batch = "L0815"};
  for (auto _ : state) {
    auto elements = FormatElements(input);
    auto first = FirstBarcode(*elements);
    auto second = SecondBarcode(*elements);
    auto sscc = SsccBarcode("057900010000000424");
    benchmark::DoNotOptimize(first);
    benchmark::DoNotOptimize(second);
    benchmark::DoNotOptimize(sscc);
  }
}
BENCHMARK(BM_PalletElementStrings);

// One AllocateSSCC: read, conditional write, durable commit; in the Data
// folder, or on the local PostgreSQL server (target < 2 ms).
void AllocateSscc(benchmark::State& state, const storage::StorageTarget& target) {
  namespace firma = records::firma;
  const testing::TempDirectory directory;
  storage::Session session(target);
  auto file = session.Open(firma::kSchema, directory / "DFIRMA.DAT");
  if (!file.ok()) {
    state.SkipWithError(file.status().ToString().c_str());
    return;
  }
  storage::Record company = storage::Record::Blank(firma::kSchema);
  fields::WriteLong(company.image, firma::SSCCNR, 5790001);
  if (!(*file)->Add(company).ok()) {
    state.SkipWithError("cannot add the company record");
    return;
  }
  FirmaSsccAllocator allocator(**file, company);
  for (auto _ : state) {
    auto sscc = allocator.Allocate();
    if (!sscc.ok()) {
      state.SkipWithError(sscc.status().ToString().c_str());
      break;
    }
    benchmark::DoNotOptimize(sscc);
  }
}
void BM_AllocateSscc(benchmark::State& state) {
  AllocateSscc(state, storage::StorageTarget::DataFolder());
}
void BM_AllocateSsccOnServer(benchmark::State& state) {
  if (auto database = bench::BenchDatabase(state)) AllocateSscc(state, *database);
}
BENCHMARK(BM_AllocateSscc)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AllocateSsccOnServer)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace paltrix::gs1
