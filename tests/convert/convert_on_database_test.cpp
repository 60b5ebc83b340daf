#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "app/records/produkt.h"
#include "convert/old_produkt.h"
#include "convert/product_conversion.h"
#include "framework/fields/record_codec.h"
#include "tests/convert/catalogue_files.h"
#include "tests/support/child_process.h"
#include "tests/support/file_text.h"
#include "tests/support/postgres_test_server.h"
#include "tests/support/temp_directory.h"

// `convert` on a station whose record files are on a PostgreSQL database: the
// old file still comes from the Data folder, the products go to the database.
// The Data folder's file is converted too, so a second run changes nothing.
namespace paltrix::convert::testing {
namespace {

namespace produkt = records::produkt;
using paltrix::testing::ReadFileText;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr const char* kDatabaseFile = "PRODUKT.dat";

struct ProgressLog : ConversionProgress {
  void Started() override { events.push_back("started"); }
  void RecordsConverted(std::int64_t count) override { last = count; }
  void BuildingKeys() override { events.push_back("keys after " + std::to_string(last)); }
  std::vector<std::string> events;
  std::int64_t last = 0;
};

std::vector<std::vector<char>> CurrentProducts(int count) {
  std::vector<std::vector<char>> images;
  for (const std::vector<char>& old : OldProducts(count)) {
    images.push_back(Converted(old));
    fields::WriteText(images.back(), produkt::PRODUKTID,
                      "DB-" + fields::ReadText(images.back(), produkt::PRODUKTID));
    fields::WriteByte(images.back(), produkt::BRUGORDREID, 1);
  }
  return images;
}

class ConvertOnDatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(work_ / "Data");
    WriteProductFile(produkt::kSchema, kDatabaseFile, before_, database_);
  }

  std::filesystem::path OldFile() const { return work_ / "Data" / "PRODUKT.dat"; }
  std::vector<std::vector<char>> DatabaseProducts() const {
    return ReadProductFile(produkt::kSchema, kDatabaseFile, database_);
  }

  paltrix::testing::TempDirectory work_;
  paltrix::testing::ScratchDatabase scratch_;
  storage::StorageTarget database_ = storage::StorageTarget::Postgres(scratch_.url());
  std::vector<std::vector<char>> before_ = CurrentProducts(3);
};

TEST_F(ConvertOnDatabaseTest, ReplacesTheDatabasesProductsAndASecondRunChangesNothing) {
  const std::vector<std::vector<char>> old = OldProducts(250);
  WriteProductFile(old_produkt::kSchema, OldFile(), old);

  ProgressLog progress;
  const Result<ConversionOutcome> outcome = ConvertProductFile(work_.path(), database_, progress);
  ASSERT_TRUE(outcome.ok()) << outcome.status().ToString();
  EXPECT_EQ(*outcome, ConversionOutcome::kConverted);
  EXPECT_THAT(progress.events, ElementsAre("started", "keys after 250"));

  std::vector<std::vector<char>> expected;
  for (const std::vector<char>& image : old) expected.push_back(Converted(image));
  EXPECT_EQ(DatabaseProducts(), expected);
  EXPECT_EQ(ReadProductFile(produkt::kSchema, OldFile()), expected);
  EXPECT_FALSE(std::filesystem::exists(work_ / "Data" / "PRODUKT2.dat"));

  // The keys work: a product is found by its ID in another case.
  storage::Session session(database_);
  Result<storage::KeyedFile*> file = session.Open(produkt::kSchema, kDatabaseFile);
  ASSERT_TRUE(file.ok()) << file.status().ToString();
  storage::Record probe = storage::Record::Blank(produkt::kSchema);
  storage::Record found = storage::Record::Blank(produkt::kSchema);
  fields::WriteText(probe.image, produkt::PRODUKTID,
                    fields::ReadText(expected[7], produkt::PRODUKTID));
  ASSERT_TRUE((*file)->Fetch(produkt::kIDKey, probe, found).ok());
  EXPECT_EQ(found.image, expected[7]);

  // A product added on the database survives a second run.
  storage::Record added = storage::Record::Blank(produkt::kSchema);
  added.image = CurrentProducts(1).front();
  ASSERT_TRUE((*file)->Add(added).ok());
  const Result<ConversionOutcome> again = ConvertProductFile(work_.path(), database_, progress);
  ASSERT_TRUE(again.ok()) << again.status().ToString();
  EXPECT_EQ(*again, ConversionOutcome::kAlreadyCurrent);
  EXPECT_EQ(DatabaseProducts().size(), 251u);
}

