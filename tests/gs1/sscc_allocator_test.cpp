#include "app/gs1/sscc_allocator.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/gs1/sscc.h"
#include "app/records/firma.h"
#include "framework/fields/record_codec.h"
#include "tests/framework/storage_backends.h"

namespace paltrix::gs1 {
namespace {

namespace firma = records::firma;

constexpr std::int32_t kPrefix = 5790001;

struct StoredSerial {
  std::int32_t serial;
  std::string sscc;
};

// One record context on the company file, as a print window has it.
class FirmaContext {
 public:
  FirmaContext(const storage::StorageTarget& target, const std::filesystem::path& path)
      : session_(target),
        file_(session_.Open(firma::kSchema, path)),
        buffer_(storage::Record::Blank(firma::kSchema)) {}

  Status status() const { return file_.ok() ? Status::Ok() : file_.status(); }
  Result<std::string> Allocate() { return AllocateSSCC(**file_, buffer_); }
  const storage::Record& buffer() const { return buffer_; }

  Status AddCompany(std::int32_t prefix, std::int32_t serial) {
    storage::Record record = storage::Record::Blank(firma::kSchema);
    fields::WriteText(record.image, firma::NAVN, "Gartneriet");
    fields::WriteLong(record.image, firma::SSCCNR, prefix);
    fields::WriteLong(record.image, firma::SS, serial);
    const auto added = (*file_)->Add(record);
    return added.ok() ? Status::Ok() : added.status();
  }

  StoredSerial Stored() {
    storage::Record record;
    (*file_)->SetPhysicalOrder();
    EXPECT_TRUE((*file_)->Next(record).ok());
    return {fields::ReadLong(record.image, firma::SS), fields::ReadText(record.image, firma::SSCC)};
  }

 private:
  storage::Session session_;
  Result<storage::KeyedFile*> file_;
  storage::Record buffer_;
};

class SsccAllocationTest : public ::testing::TestWithParam<storage::testing::Backend> {
 protected:
  void SetUp() override { path_ = storage_ / "DFIRMA.DAT"; }

  void CreateCompany(std::int32_t prefix, std::int32_t serial) {
    FirmaContext context(storage_.target(), path_);
    ASSERT_TRUE(context.status().ok()) << context.status().ToString();
    ASSERT_TRUE(context.AddCompany(prefix, serial).ok());
  }

  StoredSerial Stored() { return FirmaContext(storage_.target(), path_).Stored(); }

