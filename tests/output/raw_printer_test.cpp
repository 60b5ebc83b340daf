#include "output/raw_printer.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/output/fake_spooler.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_directory.h"

namespace paltrix::output {
namespace {

using testing::FakeSpooler;
using testing::SpoolerFaults;

const LocalDateTime kMorning{{2026, 3, 5}, 7, 4, 9, 0};

// Runs in a fresh working directory, where "errprt.log" is written.
class RawPrinterTest : public ::testing::Test {
 protected:
  RawPrinterTest() { spooler_.destinations = {{"zebra", "socket://10.0.0.7:9100", true}}; }

  std::string Log() const { return paltrix::testing::ReadFileText(folder_ / "errprt.log"); }

  paltrix::testing::TempDirectory folder_;
  paltrix::testing::ScopedWorkingDirectory inFolder_{folder_.path()};
  FakeSpooler spooler_;
  FixedClock clock_{kMorning};
  RawPrinter printer_{spooler_, clock_};
};

TEST_F(RawPrinterTest, SendsCarriageReturnThenStreamUnalteredAsOneDirectDocument) {
  const std::string stream("^XA^FO10,10^FDÆble\0x^FS^XZ  ", 28);

  EXPECT_EQ(printer_.PrintRaw("zebra", stream), kPrinterDone);

  ASSERT_EQ(spooler_.documents.size(), 1u);
  const testing::FakeDocument& document = spooler_.documents[0];
  EXPECT_EQ(document.printer, "zebra");
  EXPECT_EQ(document.name, "Direct");
  EXPECT_EQ(document.bytes, "\r" + stream);
  EXPECT_TRUE(document.finished);
  EXPECT_EQ(printer_.lastPrinterUsed(), "zebra");
  EXPECT_TRUE(printer_.lastError().empty());
  EXPECT_FALSE(std::filesystem::exists(folder_ / "errprt.log"));
}

TEST_F(RawPrinterTest, AFilePrinterPathWithDanishLettersIsTheFileSystemsUtf8Name) {
  // The settings file holds "læ.zpl" with the Windows-1252 byte E6 for æ.
  const std::string name = "file://" + folder_.path().string() + "/l\xE6.zpl";
  EXPECT_EQ(printer_.PrintRaw(name, "^XA^XZ"), kPrinterDone) << printer_.lastError();
  EXPECT_EQ(paltrix::testing::ReadFileText(folder_ / "læ.zpl"), "\r^XA^XZ");
}

TEST_F(RawPrinterTest, EmptyStreamStillSendsADocumentWithTheCarriageReturn) {
  EXPECT_EQ(printer_.PrintRaw("zebra", ""), kPrinterDone);
  ASSERT_EQ(spooler_.documents.size(), 1u);
  EXPECT_EQ(spooler_.documents[0].bytes, "\r");
  EXPECT_TRUE(spooler_.documents[0].finished);
}

TEST_F(RawPrinterTest, UsesAtMost127CharactersOfTheNameButLogsTheNameAsPassed) {
  const std::string longName(200, 'p');

  EXPECT_EQ(printer_.PrintRaw(longName, "^XA^XZ"), kPrinterFailed);

  ASSERT_EQ(spooler_.openedNames.size(), 1u);
  EXPECT_EQ(spooler_.openedNames[0], longName.substr(0, 127));
  EXPECT_EQ(Log(),
            "05.03.2026:07.04 Error opening the printer - Printer Busy - " + longName + "\r\n");
}

TEST_F(RawPrinterTest, UnknownPrinterAppendsOneLogLinePerFailureAndKeepsLastPrinterUsed) {
  ASSERT_EQ(printer_.PrintRaw("zebra", "x"), kPrinterDone);

  EXPECT_EQ(printer_.PrintRaw("nosuch", "x"), kPrinterFailed);
  clock_.Set({{2026, 12, 31}, 23, 59, 0, 0});
  EXPECT_EQ(printer_.PrintRaw("nosuch", "x"), kPrinterFailed);

  EXPECT_EQ(Log(),
            "05.03.2026:07.04 Error opening the printer - Printer Busy - nosuch\r\n"
            "31.12.2026:23.59 Error opening the printer - Printer Busy - nosuch\r\n");
  EXPECT_EQ(printer_.lastPrinterUsed(), "zebra");
  EXPECT_NE(printer_.lastError().find("nosuch"), std::string::npos) << printer_.lastError();
}

TEST_F(RawPrinterTest, NameWithAZeroByteOpensNothing) {
  EXPECT_EQ(printer_.PrintRaw(std::string("zebra\0other", 11), "x"), kPrinterFailed);
  EXPECT_TRUE(spooler_.openedNames.empty());
  EXPECT_TRUE(spooler_.documents.empty());
}

TEST_F(RawPrinterTest, ControlCharactersInTheNameCannotForgeLogLines) {
  EXPECT_EQ(printer_.PrintRaw("evil\r\n01.01.2000:00.00 fake", "x"), kPrinterFailed);
  EXPECT_EQ(Log(),
            "05.03.2026:07.04 Error opening the printer - Printer Busy - "
            "evil??01.01.2000:00.00 fake\r\n");
}

struct DeliveryFault {
  const char* note;
  SpoolerFaults faults;
  const char* logText;
};

class RawPrinterDeliveryFaultTest : public RawPrinterTest,
                                    public ::testing::WithParamInterface<DeliveryFault> {};

TEST_P(RawPrinterDeliveryFaultTest, IsReportedLoggedAndLeavesNoFinishedDocument) {
  spooler_.faults = GetParam().faults;

  EXPECT_EQ(printer_.PrintRaw("zebra", "^XA^FDlabel^FS^XZ"), kPrinterFailed);

  EXPECT_EQ(Log(), std::string("05.03.2026:07.04") + GetParam().logText + "zebra\r\n");
  EXPECT_NE(printer_.lastError().find("zebra"), std::string::npos) << printer_.lastError();
  for (const testing::FakeDocument& document : spooler_.documents) {
    EXPECT_FALSE(document.finished);
    EXPECT_TRUE(document.abandoned);
  }
}

INSTANTIATE_TEST_SUITE_P(Faults, RawPrinterDeliveryFaultTest,
                         ::testing::Values(DeliveryFault{"document cannot be started",
                                                         {.startFails = true},
                                                         " Error starting the print job - "},
                                           DeliveryFault{"carriage return not written",
                                                         {.failWriteNumber = 1},
                                                         " Error writing to the printer - "},
                                           DeliveryFault{"stream not written",
                                                         {.failWriteNumber = 2},
                                                         " Error writing to the printer - "},
                                           DeliveryFault{"stream written short",
                                                         {.shortWriteNumber = 2},
                                                         " Error writing to the printer - "},
                                           DeliveryFault{"document refused at the end",
                                                         {.finishFails = true},
                                                         " Error writing to the printer - "}),
                         [](const auto& info) {
                           std::string name = info.param.note;
                           for (char& c : name) {
                             if (c == ' ') c = '_';
                           }
                           return name;
                         });

TEST_F(RawPrinterTest, UnwritableLogIsMentionedInTheError) {
  std::filesystem::create_directory(folder_ / "errprt.log");
  EXPECT_EQ(printer_.PrintRaw("nosuch", "x"), kPrinterFailed);
  EXPECT_NE(printer_.lastError().find("errprt.log"), std::string::npos) << printer_.lastError();
}

}  // namespace
}  // namespace paltrix::output
