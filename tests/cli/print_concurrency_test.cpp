// A label run in one process while another changes the company: the serial
// never goes back, so no SSCC is issued twice.

#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "tests/cli/cli_fixture.h"
#include "tests/support/child_process.h"
#include "tests/support/file_text.h"

namespace paltrix::cli::testing {
namespace {

constexpr int kPallets = 500;
// How far the run may get ahead of the company changes: each change lets the
// test take this many more bytes from the printer (besides the FIFO's buffer).
constexpr std::size_t kBytesPerChange = 32 * 1024;

class PrintBesideCompanyChangesTest : public CliTest,
                                      public ::testing::WithParamInterface<const char*> {
 protected:
  void ChangeCompany(int change) {
    const std::string option = GetParam();
    Expect({"company", "set", option,
            option == "--name" ? "Firma " + std::to_string(change)
                               : std::to_string(1 + change % 50)});
  }
};

// The printer is a FIFO that a second thread drains while this one changes
// the company again and again. The drain keeps no more than kBytesPerChange
// ahead of the changes, so the run cannot end before several of them, and
// otherwise the run goes at its own pace beside them.
TEST_P(PrintBesideCompanyChangesTest, EverySsccIsDistinctAndTheSerialCountsEveryPallet) {
  const std::filesystem::path printerFile = folder_ / "labels.zpl";
  ASSERT_EQ(mkfifo(printerFile.c_str(), 0600), 0);
  const int fifo = open(printerFile.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  ASSERT_GE(fifo, 0);

  const paltrix::testing::ChildOutput printOutput{folder_ / "print.out", folder_ / "print.err"};
  const pid_t print = paltrix::testing::SpawnProgram(
      {PALTRIX_CLI_PATH, "--workdir", folder_.path().string(), "print", "--product", "100",
       "--pallets", std::to_string(kPallets), "--labels", "1"},
      printOutput);

  std::atomic<int> changes = 0;
  std::atomic<bool> drained = false;
  std::string printed;
  std::optional<int> printStatus;
  int readError = 0;
  std::thread drain([&] {
    std::vector<char> chunk(4096);
    for (;;) {
      if (printed.size() >= (static_cast<std::size_t>(changes) + 1) * kBytesPerChange) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        continue;
      }
      const ssize_t got = read(fifo, chunk.data(), chunk.size());
      if (got > 0) {
        printed.append(chunk.data(), static_cast<std::size_t>(got));
        continue;
      }
      if (got < 0 && errno != EAGAIN && errno != EINTR) {
        readError = errno;
        break;
      }
      // Empty with no writer: between two labels, or the run is over.
      if (printStatus) break;
      printStatus = paltrix::testing::ExitStatusIfEnded(print);
      if (!printStatus) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    drained = true;
  });
  while (!drained) ChangeCompany(changes++);
  drain.join();
  close(fifo);
  ASSERT_EQ(readError, 0) << "reading the printer FIFO";
  if (!printStatus) printStatus = paltrix::testing::WaitForExit(print);
  ASSERT_EQ(*printStatus, 0) << paltrix::testing::ReadFileText(printOutput.err);
  EXPECT_GT(changes, 1) << "the changes ran while the print did";

  const std::vector<std::string> reported = Lines(paltrix::testing::ReadFileText(printOutput.out));
  ASSERT_EQ(reported.size(), static_cast<std::size_t>(kPallets));
  EXPECT_EQ(PrintedSsccs(printed), reported);
  EXPECT_EQ(std::set<std::string>(reported.begin(), reported.end()).size(), reported.size())
      << "an SSCC was issued twice";
  std::string serial = std::to_string(41 + kPallets);
  serial.insert(0, 9 - serial.size(), '0');
  EXPECT_THAT(Expect({"company", "show"}), ::testing::HasSubstr("Serial:      " + serial + "\n"));
}

INSTANTIATE_TEST_SUITE_P(CompanyOption, PrintBesideCompanyChangesTest,
                         ::testing::Values("--name", "--pallets"),
                         [](const ::testing::TestParamInfo<const char*>& option) {
                           return std::string(option.param + 2);  // without "--"
                         });

}  // namespace
}  // namespace paltrix::cli::testing
