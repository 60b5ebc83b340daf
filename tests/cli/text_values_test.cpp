#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/cli/cli_fixture.h"

namespace paltrix::cli::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

TEST_F(CliTest, ControlCharactersAndOverLongValuesAreRefusedWithAShortQuote) {
  CliResult result = Run({"company", "set", "--name",
                          "Gr\x7F"
                          "nt"});
  EXPECT_EQ(result.exitStatus, 2);
  EXPECT_THAT(result.err, HasSubstr("--name: control characters are not allowed"));

  const std::string huge(100'000, 'x');
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"company", "set", "--town", huge},
        std::vector<std::string>{"company", "set", "--serial", huge}}) {
    result = Run(arguments);
    EXPECT_EQ(result.exitStatus, 2);
    EXPECT_THAT(result.err, HasSubstr("\"" + std::string(40, 'x') + "\"..."));
    EXPECT_LT(result.err.size(), 300u) << "the message quotes a prefix, not the value";
  }
}

TEST_F(CliTest, AnOrderNumberTooLongForTheBarcodeIsLeftOutWithAWarning) {
  Expect({"product", "change", "--id", "100", "--order-no", "12345", "--order-in-barcode", "1"});
  CliResult result = Run({"print", "--product", "100", "--order-no", "1234567"});
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_THAT(result.err, HasSubstr("warning: the order number \"1234567\" is left out of the "
                                    "barcode: (400) carries at most 5 characters"));
  EXPECT_THAT(PrintedFile(), Not(HasSubstr("400123")));

  result = Run({"print", "--product", "100"});
  EXPECT_EQ(result.err, "");
  EXPECT_THAT(PrintedFile(), HasSubstr("40012345"));
}

}  // namespace
}  // namespace paltrix::cli::testing
