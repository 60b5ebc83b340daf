// paltrix-cli's catalogue import and export of 100 000 products, run as the
// program (targets: import < 3 s, export < 1 s).
#include <benchmark/benchmark.h>
#include <fmt/format.h>

#include <filesystem>
#include <string>

#include "tests/support/child_process.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_directory.h"

namespace {

constexpr int kProducts = 100'000;

std::string Catalogue() {
  std::string csv =
      "id,name,description,gtin,shelf-life,count,order-no,order-in-barcode,best-before,weight,"
      "batch\r\n";
  for (int i = 0; i < kProducts; ++i) {
    csv += fmt::format(
        "P{:06},\"Rødkål, {}\",Kasse {},5701234567899,{},{},O{},0,2027-03-{:02},"
        "{}.{:03},Parti {}\r\n",
        i, i % 5000, i % 40, i % 365, i % 1000, i % 9999, 1 + i % 28, i % 9999, i % 1000, i);
  }
  return csv;
}

bool RunCli(const std::filesystem::path& folder, std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), {PALTRIX_CLI_PATH, "--workdir", folder.string()});
  return paltrix::testing::WaitForExit(paltrix::testing::SpawnProgram(
             arguments, {folder / "out.txt", folder / "err.txt"})) == 0;
}

void BM_Import100000Rows(benchmark::State& state) {
  paltrix::testing::TempDirectory folder;
  paltrix::testing::WriteFileText(folder / "catalogue.csv", Catalogue());
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::remove_all(folder / "Data");
    std::filesystem::create_directory(folder / "Data");
    state.ResumeTiming();
    if (!RunCli(folder.path(), {"product", "import", (folder / "catalogue.csv").string()})) {
      state.SkipWithError(paltrix::testing::ReadFileText(folder / "err.txt").c_str());
      return;
    }
  }
  state.SetItemsProcessed(state.iterations() * kProducts);
}
BENCHMARK(BM_Import100000Rows)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_Export100000Products(benchmark::State& state) {
  paltrix::testing::TempDirectory folder;
  std::filesystem::create_directory(folder / "Data");
  paltrix::testing::WriteFileText(folder / "catalogue.csv", Catalogue());
  if (!RunCli(folder.path(), {"product", "import", (folder / "catalogue.csv").string()})) {
    state.SkipWithError("import failed");
    return;
  }
  for (auto _ : state) {
    if (!RunCli(folder.path(), {"product", "export", "--output", (folder / "out.csv").string()})) {
      state.SkipWithError(paltrix::testing::ReadFileText(folder / "err.txt").c_str());
      return;
    }
  }
  state.SetItemsProcessed(state.iterations() * kProducts);
}
BENCHMARK(BM_Export100000Products)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
