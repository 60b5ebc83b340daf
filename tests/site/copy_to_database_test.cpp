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

// The server refuses the products after the companies went in: the whole copy
// is undone, and once the fault is gone the same copy goes through.
TEST_F(CopyToDatabaseTest, AFailureMidwayLeavesNothingCopied) {
  const Station station(database_.url());
  station.Expect({"product", "list"});  // makes the product file, empty
  // The engine keeps each file in a schema named after its file name.
  paltrix::testing::ExecuteSql(database_.url(), R"(
    CREATE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS
      $$ BEGIN RAISE EXCEPTION 'disk quota exceeded'; END $$;
    DO $$ DECLARE t record; BEGIN
      FOR t IN SELECT table_schema, table_name FROM information_schema.tables
               WHERE table_schema LIKE '%produkt'
      LOOP
        EXECUTE format('CREATE TRIGGER refuse BEFORE INSERT ON %I.%I '
                       'FOR EACH ROW EXECUTE FUNCTION refuse()', t.table_schema, t.table_name);
      END LOOP;
    END $$;)");

  const CliResult failed = Run({"copy-to-database", database_.url()});
  EXPECT_EQ(failed.exitStatus, 1);
  EXPECT_THAT(failed.err, HasSubstr("nothing was copied"));
  EXPECT_THAT(failed.err, HasSubstr("disk quota exceeded"));
  const CliResult company = station.Run({"company", "show"});
  EXPECT_EQ(company.exitStatus, 1) << "the company went in before the products failed";
  EXPECT_THAT(company.err, HasSubstr("no company record"));

  paltrix::testing::ExecuteSql(database_.url(), "DROP FUNCTION refuse() CASCADE");
  const CliResult copied = Run({"copy-to-database", database_.url()});
  ASSERT_EQ(copied.exitStatus, 0) << copied.err;
  EXPECT_EQ(station.Serial(), 41);
}

TEST_F(CopyToDatabaseTest, WithoutADatabaseNamedOrSetItSaysWhereToSetOne) {
  const CliResult result = Run({"copy-to-database"});
  EXPECT_EQ(result.exitStatus, 2);
  EXPECT_THAT(result.err, HasSubstr("PALTRIX_DATABASE"));
  EXPECT_THAT(result.err, HasSubstr("[Database]"));
}

}  // namespace
}  // namespace paltrix::site::testing
