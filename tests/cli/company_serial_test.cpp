#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/cli/cli_fixture.h"

namespace paltrix::cli::testing {
namespace {

using ::testing::HasSubstr;

TEST_F(CliTest, ALowerSerialIsStoredOnlyWithForceAndOtherChangesKeepTheSerial) {
  Expect({"print", "--product", "100", "--pallets", "2"});  // serial 43

  CliResult result = Run({"company", "set", "--name", "Ny", "--serial", "000000040"});
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_THAT(result.err, HasSubstr("below the stored serial 000000043"));
  EXPECT_THAT(result.err, HasSubstr("--force"));
  std::string shown = Expect({"company", "show"});
  EXPECT_THAT(shown, HasSubstr("Serial:      000000043"));
  EXPECT_THAT(shown, HasSubstr("Name:        Grønt ApS")) << "a refused change stores nothing";

  Expect({"company", "set", "--name", "Ny", "--pallets", "7", "--postcode", "0800"});
  shown = Expect({"company", "show"});
  EXPECT_THAT(shown, HasSubstr("Serial:      000000043"));
  EXPECT_THAT(shown, HasSubstr("Last SSCC:   057900010000000431"));

  Expect({"company", "set", "--serial", "000000040", "--force"});
  EXPECT_THAT(Expect({"company", "show"}), HasSubstr("Serial:      000000040"));
}

}  // namespace
}  // namespace paltrix::cli::testing
