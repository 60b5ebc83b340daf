#include "output/cups_spooler.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "output/raw_printer.h"
#include "tests/output/raw_port_listener.h"
#include "tests/output/test_cupsd.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_directory.h"

namespace paltrix::output {
namespace {

using testing::RawPortListener;
using testing::TestCupsd;

// A private cupsd with two raw queues: "paltrix-test" (the default) and
// "paltrix-other", each delivering to its own raw port served by the test.
class CupsSpoolerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!TestCupsd::FindScheduler()) {
      GTEST_SKIP() << "cupsd is not installed (Debian package cups-daemon); the CUPS tests need it";
    }
    ASSERT_TRUE(std::filesystem::exists("/usr/lib/cups/backend/socket"))
        << "the CUPS socket backend is missing (Debian package cups)";
    cupsd_ = std::make_unique<TestCupsd>();
    cupsd_->AddRawQueue("paltrix-other", other_.uri());
    cupsd_->AddRawQueue("paltrix-test", label_.uri());
    cupsd_->SetDefault("paltrix-test");
  }

  std::string Log() const { return paltrix::testing::ReadFileText(folder_ / "errprt.log"); }

  paltrix::testing::TempDirectory folder_;
  paltrix::testing::ScopedWorkingDirectory inFolder_{folder_.path()};
  RawPortListener label_;
  RawPortListener other_;
  std::unique_ptr<TestCupsd> cupsd_;
  CupsSpooler spooler_;
  FixedClock clock_{{{2026, 6, 7}, 8, 9, 0, 0}};
};

TEST_F(CupsSpoolerTest, EachStreamReachesTheDeviceUnchangedAsOneJob) {
  RawPrinter printer(spooler_, clock_);
  std::string first;
  for (int value = 0; value < 256; ++value) first.push_back(static_cast<char>(value));
  const std::string second = "^XA^FO50,50^FDpallet^FS^XZ    ";

  ASSERT_EQ(printer.PrintRaw("paltrix-test", first), kPrinterDone) << printer.lastError();
  ASSERT_EQ(printer.PrintRaw("paltrix-test", second), kPrinterDone) << printer.lastError();
  ASSERT_EQ(printer.PrintRaw("paltrix-test", ""), kPrinterDone) << printer.lastError();

  const std::vector<std::string> jobs = label_.WaitForJobs(3);
  ASSERT_EQ(jobs.size(), 3u);
  EXPECT_EQ(jobs[0], "\r" + first);
  EXPECT_EQ(jobs[1], "\r" + second);
  EXPECT_EQ(jobs[2], "\r");
  EXPECT_EQ(other_.jobCount(), 0u);
  EXPECT_EQ(printer.lastPrinterUsed(), "paltrix-test");
}

TEST_F(CupsSpoolerTest, PrinterListShowsQueuesOnTheirDeviceWithTheDefaultPreselected) {
  RawPrinter printer(spooler_, clock_);
  PrinterList list;

  const int defaultRow = printer.FillPrinterQueue(list);

  ASSERT_EQ(list.size(), 2u);
  ASSERT_GE(defaultRow, 1);
  EXPECT_EQ(list[defaultRow - 1].SHOWNAME, "paltrix-test on " + label_.uri());
  EXPECT_EQ(list[defaultRow - 1].PRINTERNAME, "paltrix-test");
  EXPECT_EQ(list[2 - defaultRow].SHOWNAME, "paltrix-other on " + other_.uri());
  EXPECT_EQ(printer.ReadDefaultPrinter(), kPrinterDone);
  EXPECT_EQ(printer.defaultPrinter(), "PALTRIX-TEST");
}

TEST_F(CupsSpoolerTest, UnknownPrinterIsLoggedOnceAndReported) {
  RawPrinter printer(spooler_, clock_);

  EXPECT_EQ(printer.PrintRaw("no-such-queue", "^XA^XZ"), kPrinterFailed);

  EXPECT_EQ(Log(), "07.06.2026:08.09 Error opening the printer - Printer Busy - no-such-queue\r\n");
  EXPECT_NE(printer.lastError().find("no-such-queue"), std::string::npos);
}

TEST_F(CupsSpoolerTest, QueueThatRejectsJobsIsReported) {
  cupsd_->Run("cupsreject", {"paltrix-test"});
  RawPrinter printer(spooler_, clock_);

  EXPECT_EQ(printer.PrintRaw("paltrix-test", "^XA^XZ"), kPrinterFailed);

  EXPECT_EQ(Log(), "07.06.2026:08.09 Error starting the print job - paltrix-test\r\n");
  EXPECT_EQ(label_.jobCount(), 0u);
}

}  // namespace
}  // namespace paltrix::output
