// Building label streams: one 4-inch pallet label (the common case, target
// below 20 µs) and one 6-inch 12 dots/mm label, the longest stream.
#include <benchmark/benchmark.h>

#include "app/labels/pallet_label.h"
#include "app/labels/pallet_layouts.h"
#include "tests/labels/label_test_data.h"

namespace paltrix::labels {
namespace {

void BuildStream(benchmark::State& state, const PalletLayout& layout) {
  const LabelInput input = testing::OrdinaryInput();
  for (auto _ : state) {
    Result<std::string> stream = BuildPalletLabelStream(layout, input, testing::kSscc);
    benchmark::DoNotOptimize(stream);
  }
}

void BM_PalletLabel4Stream(benchmark::State& state) { BuildStream(state, kPalletLayout4); }
void BM_PalletLabel6FineStream(benchmark::State& state) { BuildStream(state, kPalletLayout6Fine); }

BENCHMARK(BM_PalletLabel4Stream);
BENCHMARK(BM_PalletLabel6FineStream);

}  // namespace
}  // namespace paltrix::labels
