#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "output/raw_printer.h"
#include "tests/output/fake_spooler.h"
#include "tests/support/temp_directory.h"

namespace paltrix::output {
namespace {

using testing::FakeSpooler;

// Remembers what it was shown and answers as told.
class ScriptedChooser final : public PrinterChooser {
 public:
  explicit ScriptedChooser(std::optional<std::size_t> answer) : answer_(answer) {}

  std::optional<std::size_t> Choose(const PrinterList& printers,
                                    std::size_t preselectedRow) override {
    shown = printers;
    preselected = preselectedRow;
    ++calls;
    return answer_;
  }

  PrinterList shown;
  std::size_t preselected = 0;
  int calls = 0;

 private:
  std::optional<std::size_t> answer_;
};

struct FillCase {
  const char* note;
  std::vector<SpoolerDestination> destinations;
  int expectedDefaultRow;
  std::string expectedDefaultName;
};

class FillPrinterQueueTest : public ::testing::TestWithParam<FillCase> {};

TEST_P(FillPrinterQueueTest, ReturnsTheDefaultRow) {
  FakeSpooler spooler;
  spooler.destinations = GetParam().destinations;
  RawPrinter printer(spooler);
  PrinterList list{{"stale", "stale"}};

  EXPECT_EQ(printer.FillPrinterQueue(list), GetParam().expectedDefaultRow);
  EXPECT_EQ(list.size(), GetParam().destinations.size());
  EXPECT_EQ(printer.defaultPrinter(), GetParam().expectedDefaultName);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FillPrinterQueueTest,
    ::testing::Values(
        FillCase{"no printers", {}, 0, ""},
        FillCase{"no default", {{"a", "lpd://a", false}, {"b", "lpd://b", false}}, 1, ""},
        FillCase{"default in second row",
                 {{"a", "lpd://a", false}, {"Zebra", "usb://z", true}, {"c", "lpd://c", false}},
                 2,
                 "ZEBRA"},
        FillCase{"names differing in case both match, the later wins",
                 {{"zebra", "usb://1", false}, {"ZEBRA", "usb://2", true}, {"x", "", false}},
                 2,
                 "ZEBRA"},
        FillCase{"later duplicate in case wins over the flagged one",
                 {{"Zebra", "usb://1", true}, {"zebra", "usb://2", false}},
                 2,
                 "ZEBRA"}),
    [](const auto& info) {
      std::string name = info.param.note;
      for (char& c : name) {
        if (c == ' ' || c == ',') c = '_';
      }
      return name;
    });

TEST(FillPrinterQueue, ShowsNameOnPortWithoutTrailingBlanksAndKeepsTheSpoolerName) {
  FakeSpooler spooler;
  spooler.destinations = {{"Zebra ZT410  ", "socket://10.0.0.7:9100  ", true},
                          {"office", "", false}};
  RawPrinter printer(spooler);
  PrinterList list;

  printer.FillPrinterQueue(list);

  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].SHOWNAME, "Zebra ZT410 on socket://10.0.0.7:9100");
  EXPECT_EQ(list[0].PRINTERNAME, "Zebra ZT410  ");
  EXPECT_EQ(list[1].SHOWNAME, "office on ");
}

TEST(FillPrinterQueue, FailedEnumerationEmptiesTheListAndForgetsTheDefault) {
  FakeSpooler spooler;
  spooler.destinations = {{"zebra", "usb://z", true}};
  RawPrinter printer(spooler);
  PrinterList list;
  ASSERT_EQ(printer.FillPrinterQueue(list), 1);

  spooler.faults.listFails = true;
  EXPECT_EQ(printer.FillPrinterQueue(list), 0);
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(printer.defaultPrinter(), "");
  EXPECT_NE(printer.lastError().find("list failed"), std::string::npos) << printer.lastError();
}

TEST(ReadDefaultPrinter, UpperCasesTheDefaultOrReportsThatThereIsNone) {
  FakeSpooler spooler;
  spooler.destinations = {{"a", "", false}, {"Label-4in", "", true}};
  RawPrinter printer(spooler);

  EXPECT_EQ(printer.ReadDefaultPrinter(), kPrinterDone);
  EXPECT_EQ(printer.defaultPrinter(), "LABEL-4IN");
  EXPECT_TRUE(printer.IsDefaultPrinter("label-4in"));
  EXPECT_FALSE(printer.IsDefaultPrinter("a"));

  spooler.destinations[1].isDefault = false;
  EXPECT_EQ(printer.ReadDefaultPrinter(), kPrinterFailed);
  EXPECT_EQ(printer.defaultPrinter(), "");
  EXPECT_FALSE(printer.IsDefaultPrinter(""));
}