  storage::testing::StorageUnderTest storage_{GetParam()};
  testing::TempDirectory directory_;
  std::filesystem::path path_;
};

TEST_P(SsccAllocationTest, AdvancesTheSerialAndStoresTheCodeBeforeReturning) {
  CreateCompany(kPrefix, 41);
  FirmaContext context(storage_.target(), path_);
  const auto sscc = context.Allocate();
  ASSERT_TRUE(sscc.ok()) << sscc.status().ToString();
  EXPECT_EQ(*sscc, "057900010000000424");

  // Another context (another window or process) sees it at once.
  const StoredSerial stored = Stored();
  EXPECT_EQ(stored.serial, 42);
  EXPECT_EQ(stored.sscc, "057900010000000424");
  EXPECT_EQ(fields::ReadLong(context.buffer().image, firma::SS), 42);
  EXPECT_EQ(fields::ReadText(context.buffer().image, firma::SSCC), "057900010000000424");
  EXPECT_EQ(fields::ReadText(context.buffer().image, firma::NAVN), "Gartneriet");
}

TEST_P(SsccAllocationTest, ThreePalletsGetThreeConsecutiveCodes) {
  CreateCompany(kPrefix, 41);
  FirmaContext context(storage_.target(), path_);
  std::vector<std::string> codes;
  for (int pallet = 0; pallet < 3; ++pallet) codes.push_back(context.Allocate().value());
  EXPECT_EQ(codes, (std::vector<std::string>{SsccFromParts(kPrefix, 42).value(),
                                             SsccFromParts(kPrefix, 43).value(),
                                             SsccFromParts(kPrefix, 44).value()}));
  EXPECT_EQ(Stored().serial, 44);
}

TEST_P(SsccAllocationTest, RefusesToPassTheNineDigitLimitAndChangesNothing) {
  CreateCompany(kPrefix, kLargestSerial - 1);
  FirmaContext context(storage_.target(), path_);
  const std::string last = context.Allocate().value();
  EXPECT_EQ(last, SsccFromParts(kPrefix, kLargestSerial).value());

  const auto refused = context.Allocate();
  ASSERT_FALSE(refused.ok());
  EXPECT_EQ(refused.status().code(), ErrorCode::kInvalidValue);
  const StoredSerial stored = Stored();
  EXPECT_EQ(stored.serial, kLargestSerial);
  EXPECT_EQ(stored.sscc, last);
}

TEST_P(SsccAllocationTest, RefusesAPrefixWiderThanEightDigits) {
  CreateCompany(kLargestCompanyPrefix + 1, 41);
  FirmaContext context(storage_.target(), path_);
  EXPECT_EQ(context.Allocate().status().code(), ErrorCode::kInvalidValue);
  EXPECT_EQ(Stored().serial, 41);
}

TEST_P(SsccAllocationTest, NoCompanyRecordIsReported) {
  FirmaContext context(storage_.target(), path_);
  ASSERT_TRUE(context.status().ok());
  EXPECT_EQ(context.Allocate().status().code(), ErrorCode::kRecordNotFound);
}

// A forked child process running `body`, whose result is its exit code. A
// child still running when the object goes away is killed and reaped.
class ChildProcess {
 public:
  explicit ChildProcess(const std::function<int()>& body) : pid_(fork()) {
    if (pid_ == 0) _exit(body());
  }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess() {
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }

  bool started() const { return pid_ > 0; }
  void Kill() const { kill(pid_, SIGKILL); }

  // Waits for the end: the exit code, or 128 + the signal that ended it.
  int Wait() {
    int status = 0;
    const pid_t ended = waitpid(pid_, &status, 0);
    pid_ = -1;
    if (ended < 0) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }

