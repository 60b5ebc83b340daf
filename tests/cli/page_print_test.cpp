#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/cli/cli_runner.h"
#include "tests/output/raw_port_listener.h"
#include "tests/output/test_cupsd.h"
#include "tests/support/child_process.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_directory.h"

namespace paltrix::cli::testing {
namespace {

using ::testing::HasSubstr;

// A working directory with a company (last serial 41), the "Standard" page
// format, three labels per pallet and one product.
class PagePrintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(folder_ / "Data");
    Expect({"company", "set", "--name", "Grønt ApS", "--address1", "Havnevej 1", "--postcode",
            "5000", "--town", "Odense", "--prefix", "5790001", "--serial", "41", "--pallets", "1"});
    Expect({"printer", "set", "--format", "standard", "--labels-per-pallet", "3", "--printer",
            "file://" + Pdf().string()});
    Expect({"product", "add", "--id", "100", "--name", "Rødkål", "--gtin", "5701234567899",
            "--shelf-life", "10", "--count", "40"});
  }

  CliResult Run(const std::vector<std::string>& arguments) {
    return RunCli(folder_.path(), arguments);
  }
  void Expect(const std::vector<std::string>& arguments) {
    const CliResult result = Run(arguments);
    EXPECT_EQ(result.exitStatus, 0) << arguments.at(0) << ": " << result.err;
  }
  std::filesystem::path Pdf() const { return folder_ / "pages.pdf"; }

  // Pages of the PDF file, as poppler counts them.
  int PdfPages() {
    const std::filesystem::path info = folder_ / "pdfinfo.txt";
    const pid_t child =
        paltrix::testing::SpawnProgram({"/usr/bin/pdfinfo", Pdf().string()}, {info, {}, false});
    EXPECT_EQ(paltrix::testing::WaitForExit(child), 0);
    const std::string text = paltrix::testing::ReadFileText(info);
    const std::size_t at = text.find("Pages:");
    return at == std::string::npos ? -1 : std::stoi(text.substr(at + 6));
  }

  paltrix::testing::TempDirectory folder_;
};

TEST_F(PagePrintTest, PrintsEveryLabelAsAnA5PageAndEmptiesTheQueue) {
  CliResult result = Run({"print", "--product", "100", "--pallets", "2", "--batch", "B1"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(result.out, "057900010000000424\n057900010000000431\n");
  EXPECT_EQ(PdfPages(), 6);

  // Nothing is left in the queue to be printed again.
  Expect({"printer", "set", "--format", "limited"});
  result = Run({"print", "--product", "100", "--pallets", "1", "--labels", "1"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(result.out, "057900010000000448\n");
  EXPECT_EQ(PdfPages(), 1);
}

TEST_F(PagePrintTest, AnUnknownPageQueueKeepsTheLabelsForTheNextRun) {
  CliResult result =
      Run({"print", "--product", "100", "--pallets", "1", "--printer", "no-such-queue"});
  EXPECT_EQ(result.exitStatus, 4);
  EXPECT_EQ(result.out, "") << "no SSCC on standard output that did not print";
  EXPECT_THAT(result.err, HasSubstr("there is no printer \"no-such-queue\""));
  EXPECT_THAT(result.err, HasSubstr("SSCC 057900010000000424 stay queued"));

  result = Run({"print", "--product", "100", "--pallets", "1", "--labels", "1"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(PdfPages(), 4) << "three queued before and one of this run";
}

TEST_F(PagePrintTest, PrintsPagesThroughACupsQueue) {
  if (!output::testing::TestCupsd::FindScheduler()) GTEST_SKIP() << "cupsd is not installed";
  output::testing::RawPortListener pagePrinter;
  output::testing::TestCupsd cupsd;
  cupsd.AddRawQueue("office-1", pagePrinter.uri());
  Expect({"printer", "set", "--printer", "office-1"});

  const CliResult result = Run({"print", "--product", "100", "--pallets", "1"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  const std::vector<std::string> jobs = pagePrinter.WaitForJobs(1);
  ASSERT_EQ(jobs.size(), 1u);
  EXPECT_TRUE(jobs[0].starts_with("%PDF")) << jobs[0].substr(0, 40);
}

}  // namespace
}  // namespace paltrix::cli::testing