class SelectPrinterTest : public ::testing::Test {
 protected:
  SelectPrinterTest() {
    spooler_.destinations = {{"office", "ipp://office", false},
                             {"zebra-dispatch-station-2", "socket://10.0.0.7:9100", true}};
  }
  FakeSpooler spooler_;
  std::string destination_ = "previous";
};

TEST_F(SelectPrinterTest, ConfirmedRowIsCopiedCutToFitWithItsTerminator) {
  ScriptedChooser chooser(1);
  RawPrinter printer(spooler_, SystemClock(), &chooser);
  printer.Init();

  EXPECT_EQ(printer.SelectPrinter(11, destination_), kPrinterDone);

  EXPECT_EQ(destination_, "zebra-disp");
  EXPECT_EQ(chooser.preselected, 1u);
  ASSERT_EQ(chooser.shown.size(), 2u);
  EXPECT_EQ(chooser.shown[0].SHOWNAME, "office on ipp://office");
  ASSERT_NE(printer.printerQueue(), nullptr);
  EXPECT_EQ(printer.printerQueue()->size(), 2u);
}

TEST_F(SelectPrinterTest, NameShorterThanTheFieldIsCopiedWhole) {
  ScriptedChooser chooser(0);
  RawPrinter printer(spooler_, SystemClock(), &chooser);
  EXPECT_EQ(printer.SelectPrinter(80, destination_), kPrinterDone);
  EXPECT_EQ(destination_, "office");
}

struct UnchangedCase {
  const char* note;
  std::optional<std::size_t> answer;
  bool noPrinters;
  std::uint8_t expected;
  int expectedCalls;
};

class SelectPrinterUnchangedTest : public SelectPrinterTest,
                                   public ::testing::WithParamInterface<UnchangedCase> {};

TEST_P(SelectPrinterUnchangedTest, LeavesTheDestinationAsItWas) {
  if (GetParam().noPrinters) spooler_.destinations.clear();
  ScriptedChooser chooser(GetParam().answer);
  RawPrinter printer(spooler_, SystemClock(), &chooser);
  printer.Init();

  EXPECT_EQ(printer.SelectPrinter(80, destination_), GetParam().expected);
  EXPECT_EQ(destination_, "previous");
  EXPECT_EQ(chooser.calls, GetParam().expectedCalls);
}

INSTANTIATE_TEST_SUITE_P(Outcomes, SelectPrinterUnchangedTest,
                         ::testing::Values(UnchangedCase{"closed_without_choice", std::nullopt,
                                                         false, 5, 1},
                                           UnchangedCase{"chosen_row_missing", 7, false, 3, 1},
                                           UnchangedCase{"no_printers_no_window", 0, true, 0, 0}),
                         [](const auto& info) { return std::string(info.param.note); });

// The settings file holds the chosen name as the program's text
// (Windows-1252); printing to it reaches the spooler's own name again.
TEST(SelectPrinter, ANameWithDanishLettersSurvivesTheWayThroughTheSettings) {
  FakeSpooler spooler;
  spooler.destinations = {{"Lager-Æ", "socket://10.0.0.8:9100", true}};
  ScriptedChooser chooser(0);
  RawPrinter printer(spooler, SystemClock(), &chooser);
  std::string destination;

  ASSERT_EQ(printer.SelectPrinter(80, destination), kPrinterDone);
  EXPECT_EQ(destination, "Lager-\xC6");

  paltrix::testing::TempDirectory folder;  // for an "errprt.log" should it fail
  const paltrix::testing::ScopedWorkingDirectory inFolder(folder.path());
  EXPECT_EQ(printer.PrintRaw(destination, "^XA^XZ"), kPrinterDone) << printer.lastError();
  ASSERT_EQ(spooler.documents.size(), 1u);
  EXPECT_EQ(spooler.documents[0].printer, "Lager-Æ");
}

TEST(SelectPrinter, ANameTheSettingsCannotHoldIsNotChosen) {
  FakeSpooler spooler;
  spooler.destinations = {{"倉庫", "", true}};
  ScriptedChooser chooser(0);
  RawPrinter printer(spooler, SystemClock(), &chooser);
  std::string destination = "kept";
  EXPECT_EQ(printer.SelectPrinter(80, destination), kPrinterFailed);
  EXPECT_EQ(destination, "kept");
  EXPECT_NE(printer.lastError(), "");
}

TEST(SelectPrinter, WithoutAChooserNothingIsChosen) {
  FakeSpooler spooler;
  spooler.destinations = {{"zebra", "", true}};
  RawPrinter printer(spooler);
  std::string destination = "kept";
  EXPECT_EQ(printer.SelectPrinter(80, destination), kPrinterNoChoice);
  EXPECT_EQ(destination, "kept");
}

}  // namespace
}  // namespace paltrix::output