// The server refuses the 101st product: the whole replace is undone and the
// database keeps its products; without the fault the next run goes through.
TEST_F(ConvertOnDatabaseTest, AFailureMidwayLeavesTheDatabasesProducts) {
  ProgressLog progress;
  const Result<ConversionOutcome> missing = ConvertProductFile(work_.path(), database_, progress);
  ASSERT_FALSE(missing.ok());
  EXPECT_EQ(missing.status().code(), ErrorCode::kFileNotFound);
  EXPECT_TRUE(progress.events.empty());

  WriteProductFile(old_produkt::kSchema, OldFile(), OldProducts(300));
  const std::string oldBytes = ReadFileText(OldFile());
  paltrix::testing::ExecuteSql(scratch_.url(), R"(
    CREATE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS $$
      DECLARE stored bigint; BEGIN
        EXECUTE format('SELECT count(*) FROM %I.%I', TG_TABLE_SCHEMA, TG_TABLE_NAME) INTO stored;
        IF stored >= 100 THEN RAISE EXCEPTION 'disk quota exceeded'; END IF;
        RETURN NEW;
      END $$;
    DO $$ DECLARE t record; BEGIN
      FOR t IN SELECT table_schema FROM information_schema.tables
               WHERE table_schema LIKE '%produkt' AND table_name = 'records'
      LOOP
        EXECUTE format('CREATE TRIGGER refuse BEFORE INSERT ON %I.records '
                       'FOR EACH ROW EXECUTE FUNCTION refuse()', t.table_schema);
      END LOOP;
    END $$;)");

  const Result<ConversionOutcome> failed = ConvertProductFile(work_.path(), database_, progress);
  ASSERT_FALSE(failed.ok());
  EXPECT_THAT(ConversionErrorText(failed.status()), HasSubstr("disk quota exceeded"));
  EXPECT_EQ(DatabaseProducts(), before_);
  EXPECT_EQ(ReadFileText(OldFile()), oldBytes);

  paltrix::testing::ExecuteSql(scratch_.url(), "DROP FUNCTION refuse() CASCADE");
  const Result<ConversionOutcome> converted = ConvertProductFile(work_.path(), database_, progress);
  ASSERT_TRUE(converted.ok()) << converted.status().ToString();
  EXPECT_EQ(DatabaseProducts().size(), 300u);
}

// The program finds the database through the station's setting, with the same
// texts as on the Data folder.
TEST_F(ConvertOnDatabaseTest, TheProgramConvertsIntoTheDatabaseItIsSetTo) {
  WriteProductFile(old_produkt::kSchema, OldFile(), OldProducts(20));
  const paltrix::testing::TempDirectory output;
  pid_t child = 0;
  {
    paltrix::testing::ScopedWorkingDirectory inside(work_.path());
    child =
        paltrix::testing::SpawnProgram({"/usr/bin/env", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY",
                                        "PALTRIX_DATABASE=" + scratch_.url(), PALTRIX_CONVERT_PATH},
                                       {output / "out", output / "err"});
  }
  ASSERT_EQ(paltrix::testing::WaitForExit(child), 0) << ReadFileText(output / "err");
  EXPECT_EQ(ReadFileText(output / "err"),
            "Converting File\nConverting Record #: 0\nConverting Record #: 20\nBuilding Keys\n");
  EXPECT_EQ(DatabaseProducts().size(), 20u);
}

}  // namespace
}  // namespace paltrix::convert::testing
