// A label run in one process while another changes the company: the serial
// never goes back, so no SSCC is issued twice.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "tests/cli/cli_fixture.h"
#include "tests/support/child_process.h"
#include "tests/support/file_text.h"

namespace paltrix::cli::testing {
namespace {

// Long enough that several company changes start while it prints, even on a busy machine.
constexpr int kPallets = 3000;

class PrintBesideCompanyChangesTest : public CliTest,
                                      public ::testing::WithParamInterface<const char*> {};

TEST_P(PrintBesideCompanyChangesTest, EverySsccIsDistinctAndTheSerialCountsEveryPallet) {
  const paltrix::testing::ChildOutput printOutput{folder_ / "print.out", folder_ / "print.err"};
  const pid_t print = paltrix::testing::SpawnProgram(
      {PALTRIX_CLI_PATH, "--workdir", folder_.path().string(), "print", "--product", "100",
       "--pallets", std::to_string(kPallets), "--labels", "1"},
      printOutput);

  const std::string option = GetParam();
  int changes = 0;
  std::optional<int> printStatus;
  while (!(printStatus = paltrix::testing::ExitStatusIfEnded(print))) {
    const std::string value =
        option == "--name" ? "Firma " + std::to_string(changes) : std::to_string(1 + changes % 50);
    Expect({"company", "set", option, value});
    ++changes;
  }
  ASSERT_EQ(*printStatus, 0) << paltrix::testing::ReadFileText(printOutput.err);
  EXPECT_GT(changes, 1) << "the changes ran while the print did";

  const std::vector<std::string> reported = Lines(paltrix::testing::ReadFileText(printOutput.out));
  const std::vector<std::string> printed = PrintedSsccs(PrintedFile());
  ASSERT_EQ(reported.size(), static_cast<std::size_t>(kPallets));
  EXPECT_EQ(printed, reported);
  EXPECT_EQ(std::set<std::string>(printed.begin(), printed.end()).size(), printed.size())
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
