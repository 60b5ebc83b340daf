// Every whole-number option reads what is written in decimal, leading zeros
// included, and refuses every other form before anything is written.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/cli/cli_fixture.h"

namespace paltrix::cli::testing {
namespace {

using ::testing::HasSubstr;

struct NumberOption {
  std::vector<std::string> command;
  std::string option;
};

const NumberOption kNumberOptions[] = {
    {{"company", "set"}, "--postcode"},
    {{"company", "set"}, "--prefix"},
    {{"company", "set"}, "--serial"},
    {{"company", "set"}, "--pallets"},
    {{"printer", "set"}, "--dots"},
    {{"printer", "set"}, "--darkness"},
    {{"printer", "set"}, "--labels-per-pallet"},
    {{"printer", "set"}, "--tmarg"},
    {{"printer", "set"}, "--lmarg"},
    {{"printer", "set"}, "--wait"},
    {{"product", "change", "--id", "100"}, "--shelf-life"},
    {{"product", "change", "--id", "100"}, "--count"},
    {{"product", "change", "--id", "100"}, "--order-in-barcode"},
    {{"print", "--product", "100"}, "--pallets"},
    {{"print", "--product", "100"}, "--labels"},
};

TEST_F(CliTest, LeadingZerosAreDecimal) {
  Expect({"company", "set", "--serial", "000000102", "--prefix", "03456712", "--postcode", "0800",
          "--pallets", "010"});
  const std::string company = Expect({"company", "show"});
  EXPECT_THAT(company, HasSubstr("Serial:      000000102"));
  EXPECT_THAT(company, HasSubstr("GS1 prefix:  03456712"));
  EXPECT_THAT(company, HasSubstr("Postcode:    800"));
  EXPECT_THAT(company, HasSubstr("Pallets/run: 10"));

  Expect({"printer", "set", "--dots", "012", "--darkness", "-09", "--wait", "08", "--speed",
          "ultra high"});
  const std::string printer = Expect({"printer", "show"});
  EXPECT_THAT(printer, HasSubstr("Dots per mm:        12"));
  EXPECT_THAT(printer, HasSubstr("Darkness:           -9"));
  EXPECT_THAT(printer, HasSubstr("Wait after pallet:  8 s"));
  EXPECT_THAT(printer, HasSubstr("Speed:              ULTRA HIGH"));

  EXPECT_EQ(Expect({"print", "--product", "100", "--pallets", "02", "--labels", "08"}),
            "034567120000001038\n034567120000001045\n");
  EXPECT_THAT(PrintedFile(), HasSubstr("^PQ8,"));
}

TEST_F(CliTest, OtherFormsAndValuesOutsideTheFieldAreRefusedBeforeAnythingIsWritten) {
  const std::string companyBefore = CompanyRecord();
  const std::string printerBefore = Expect({"printer", "show"});
  const std::string productsBefore = Expect({"product", "list"});
  for (const NumberOption& number : kNumberOptions) {
    for (const char* value : {"0x10", ""}) {
      std::vector<std::string> arguments = number.command;
      arguments.insert(arguments.end(), {number.option, value});
      const CliResult result = Run(arguments);
      EXPECT_EQ(result.exitStatus, 2) << number.option << " \"" << value << "\"";
      EXPECT_THAT(result.err, HasSubstr(number.option + ": ")) << value;
    }
  }
  for (const char* value : {" 5", "+5", "1e3", "5 ", "٣", "99999999999999999999"}) {
    const CliResult result = Run({"company", "set", "--serial", value});
    EXPECT_EQ(result.exitStatus, 2) << "\"" << value << "\"";
    EXPECT_THAT(result.err, HasSubstr("--serial: ")) << value;
  }
  const struct {
    std::vector<std::string> arguments;
    const char* message;
  } outside[] = {
      {{"printer", "set", "--dots", "10"}, "--dots: 10 is not one of 8, 12"},
      {{"printer", "set", "--speed", "7"}, "--speed: 7 not in"},
      {{"printer", "set", "--darkness", "-31"}, "--darkness: -31 is outside -30 to 30"},
      {{"printer", "set", "--labels-per-pallet", "256"}, "outside 0 to 255"},
      {{"company", "set", "--serial", "-1"}, "--serial: \"-1\" is not a whole number"},
      {{"company", "set", "--prefix", "100000000"}, "--prefix: 100000000 is outside 0 to 99999999"},
      {{"company", "set", "--postcode", "32768"}, "outside 0 to 32767"},
      {{"product", "change", "--id", "100", "--order-in-barcode", "2"}, "outside 0 to 1"},
  };
  for (const auto& bad : outside) {
    const CliResult result = Run(bad.arguments);
    EXPECT_EQ(result.exitStatus, 2) << bad.arguments.back();
    EXPECT_THAT(result.err, HasSubstr(bad.message));
  }
  EXPECT_EQ(CompanyRecord(), companyBefore);
  EXPECT_EQ(Expect({"printer", "show"}), printerBefore);
  EXPECT_EQ(Expect({"product", "list"}), productsBefore);
  EXPECT_FALSE(std::filesystem::exists(folder_ / "labels.zpl"));
}

}  // namespace
}  // namespace paltrix::cli::testing
