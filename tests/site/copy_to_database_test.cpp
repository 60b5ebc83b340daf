// A station's Data folder moved onto a database: the catalogue, the
// companies and the serial arrive whole, or nothing does.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/cli/cli_fixture.h"
#include "tests/site/site_fixture.h"
#include "tests/support/postgres_test_server.h"

namespace paltrix::site::testing {
namespace {

using ::testing::HasSubstr;

class CopyToDatabaseTest : public cli::testing::CliTest {
 protected:
  paltrix::testing::ScratchDatabase database_;
};

TEST_F(CopyToDatabaseTest, MovesCatalogueCompanyAndSerialAndTheNextPrintContinues) {
  Expect({"print", "--product", "100", "--pallets", "3", "--labels", "1"});  // serial 44
  Expect({"product", "add", "--id", "200", "--name", "Æbler", "--gtin", "5701234567882",
          "--shelf-life", "5", "--count", "20"});

  const CliResult copied = Run({"copy-to-database", database_.url()});
  ASSERT_EQ(copied.exitStatus, 0) << copied.err;
  EXPECT_THAT(copied.out, HasSubstr("Produkt: 2 records\n"));
  EXPECT_THAT(copied.out, HasSubstr("Firma: 1 records\n"));

  const Station station(database_.url());
  const std::string products = station.Expect({"product", "list"});
  EXPECT_THAT(products, HasSubstr("Rødkål"));
  EXPECT_THAT(products, HasSubstr("Æbler"));
  EXPECT_THAT(station.Expect({"company", "show"}), HasSubstr("Grønt ApS"));
  ASSERT_EQ(paltrix::testing::WaitForExit(station.StartPrint("next", 1)), 0)
      << station.Errors("next");
  ASSERT_EQ(station.Reported("next").size(), 1u);
  EXPECT_EQ(SerialOf(station.Reported("next").front()), 45);

  // A second copy would bring the old serial back: refused, nothing changed.
  const CliResult again = Run({"copy-to-database", database_.url()});
  EXPECT_EQ(again.exitStatus, 1);
  EXPECT_THAT(again.err, HasSubstr("already holds"));
  EXPECT_EQ(station.Serial(), 45);
}

TEST_F(CopyToDatabaseTest, WithoutADatabaseNamedOrSetItSaysWhereToSetOne) {
  const CliResult result = Run({"copy-to-database"});
  EXPECT_EQ(result.exitStatus, 2);
  EXPECT_THAT(result.err, HasSubstr("PALTRIX_DATABASE"));
  EXPECT_THAT(result.err, HasSubstr("[Database]"));
}

}  // namespace
}  // namespace paltrix::site::testing
