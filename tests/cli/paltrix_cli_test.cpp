#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/cli/cli_fixture.h"
#include "tests/cli/cli_runner.h"
#include "tests/output/raw_port_listener.h"
#include "tests/output/test_cupsd.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_directory.h"

namespace paltrix::cli::testing {
namespace {

using ::testing::ContainsRegex;
using ::testing::HasSubstr;
using ::testing::Not;

constexpr const char* kPreamble = "\r^XA^SZ2^MTD^MMT^XZ^XA^PR3^XZ^XA^MD10^XZ";
constexpr const char* kFourLabelsEnd = "^PQ4,0,1,N^XZ";

std::vector<std::string> SplitStreams(const std::string& bytes) {
  std::vector<std::string> streams;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t next = bytes.find('\r', start + 1);
    streams.push_back(bytes.substr(start, next - start));
    if (next == std::string::npos) break;
    start = next;
  }
  return streams;
}

TEST_F(CliTest, PrintsThreePalletsWithConsecutiveSsccsToAFilePrinter) {
  const CliResult result =
      Run({"print", "--product", "100", "--pallets", "3", "--batch", "B1", "--weight", "12.5"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(result.out, "057900010000000424\n057900010000000431\n057900010000000448\n");

  const std::vector<std::string> streams = SplitStreams(PrintedFile());
  ASSERT_EQ(streams.size(), 3u);
  const char* ssccs[] = {"057900010000000424", "057900010000000431", "057900010000000448"};
  for (std::size_t i = 0; i < streams.size(); ++i) {
    EXPECT_TRUE(streams[i].starts_with(kPreamble)) << streams[i];
    EXPECT_TRUE(streams[i].ends_with(kFourLabelsEnd)) << streams[i];
    EXPECT_THAT(streams[i], HasSubstr(std::string("^FD>;>800") + ssccs[i] + "^FS"));
    EXPECT_THAT(streams[i], HasSubstr("^FDR\x9B"
                                      "dk\x86l^FS"))
        << "Danish letters in code page 850";
    EXPECT_THAT(streams[i], HasSubstr(">610B1^FS"));
  }

  EXPECT_THAT(Expect({"company", "show"}), HasSubstr("Serial:      000000044"));
  EXPECT_THAT(Expect({"product", "list"}), Not(HasSubstr("B1")))
      << "the values typed for a run are not stored in the product";
}

TEST_F(CliTest, BadInputIsRefusedAndNothingIsWritten) {
  const std::string companyBefore = CompanyRecord();
  const struct {
    std::vector<std::string> arguments;
    int exitStatus;
    const char* message;
  } cases[] = {
      {{"print", "--product", "999"}, 1, "no product with the ID \"999\""},
      {{"print", "--product", "100", "--best-before", "2026-02-30"}, 2, "not a valid date"},
      {{"print", "--product", "100", "--best-before", "31.12.2026"}, 2, "YYYY-MM-DD"},
      {{"print", "--product", "100", "--pallets", "-1"}, 2, "--pallets"},
      {{"print", "--product", "100", "--pallets", "0"}, 2, "--pallets: 0 is outside 1 to 9999"},
      {{"print", "--product", "100", "--weight", "12.3456"}, 2, "--weight"},
      {{"print", "--product", "100", "--type", "box"}, 2, "--type"},
      {{"product", "add", "--id", "101", "--gtin", "5701234567890"}, 2, "check digit"},
      {{"product", "add", "--id", "1234567890123"}, 2, "longer than 12"},
      {{"product", "add", "--id", "100", "--name", "x"},
       1,
       "duplicate entry for the key: PRO:IDKey"},
      {{"company", "set", "--serial", "1000000000"}, 2, "--serial"},
      {{"printer", "set", "--format", "zpl5"}, 2, "--format"},
      {{"printer", "set", "--format", "3"}, 2, "not in {limited,mixed,standard,zpl4,zpl6}"},
      {{"print", "--product", "100", "--type", "box"}, 2, "not in {case,ean13,mixed,pallet}"},
      {{"product", "add", "--id", "   "}, 2, "a product needs an ID"},  // would be a blank key
      // (400) carries at most 5 characters; the product form keeps to that.
      {{"product", "add", "--id", "101", "--order-no", "123456", "--order-in-barcode", "1"},
       2,
       "at most 5 characters"},
      {{"product", "change", "--id", "100", "--order-no", "123456", "--order-in-barcode", "1"},
       2,
       "at most 5 characters"},
      {{"print", "--product", std::string(20, 'x')}, 2, "--product:"},
      {{"print", "--product", "100", "--type", "mixed", "--best-before", "2026-01-01"},
       2,
       "this week's number"},
  };
  for (const auto& bad : cases) {
    const CliResult result = Run(bad.arguments);
    EXPECT_EQ(result.exitStatus, bad.exitStatus) << bad.arguments.at(0) << " " << result.err;
    EXPECT_THAT(result.err, HasSubstr(bad.message));
    EXPECT_EQ(result.out, "");
  }
  EXPECT_EQ(CompanyRecord(), companyBefore) << "no SSCC was spent";
  EXPECT_FALSE(std::filesystem::exists(folder_ / "labels.zpl"));
  EXPECT_EQ(Expect({"product", "list"}).find("101"), std::string::npos);
}

TEST_F(CliTest, EveryCommandHasReadableHelp) {
  const std::vector<std::vector<std::string>> commands = {
      {},
      {"company"},
      {"company", "set"},
      {"company", "show"},
      {"product"},
      {"product", "add"},
      {"product", "change"},
      {"product", "delete"},
      {"product", "list"},
      {"printer"},
      {"printer", "set"},
      {"printer", "show"},
      {"printer", "list"},
      {"print"},
  };
  for (std::vector<std::string> command : commands) {
    std::string usage = "Usage: paltrix-cli";
    for (const std::string& word : command) usage += " " + word;
    command.push_back("--help");
    const CliResult result = Run(command);
    EXPECT_EQ(result.exitStatus, 0) << usage;
    EXPECT_THAT(result.out, HasSubstr(usage));
    const bool printable = std::ranges::all_of(
        result.out, [](char c) { return c == '\n' || static_cast<unsigned char>(c) >= 0x20; });
    EXPECT_TRUE(printable) << usage << ": raw bytes where option values belong";
  }
  EXPECT_THAT(Run({"print", "--help"}).out, HasSubstr("--type TEXT:{case,ean13,mixed,pallet}"));
}

TEST_F(CliTest, PrintsAMixedPalletWithThisWeekAndTheMixNumber) {
  Expect({"product", "add", "--id", "MIX", "--name", "Blandet", "--gtin", "5701234567899",
          "--description", "F-204"});

  const CliResult defaults = Run({"print", "--product", "MIX", "--type", "mixed"});
  ASSERT_EQ(defaults.exitStatus, 0) << defaults.err;
  EXPECT_EQ(defaults.out, "057900010000000424\n");
  // (10) holds the week as two digits, the mix number and the flower order number.
  EXPECT_THAT(PrintedFile(), ContainsRegex("\\^FD\\(10\\)[0-5][0-9]1F-204\\^FS"))
      << "this week and mix number 1, as the mixed-pallet window opens";

  std::filesystem::remove(folder_ / "labels.zpl");
  ASSERT_EQ(Run({"print", "--product", "MIX", "--type", "mixed", "--batch", "12"}).exitStatus, 0);
  EXPECT_THAT(PrintedFile(), ContainsRegex("\\^FD\\(10\\)[0-5][0-9]12F-204\\^FS"));

  // On 12 dots/mm the dialog prints the fine pallet label for every label type.
  Expect({"printer", "set", "--dots", "12"});
  std::filesystem::remove(folder_ / "labels.zpl");
  ASSERT_EQ(Run({"print", "--product", "MIX", "--type", "mixed", "--best-before", "2031-12-01"})
                .exitStatus,
            0);
  EXPECT_THAT(PrintedFile(), HasSubstr("(15)311201")) << "a best-before date, not a week";
}

TEST_F(CliTest, ZeroDefaultsOfNewRecordsAreRefusedBeforeAnySsccIsSpent) {
  Expect({"printer", "set", "--labels-per-pallet", "0"});
  Expect({"company", "set", "--pallets", "0"});
  const std::string companyBefore = CompanyRecord();

  CliResult result = Run({"print", "--product", "100", "--pallets", "1"});
  EXPECT_EQ(result.exitStatus, 2);
  EXPECT_THAT(result.err, HasSubstr("no labels per pallet"));
  result = Run({"print", "--product", "100", "--labels", "1"});
  EXPECT_EQ(result.exitStatus, 2);
  EXPECT_THAT(result.err, HasSubstr("no pallets"));
  EXPECT_EQ(CompanyRecord(), companyBefore);
  EXPECT_FALSE(std::filesystem::exists(folder_ / "labels.zpl"));
}

TEST_F(CliTest, TellsWhichLabelMissedAnUnreachablePrinter) {
  const output::testing::RefusingPort refusing;
  const std::string printer = "socket://127.0.0.1:" + std::to_string(refusing.port());
  const CliResult result =
      Run({"print", "--product", "100", "--pallets", "2", "--printer", printer});
  EXPECT_EQ(result.exitStatus, 4);
  EXPECT_EQ(result.out, "") << "standard output names only SSCCs that reached the printer";
  EXPECT_THAT(result.err,
              HasSubstr("SSCC 057900010000000424 did not reach the printer \"" + printer + "\""));
  EXPECT_THAT(result.err, HasSubstr("SSCC 057900010000000431 did not reach the printer"))
      << "the run goes on with the next pallet";
  EXPECT_THAT(paltrix::testing::ReadFileText(folder_ / "errprt.log"), HasSubstr(printer));
}

TEST_F(CliTest, PrintsThroughACupsQueue) {
  if (!output::testing::TestCupsd::FindScheduler()) GTEST_SKIP() << "cupsd is not installed";
  output::testing::RawPortListener labelPrinter;
  output::testing::TestCupsd cupsd;
  cupsd.AddRawQueue("dock-1", labelPrinter.uri());
  Expect({"printer", "set", "--printer", "dock-1"});

  const CliResult result = Run({"print", "--product", "100", "--pallets", "3"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  const std::vector<std::string> jobs = labelPrinter.WaitForJobs(3);
  ASSERT_EQ(jobs.size(), 3u);
  for (const std::string& job : jobs) {
    EXPECT_TRUE(job.starts_with(kPreamble)) << "the carriage return, then the stream unchanged";
    EXPECT_TRUE(job.ends_with(kFourLabelsEnd));
  }
}

TEST_F(CliTest, ListsTheCupsQueuesWithTheDefaultMarked) {
  if (!output::testing::TestCupsd::FindScheduler()) GTEST_SKIP() << "cupsd is not installed";
  output::testing::TestCupsd cupsd;
  cupsd.AddRawQueue("dock-1", "socket://127.0.0.1:9101");
  cupsd.AddRawQueue("dock-2", "socket://127.0.0.1:9102");
  cupsd.SetDefault("dock-2");

  const CliResult result = Run({"printer", "list"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_THAT(result.out, HasSubstr("  dock-1 on socket://127.0.0.1:9101\n"));
  EXPECT_THAT(result.out, HasSubstr("* dock-2 on socket://127.0.0.1:9102\n"));
}

// Run in a program of its own: libcups reads the client options (where
// instances live) from the folders it saw first in a process.
TEST_F(CliTest, PrintsToACupsInstanceFromThePrinterList) {
  if (!output::testing::TestCupsd::FindScheduler()) GTEST_SKIP() << "cupsd is not installed";
  output::testing::RawPortListener labelPrinter;
  output::testing::TestCupsd cupsd;
  cupsd.AddRawQueue("dock-1", labelPrinter.uri());
  cupsd.Run("lpoptions", {"-p", "dock-1/labels", "-o", "job-priority=60"});
  EXPECT_THAT(Expect({"printer", "list"}), HasSubstr("dock-1/labels on "));

  Expect({"printer", "set", "--printer", "dock-1/labels"});
  const CliResult result = Run({"print", "--product", "100", "--pallets", "1"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(labelPrinter.WaitForJobs(1).size(), 1u) << "the instance prints to its queue";
}

}  // namespace
}  // namespace paltrix::cli::testing
