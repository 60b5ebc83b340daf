// `convert` of a 100 000-product file in the old layout: read, append in bulk
// mode, build the keys, sync and replace (target < 3 s).
#include <benchmark/benchmark.h>
#include <fmt/format.h>

#include <filesystem>

#include "convert/old_produkt.h"
#include "convert/product_conversion.h"
#include "framework/fields/record_codec.h"
#include "framework/storage/keyed_file.h"
#include "tests/support/temp_directory.h"

namespace paltrix::convert {
namespace {

constexpr int kProducts = 100'000;

class NoProgress final : public ConversionProgress {
 public:
  void Started() override {}
  void RecordsConverted(std::int64_t) override {}
  void BuildingKeys() override {}
};

void WriteOldFile(const std::filesystem::path& path) {
  storage::Session session;
  storage::KeyedFile* file = *session.Open(old_produkt::kSchema, path);
  (void)file->BeginBulk();
  storage::Record record = storage::Record::Blank(old_produkt::kSchema);
  for (int i = 0; i < kProducts; ++i) {
    fields::WriteText(record.image, old_produkt::PRODUKTID, fmt::format("P{:06}", i));
    fields::WriteText(record.image, old_produkt::PRODUKTNAVN,
                      fmt::format("R\xF8"
                                  "dk\xE5l {}",
                                  i % 5000));
    fields::WriteText(record.image, old_produkt::EANNR, "5701234567899");
    fields::WriteShort(record.image, old_produkt::HOLDBARHEDSDAGE,
                       static_cast<std::int16_t>(i % 365));
    fields::WriteDecimal(record.image, old_produkt::NETTOVAEGT, i);
    (void)file->Add(record);
  }
  (void)file->EndBulk();
}

void BM_Convert100000Products(benchmark::State& state) {
  testing::TempDirectory folder;
  std::filesystem::create_directory(folder / "Data");
  WriteOldFile(folder / "pristine.dat");
  NoProgress progress;
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::copy_file(folder / "pristine.dat", folder / "Data" / "PRODUKT.dat",
                               std::filesystem::copy_options::overwrite_existing);
    state.ResumeTiming();
    const Result<ConversionOutcome> outcome =
        ConvertProductFile(folder.path(), storage::StorageTarget::DataFolder(), progress);
    if (!outcome.ok() || *outcome != ConversionOutcome::kConverted) {
      state.SkipWithError(outcome.ok() ? "not converted" : outcome.status().ToString().c_str());
      return;
    }
  }
  state.SetItemsProcessed(state.iterations() * kProducts);
}
BENCHMARK(BM_Convert100000Products)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
}  // namespace paltrix::convert