 private:
  pid_t pid_;
};

std::vector<std::string> ReadLines(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST_P(SsccAllocationTest, TwoProcessesAllocatingAtOnceNeverShareACode) {
  constexpr int kPerProcess = 1000;
  CreateCompany(kPrefix, 41);

  int gate[2];
  ASSERT_EQ(pipe(gate), 0);
  std::vector<std::unique_ptr<ChildProcess>> children;
  for (int child = 0; child < 2; ++child) {
    const auto output = directory_ / ("codes-" + std::to_string(child));
    children.push_back(std::make_unique<ChildProcess>([&, output] {
      close(gate[1]);
      char go;
      if (read(gate[0], &go, 1) != 0) return 2;  // both start when the gate closes
      FirmaContext context(storage_.target(), path_);
      std::ofstream out(output);
      for (int i = 0; i < kPerProcess; ++i) {
        const auto sscc = context.Allocate();
        if (!sscc.ok()) {
          out << "failed: " << sscc.status().ToString() << "\n";
          return 1;
        }
        out << *sscc << "\n";
      }
      return 0;
    }));
    ASSERT_TRUE(children.back()->started());
  }
  close(gate[0]);
  close(gate[1]);

  std::set<std::string> codes;
  for (int child = 0; child < 2; ++child) {
    EXPECT_EQ(children[child]->Wait(), 0);
    const auto lines = ReadLines(directory_ / ("codes-" + std::to_string(child)));
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(kPerProcess))
        << (lines.empty() ? "" : lines.back());
    for (const std::string& sscc : lines) EXPECT_TRUE(IsValidSscc(sscc)) << sscc;
    codes.insert(lines.begin(), lines.end());
  }
  EXPECT_EQ(codes.size(), 2u * kPerProcess) << "a code was handed out twice";
  EXPECT_EQ(Stored().serial, 41 + 2 * kPerProcess);
}

TEST_P(SsccAllocationTest, AProcessKilledMidRunNeverLeavesAReturnedCodeForReuse) {
  CreateCompany(kPrefix, 41);

  int channel[2];
  ASSERT_EQ(pipe(channel), 0);
  // The child allocates until killed and reports every code the moment it
  // has it, i.e. before it would send the label to the printer.
  ChildProcess printer([&] {
    close(channel[0]);
    FirmaContext context(storage_.target(), path_);
    for (;;) {
      const auto sscc = context.Allocate();
      if (!sscc.ok()) return 1;
      const std::string line = *sscc + "\n";
      if (write(channel[1], line.data(), line.size()) != static_cast<ssize_t>(line.size())) {
        return 1;
      }
    }
  });
  ASSERT_TRUE(printer.started());
  close(channel[1]);

  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> reported(fdopen(channel[0], "r"),
                                                                 &std::fclose);
  ASSERT_NE(reported, nullptr);
  std::vector<std::string> reportedCodes;
  char line[64];
  while (reportedCodes.size() < 300 && std::fgets(line, sizeof line, reported.get()) != nullptr) {
    reportedCodes.emplace_back(line, kSsccLength);
  }
  ASSERT_EQ(reportedCodes.size(), 300u) << "the child stopped early";
  printer.Kill();
  EXPECT_EQ(printer.Wait(), 128 + SIGKILL);
  while (std::fgets(line, sizeof line, reported.get()) != nullptr) {
    reportedCodes.emplace_back(line, kSsccLength);
  }
  const std::set<std::string> returned(reportedCodes.begin(), reportedCodes.end());
  ASSERT_EQ(returned.size(), reportedCodes.size()) << "a code was returned twice before the kill";

  // The restarted program continues after every code the killed one returned.
  FirmaContext restarted(storage_.target(), path_);
  ASSERT_TRUE(restarted.status().ok()) << restarted.status().ToString();
  for (int pallet = 0; pallet < 50; ++pallet) {
    const auto sscc = restarted.Allocate();
    ASSERT_TRUE(sscc.ok()) << sscc.status().ToString();
    EXPECT_FALSE(returned.count(*sscc)) << *sscc << " was already returned before the kill";
  }
}

// The server ends the station's connection between two pallets: the next
// allocation fails without a code, and the one after connects again and
// continues the serial, skipping nothing and repeating nothing.
TEST(SsccAllocationOnServer, AnAllocationWhoseConnectionWasLostReturnsNoCodeAndTheNextContinues) {
  storage::testing::StorageUnderTest storage(storage::testing::Backend::kPostgres);
  const std::filesystem::path path = storage / "DFIRMA.DAT";
  FirmaContext context(storage.target(), path);
  ASSERT_TRUE(context.status().ok()) << context.status().ToString();
  ASSERT_TRUE(context.AddCompany(kPrefix, 41).ok());
  ASSERT_EQ(context.Allocate().value(), SsccFromParts(kPrefix, 42).value());

  testing::ExecuteSql(storage.databaseUrl(),
                      "SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = "
                      "current_database() AND pid <> pg_backend_pid()");
  const auto lost = context.Allocate();
  ASSERT_FALSE(lost.ok()) << *lost;
  EXPECT_NE(lost.status().message().find("connection to the PostgreSQL server was lost"),
            std::string::npos)
      << lost.status().message();

  const auto next = context.Allocate();
  ASSERT_TRUE(next.ok()) << next.status().ToString();
  EXPECT_EQ(*next, SsccFromParts(kPrefix, 43).value());
  EXPECT_EQ(FirmaContext(storage.target(), path).Stored().serial, 43);
}

INSTANTIATE_TEST_SUITE_P(Backends, SsccAllocationTest, storage::testing::kBothBackends,
                         storage::testing::BackendName);

}  // namespace
}  // namespace paltrix::gs1
