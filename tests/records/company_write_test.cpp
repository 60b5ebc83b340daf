// The company write rule: a stale copy of the sender record never takes the
// SSCC serial back, and a lower serial needs to be forced.

#include "app/records/company_write.h"

#include <gtest/gtest.h>

#include "app/records/firma.h"
#include "tests/records/record_files_fixture.h"

namespace paltrix::records {
namespace {

struct StoredCompany {
  std::string name;
  std::int32_t serial;
  std::string sscc;
};

class CompanyWriteTest : public RecordStorageTest {
 protected:
  void SetUp() override {
    RecordContext setup(registry_);
    storage::Record& sender = setup.Buffer(firma::kSchema);
    fields::WriteText(sender.image, firma::NAVN, "Gartneriet");
    fields::WriteLong(sender.image, firma::SSCCNR, 5790001);
    fields::WriteLong(sender.image, firma::SS, 41);
    fields::WriteText(sender.image, firma::SSCC, "057900010000000417");
    ASSERT_TRUE(setup.WriteFirma(SerialChange::Set(41)).ok());
  }

  // What another process (a print) does meanwhile: the serial moves on.
  void AdvanceSerialElsewhere(std::int32_t serial, std::string_view sscc) {
    RecordContext print(registry_);
    ASSERT_TRUE(print.ReadFirma().ok());
    storage::Record& sender = print.Buffer(firma::kSchema);
    fields::WriteText(sender.image, firma::SSCC, sscc);
    Result<storage::KeyedFile*> file = print.File(firma::kSchema);
    ASSERT_TRUE(file.ok());
    fields::WriteLong(sender.image, firma::SS, serial);
    ASSERT_TRUE((*file)->Put((*file)->position(), sender).ok());
  }

  StoredCompany Stored() {
    RecordContext reader(registry_);
    EXPECT_TRUE(reader.ReadFirma().ok());
    const storage::Record& sender = reader.Buffer(firma::kSchema);
    return {fields::ReadText(sender.image, firma::NAVN), fields::ReadLong(sender.image, firma::SS),
            fields::ReadText(sender.image, firma::SSCC)};
  }
};

TEST_P(CompanyWriteTest, AStaleCopyChangesTheCompanyButNeverTheSerial) {
  RecordContext window(registry_);
  ASSERT_TRUE(window.ReadFirma().ok());
  AdvanceSerialElsewhere(141, "057900010000001413");

  storage::Record& sender = window.Buffer(firma::kSchema);
  fields::WriteText(sender.image, firma::NAVN, "Planteskolen");
  fields::WriteLong(sender.image, firma::ANTALPALLER, 12);
  const Result<CompanyWrite> written = window.WriteFirma();
  ASSERT_TRUE(written.ok()) << written.status().ToString();
  EXPECT_EQ(written->outcome, CompanyWriteOutcome::kWritten);
  EXPECT_EQ(written->storedSerial, 141);

  const StoredCompany stored = Stored();
  EXPECT_EQ(stored.name, "Planteskolen");
  EXPECT_EQ(stored.serial, 141);
  EXPECT_EQ(stored.sscc, "057900010000001413");
  // The window now shows what is stored.
  EXPECT_EQ(fields::ReadLong(sender.image, firma::SS), 141);

  // A generic update of the record follows the same rule.
  storage::Record stale = sender;
  fields::WriteLong(stale.image, firma::SS, 7);
  AdvanceSerialElsewhere(150, "057900010000001505");
  ASSERT_TRUE(window.Update(firma::kSchema, written->number, stale).ok());
  EXPECT_EQ(Stored().serial, 150);
  EXPECT_EQ(Stored().sscc, "057900010000001505");
}

TEST_P(CompanyWriteTest, ALowerSerialIsWrittenOnlyWhenForced) {
  RecordContext window(registry_);
  ASSERT_TRUE(window.ReadFirma().ok());
  storage::Record& sender = window.Buffer(firma::kSchema);
  fields::WriteText(sender.image, firma::NAVN, "Ikke gemt");

  Result<CompanyWrite> written = window.WriteFirma(SerialChange::Set(40));
  ASSERT_TRUE(written.ok()) << written.status().ToString();
  EXPECT_EQ(written->outcome, CompanyWriteOutcome::kLowerSerialRefused);
  EXPECT_EQ(written->storedSerial, 41);
  EXPECT_EQ(Stored().name, "Gartneriet");  // nothing of a refused write is stored
  EXPECT_EQ(fields::ReadText(sender.image, firma::NAVN), "Ikke gemt");

  written = window.WriteFirma(SerialChange::ForceLower(40));
  ASSERT_TRUE(written.ok());
  EXPECT_EQ(written->outcome, CompanyWriteOutcome::kWritten);
  EXPECT_EQ(Stored().serial, 40);
  EXPECT_EQ(Stored().name, "Ikke gemt");

  // Higher, or the same, needs no force; the code last handed out stays.
  ASSERT_EQ(window.WriteFirma(SerialChange::Set(500))->outcome, CompanyWriteOutcome::kWritten);
  ASSERT_EQ(window.WriteFirma(SerialChange::Set(500))->outcome, CompanyWriteOutcome::kWritten);
  EXPECT_EQ(Stored().serial, 500);
  EXPECT_EQ(Stored().sscc, "057900010000000417");

  for (const std::int32_t outside : {-1, firma::kLargestSerial + 1}) {
    written = window.WriteFirma(SerialChange::ForceLower(outside));
    EXPECT_EQ(written.status().code(), ErrorCode::kInvalidValue) << outside;
  }
  EXPECT_EQ(Stored().serial, 500);
}

TEST_P(CompanyWriteTest, OtherCompaniesKeepTheirSerialAndAMissingOneIsReported) {
  RecordContext list(registry_);
  storage::Record other = storage::Record::Blank(firma::kSchema);
  fields::WriteText(other.image, firma::NAVN, "Kunde");
  fields::WriteLong(other.image, firma::SS, 9);
  const storage::RecordNumber number = AddRecord(list, firma::kSchema, other);

  fields::WriteLong(other.image, firma::SS, 3);
  fields::WriteText(other.image, firma::NAVN, "Kunden");
  Result<CompanyWrite> written = list.WriteCompany(number, other, SerialChange::Keep());
  ASSERT_TRUE(written.ok());
  EXPECT_EQ(fields::ReadLong(StoredRecord(list, firma::kSchema, number).image, firma::SS), 9);
  EXPECT_EQ(Stored().serial, 41);  // the sender is untouched

  written = list.WriteCompany(number + 10, other, SerialChange::Keep());
  EXPECT_EQ(written.status().code(), ErrorCode::kRecordNotFound);
  EXPECT_EQ(ShownTitles().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Backends, CompanyWriteTest, storage::testing::kBothBackends,
                         storage::testing::BackendName);

}  // namespace
}  // namespace paltrix::records
