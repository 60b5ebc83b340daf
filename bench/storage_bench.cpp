// The keyed-file storage engine with the program's own record layouts:
// - opening every keyed file of a record context from cold (target < 50 ms),
// - 100 000 product records of 215 bytes with two keys added in bulk mode
//   (target < 5 s), and the same appended without keys and then keyed,
// - one durable add outside any transaction,
// - positioning on a key and reading the next record among 100 000 records
//   (target < 20 µs), in the Data folder and on the local PostgreSQL server
//   (target < 0.5 ms).
#include <benchmark/benchmark.h>
#include <fmt/format.h>
#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "app/records/produkt.h"
#include "app/records/record_files.h"
#include "bench/bench_database.h"
#include "framework/fields/record_codec.h"
#include "framework/path/path_resolver.h"
#include "framework/storage/keyed_file.h"

namespace paltrix::storage {
namespace {

namespace produkt = records::produkt;
constexpr int kProducts = 100000;

class BenchFolder {
 public:
  BenchFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "paltrix-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  BenchFolder(const BenchFolder&) = delete;
  BenchFolder& operator=(const BenchFolder&) = delete;
  ~BenchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

template <typename T>
T Check(Result<T> result) {
  if (!result.ok()) throw std::runtime_error(result.status().ToString());
  return std::move(result).value();
}

void Check(const Status& status) {
  if (!status.ok()) throw std::runtime_error(status.ToString());
}

void RemoveIfPresent(const std::filesystem::path& path) {
  const Status status = RemoveKeyedFile(path);
  if (status.code() != ErrorCode::kFileNotFound) Check(status);
}

std::string ProductId(int n) {
  return fmt::format("P{}", 100000 + n);
}

Record Product(int n) {
  Record record = Record::Blank(produkt::kSchema);
  fields::WriteText(record.image, produkt::PRODUKTID, ProductId(n));
  fields::WriteText(record.image, produkt::PRODUKTNAVN,
                    fmt::format("Produkt {}", (n * 7919) % 5000));  // names repeat
  fields::WriteText(record.image, produkt::EANNR, fmt::format("0570{}", 1000000000 + n));
  fields::WriteShort(record.image, produkt::HOLDBARHEDSDAGE, 30);
  fields::WriteLong(record.image, produkt::ANTALPRPALLE, 48);
  fields::WriteText(record.image, produkt::BATCHNR, fmt::format("B{}", n % 97));
  return record;
}

// Every keyed disk file a record context opens (PRODUcT shares Produkt's file
// and is never opened), resolved the way the program resolves disk names.
std::vector<std::pair<const FileSchema*, std::filesystem::path>> KeyedFiles(
    const std::filesystem::path& base) {
  std::vector<std::pair<const FileSchema*, std::filesystem::path>> files;
  for (const FileSchema* schema : records::kFilesInCreationOrder) {
    if (!records::IsOpenedByStorageEngine(*schema)) continue;
    files.emplace_back(schema, Check(path::ResolveDiskName(schema->diskName, base)));
  }
  return files;
}

void BM_OpenAllKeyedFilesFromCold(benchmark::State& state) {
  BenchFolder folder;
  std::filesystem::create_directory(folder.path() / "Data");
  auto files = KeyedFiles(folder.path());
  {
    Session creator;
    for (auto& [schema, path] : files) Check(creator.Open(*schema, path));
  }
  for (auto _ : state) {
    Session session;
    for (auto& [schema, path] : files) {
      // As the program does it: disk name to path, then open.
      std::filesystem::path resolved =
          Check(path::ResolveDiskName(schema->diskName, folder.path()));
      benchmark::DoNotOptimize(Check(session.Open(*schema, resolved)));
    }
  }
  state.counters["files"] = static_cast<double>(files.size());
}
BENCHMARK(BM_OpenAllKeyedFilesFromCold)->Unit(benchmark::kMillisecond);

// 100 000 products into a new file in bulk mode: added with their keys, or
// appended without keys and keyed afterwards (the conversion program's way).
void BulkLoad(benchmark::State& state, bool appendThenBuildKeys) {
  BenchFolder folder;
  const std::filesystem::path path = folder.path() / "PRODUKT.dat";
  for (auto _ : state) {
    state.PauseTiming();
    RemoveIfPresent(path);
    state.ResumeTiming();
    Session session;
    KeyedFile* file = Check(session.Open(produkt::kSchema, path));
    Check(file->BeginBulk());
    for (int n = 0; n < kProducts; ++n) {
      Check(appendThenBuildKeys ? file->Append(Product(n)) : file->Add(Product(n)));
    }
    Check(file->EndBulk());
    if (appendThenBuildKeys) Check(file->BuildKeys());
  }
  state.SetItemsProcessed(state.iterations() * kProducts);
}

void BM_BulkAdd100000Products(benchmark::State& state) {
  BulkLoad(state, false);
}
void BM_BulkAppend100000ProductsThenBuildKeys(benchmark::State& state) {
  BulkLoad(state, true);
}
BENCHMARK(BM_BulkAdd100000Products)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_BulkAppend100000ProductsThenBuildKeys)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SingleDurableAdd(benchmark::State& state) {
  BenchFolder folder;
  Session session;
  KeyedFile* file = Check(session.Open(produkt::kSchema, folder.path() / "PRODUKT.dat"));
  int n = 0;
  for (auto _ : state) Check(file->Add(Product(n++)));
}
BENCHMARK(BM_SingleDurableAdd)->Unit(benchmark::kMicrosecond);

// One file of 100 000 products shared by the positioning benchmarks, in the
// Data folder or on a database.
class ProductFile {
 public:
  explicit ProductFile(StorageTarget target)
      : target_(std::move(target)), path_(folder_.path() / "PRODUKT.dat") {
    Session creator(target_);
    KeyedFile* file = Check(creator.Open(produkt::kSchema, path_));
    Check(file->BeginBulk());
    for (int n = 0; n < kProducts; ++n) Check(file->Add(Product(n)));
    Check(file->EndBulk());
  }
  const StorageTarget& target() const { return target_; }
  const std::filesystem::path& path() const { return path_; }

 private:
  StorageTarget target_;
  BenchFolder folder_;
  std::filesystem::path path_;
};

const ProductFile& Products() {
  static const ProductFile file(StorageTarget::DataFolder());
  return file;
}

void SeekAndNext(benchmark::State& state, std::size_t key,
                 const ProductFile& products = Products()) {
  Session session(products.target());
  KeyedFile* file = Check(session.Open(produkt::kSchema, products.path()));
  std::mt19937 random(42);
  std::uniform_int_distribution<int> pick(0, kProducts - 1);
  Record record;
  for (auto _ : state) {
    const Record probe = Product(pick(random));
    Check(file->SetKeyOrder(key, &probe));
    Check(file->Next(record));
  }
}

void BM_SeekAndNextOnUniqueKey(benchmark::State& state) {
  SeekAndNext(state, produkt::kIDKey);
}
void BM_SeekAndNextOnDuplicatesKey(benchmark::State& state) {
  SeekAndNext(state, produkt::kNavneKey);
}
// The catalogue on the local PostgreSQL server (target < 0.5 ms).
void BM_SeekAndNextOnUniqueKeyOnServer(benchmark::State& state) {
  std::optional<StorageTarget> database = bench::BenchDatabase(state);
  if (!database) return;
  static const ProductFile products(*database);
  SeekAndNext(state, produkt::kIDKey, products);
}
BENCHMARK(BM_SeekAndNextOnUniqueKey)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SeekAndNextOnUniqueKeyOnServer)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SeekAndNextOnDuplicatesKey)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace paltrix::storage
