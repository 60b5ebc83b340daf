#include <gtest/gtest.h>

#include <string>

#include "output/raw_printer.h"
#include "output/socket_printer.h"
#include "tests/output/fake_spooler.h"
#include "tests/output/raw_port_listener.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_directory.h"

namespace paltrix::output {
namespace {

using testing::FakeSpooler;
using testing::RawPortListener;
using testing::RefusingPort;

std::string EveryByte() {
  std::string bytes;
  for (int value = 0; value < 256; ++value) bytes.push_back(static_cast<char>(value));
  return bytes;
}

class DirectPrinterTest : public ::testing::Test {
 protected:
  std::string Log() const { return paltrix::testing::ReadFileText(folder_ / "errprt.log"); }

  paltrix::testing::TempDirectory folder_;
  paltrix::testing::ScopedWorkingDirectory inFolder_{folder_.path()};
  FakeSpooler spooler_;  // knows no printer: nothing may go through it
  FixedClock clock_{{{2026, 1, 2}, 3, 4, 0, 0}};
  RawPrinter printer_{spooler_, clock_};
};

TEST_F(DirectPrinterTest, FilePrinterAppendsCarriageReturnAndStreamPerJob) {
  const std::filesystem::path target = folder_ / "labels.zpl";
  const std::string name = "file://" + target.string();
  const std::string first = EveryByte();
  const std::string second = "^XA^FDsecond^FS^XZ   ";

  EXPECT_EQ(printer_.PrintRaw(name, first), kPrinterDone);
  EXPECT_EQ(printer_.PrintRaw("FILE://" + target.string(), second), kPrinterDone);

  EXPECT_EQ(paltrix::testing::ReadFileText(target), "\r" + first + "\r" + second);
  EXPECT_TRUE(spooler_.openedNames.empty());
  EXPECT_EQ(printer_.lastPrinterUsed(), "FILE://" + target.string());
}

TEST_F(DirectPrinterTest, FilePrinterThatCannotBeOpenedIsLogged) {
  const std::string name = "file://" + (folder_ / "missing" / "labels.zpl").string();

  EXPECT_EQ(printer_.PrintRaw(name, "x"), kPrinterFailed);
  EXPECT_EQ(Log(), "02.01.2026:03.04 Error opening the printer - Printer Busy - " + name + "\r\n");
  EXPECT_NE(printer_.lastError().find("No such file"), std::string::npos) << printer_.lastError();
}

TEST_F(DirectPrinterTest, FilePrinterNeedsAnAbsolutePath) {
  EXPECT_EQ(printer_.PrintRaw("file://labels.zpl", "x"), kPrinterFailed);
  EXPECT_FALSE(std::filesystem::exists(folder_ / "labels.zpl"));
}

TEST_F(DirectPrinterTest, FilePrinterReportsAFullDisk) {
  EXPECT_EQ(printer_.PrintRaw("file:///dev/full", "^XA^XZ"), kPrinterFailed);
  EXPECT_EQ(Log(), "02.01.2026:03.04 Error writing to the printer - file:///dev/full\r\n");
}

TEST_F(DirectPrinterTest, SocketPrinterSendsEachStreamOnItsOwnConnection) {
  RawPortListener listener;
  const std::string first = EveryByte();
  const std::string second(100'000, 'Z');

  EXPECT_EQ(printer_.PrintRaw(listener.uri(), first), kPrinterDone);
  EXPECT_EQ(printer_.PrintRaw(listener.uri() + "/", second), kPrinterDone);

  const std::vector<std::string> jobs = listener.WaitForJobs(2);
  ASSERT_EQ(jobs.size(), 2u);
  EXPECT_EQ(jobs[0], "\r" + first);
  EXPECT_EQ(jobs[1], "\r" + second);
  EXPECT_FALSE(std::filesystem::exists(folder_ / "errprt.log"));
}

TEST_F(DirectPrinterTest, RefusedConnectionIsReportedAndLogged) {
  RefusingPort refusing;
  const std::string name = "socket://127.0.0.1:" + std::to_string(refusing.port());

  EXPECT_EQ(printer_.PrintRaw(name, "^XA^XZ"), kPrinterFailed);

  EXPECT_EQ(Log(), "02.01.2026:03.04 Error opening the printer - Printer Busy - " + name + "\r\n");
  EXPECT_NE(printer_.lastError().find("refused"), std::string::npos) << printer_.lastError();
}

struct ParseCase {
  const char* name;
  std::optional<SocketAddress> expected;
};

class ParseSocketPrinterNameTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseSocketPrinterNameTest, Parses) {
  EXPECT_EQ(ParseSocketPrinterName(GetParam().name), GetParam().expected) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Names, ParseSocketPrinterNameTest,
    ::testing::Values(
        ParseCase{"socket://10.0.0.7:9100", SocketAddress{"10.0.0.7", 9100}},
        ParseCase{"SOCKET://printer.local:6101/", SocketAddress{"printer.local", 6101}},
        ParseCase{"socket://zebra", SocketAddress{"zebra", kDefaultRawPort}},
        ParseCase{"socket://[::1]:9101", SocketAddress{"::1", 9101}},
        ParseCase{"socket://[::1]", SocketAddress{"::1", kDefaultRawPort}},
        ParseCase{"socket://", std::nullopt}, ParseCase{"socket://:9100", std::nullopt},
        ParseCase{"socket://host:", std::nullopt}, ParseCase{"socket://host:0", std::nullopt},
        ParseCase{"socket://host:65536", std::nullopt},
        ParseCase{"socket://host:91x0", std::nullopt},
        ParseCase{"socket://host/path", std::nullopt}, ParseCase{"socket://[::1", std::nullopt},
        ParseCase{"socket://[::1]9100", std::nullopt}, ParseCase{"lpd://host", std::nullopt}));

TEST_F(DirectPrinterTest, MalformedSocketNameIsAnOpenFailure) {
  EXPECT_EQ(printer_.PrintRaw("socket://host:notaport", "x"), kPrinterFailed);
  EXPECT_NE(Log().find("Error opening the printer"), std::string::npos);
}

}  // namespace
}  // namespace paltrix::output
