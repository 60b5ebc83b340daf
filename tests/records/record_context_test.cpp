#include "app/records/record_context.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/records/printer_file.h"
#include "framework/fields/date_time.h"
#include "framework/fields/record_codec.h"
#include "tests/records/record_files_fixture.h"

namespace paltrix::records {
namespace {

namespace fs = std::filesystem;

storage::Record Product(std::string_view id) {
  storage::Record record = storage::Record::Blank(produkt::kSchema);
  fields::WriteText(record.image, produkt::PRODUKTID, id);
  return record;
}

TEST_F(RecordFilesTest, EmptyWorkingDirectoryGetsTheTopLevelFilesButNoFolders) {
  fs::remove(DataFolder());
  RecordContext context(registry_);

  EXPECT_TRUE(context.File(a5etiket::kSchema).ok());
  EXPECT_TRUE(fs::exists(folder_ / "A5.tps"));
  EXPECT_TRUE(SavePrinterRecord(PrinterRecord::Process(), errors_).ok());
  EXPECT_EQ(fs::file_size(folder_ / "SPTIGER.DAT"), 188u);

  Result<storage::KeyedFile*> product = context.File(produkt::kSchema);
  ASSERT_FALSE(product.ok());
  EXPECT_EQ(product.status().code(), ErrorCode::kPathNotFound);
  EXPECT_FALSE(fs::exists(DataFolder()));
  ASSERT_EQ(presenter_.boxes().size(), 1u);
  EXPECT_EQ(presenter_.boxes()[0].title, "File Creation Error");
  EXPECT_NE(presenter_.boxes()[0].text.find("Produkt"), std::string::npos);
  EXPECT_EQ(terminator_.reasons().size(), 1u) << "a file that cannot be created is fatal";
}

TEST_F(RecordFilesTest, DiskNamesOfDifferentSpellingMeetInOneFolder) {
  RecordContext context(registry_);
  for (const storage::FileSchema* schema : kFilesInCreationOrder) {
    if (!IsOpenedByStorageEngine(*schema)) continue;
    EXPECT_TRUE(context.File(*schema).ok()) << schema->label;
  }
  EXPECT_TRUE(fs::exists(DataFolder() / "PRODUKT.dat"));
  EXPECT_TRUE(fs::exists(DataFolder() / "DFIRMA.DAT"));
  EXPECT_TRUE(fs::exists(DataFolder() / "historik.dat"));
  EXPECT_TRUE(fs::exists(DataFolder() / "ORDTAIL"));
  EXPECT_TRUE(fs::exists(folder_ / "ADRESSER"));
  int folders = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder_.path())) {
    folders += entry.is_directory() ? 1 : 0;
  }
  EXPECT_EQ(folders, 1) << "\"data\", \"DATA\" and \"Data\" are one folder";
  EXPECT_TRUE(presenter_.boxes().empty());
}

TEST_F(RecordFilesTest, DeclaredOnlyProductLayoutIsNeverOpened) {
  storage::Session session;
  Result<storage::KeyedFile*> file = registry_.file(produkt_extended::kSchema).Open(session);
  ASSERT_FALSE(file.ok());
  EXPECT_EQ(file.status().code(), ErrorCode::kInvalidRecordDeclaration);
  EXPECT_FALSE(fs::exists(DataFolder() / "PRODUKT.dat"));
}

TEST_F(RecordFilesTest, ProductIdsThatDifferOnlyInCaseCollide) {
  RecordContext context(registry_);
  // "Rødkål" and "RØDKÅL" in Windows-1252.
  AddRecord(context, produkt::kSchema,
            Product("R\xF8"
                    "dk\xE5l"));
  Result<storage::KeyedFile*> file = context.File(produkt::kSchema);
  ASSERT_TRUE(file.ok());
  Result<storage::RecordNumber> second =
      (*file)->Add(Product("R\xD8"
                           "DK\xC5L"));
  ASSERT_FALSE(second.ok());
  EXPECT_EQ(second.status().code(), ErrorCode::kDuplicateKey);
  EXPECT_EQ(*(*file)->RecordCount(), 1);
}

TEST_F(RecordFilesTest, TwoA5LabelsWithTheSameSsccAreBothKept) {
  RecordContext context(registry_);
  storage::Record label = storage::Record::Blank(a5etiket::kSchema);
  fields::WriteText(label.image, a5etiket::SSCC, "357123450000000017");
  AddRecord(context, a5etiket::kSchema, label);
  AddRecord(context, a5etiket::kSchema, label);

  storage::KeyedFile& file = **context.File(a5etiket::kSchema);
  ASSERT_TRUE(file.SetKeyOrder(a5etiket::kKeySSCC, &label).ok());
  storage::Record read = storage::Record::Blank(a5etiket::kSchema);
  int found = 0;
  while (file.Next(read).ok()) {
    EXPECT_EQ(fields::ReadText(read.image, a5etiket::SSCC), "357123450000000017");
    ++found;
  }
  EXPECT_EQ(found, 2);
}

// Values at the edges of their field types survive a trip through the file.
TEST_F(RecordFilesTest, EdgeValuesSurviveStorage) {
  struct Case {
    const storage::FileSchema& schema;
    const fields::FieldDef& field;
    std::int64_t value;  // decimals scaled by 10^places
  };
  const Case cases[] = {
      {produkt::kSchema, produkt::NETTOVAEGT, 12500},  // 12.5 kg
      {produkt::kSchema, produkt::NETTOVAEGT, 9999999},
      {produkt::kSchema, produkt::HOLDBARTIL, fields::kFirstValidDay},
      {produkt::kSchema, produkt::HOLDBARTIL, fields::kLastValidDay},
      {produkt::kSchema, produkt::HOLDBARHEDSDAGE, -32768},
      {produkt::kSchema, produkt::ANTALPRPALLE, 2147483647},
      {produkt::kSchema, produkt::BRUGORDREID, 255},
      {a5etiket::kSchema, a5etiket::NETTOVAEGT, -9999999},
      {a5etiket::kSchema, a5etiket::HOLDBARTIL, fields::kLastValidDay},
      {ordrespec::kSchema, ordrespec::KG, 1234567},  // 123.4567
      {ordrespec::kSchema, ordrespec::KG, -1},       // -0.0001
      {ordrespec::kSchema, ordrespec::DATO, fields::kFirstValidDay},
      {ordrespec::kSchema, ordrespec::TID, fields::TimeFromClock(23, 59, 59, 99)},
      {ordrelinier::kSchema, ordrelinier::ANTALORDRET, 999999999},
      {historik::kSchema, historik::UDLEVERET, -999999999},
  };
  RecordContext context(registry_);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.field.name) + " = " + std::to_string(c.value));
    storage::Record record = storage::Record::Blank(c.schema);
    switch (c.field.type) {
      case fields::FieldType::kDecimal:
        ASSERT_TRUE(fields::WriteDecimal(record.image, c.field, c.value));
        break;
      case fields::FieldType::kShort:
        fields::WriteShort(record.image, c.field, static_cast<std::int16_t>(c.value));
        break;
      case fields::FieldType::kByte:
        fields::WriteByte(record.image, c.field, static_cast<std::uint8_t>(c.value));
        break;
      default:
        fields::WriteLong(record.image, c.field, static_cast<std::int32_t>(c.value));
    }
    // Unique keys need distinct values of their own.
    if (&c.schema == &produkt::kSchema) {
      fields::WriteText(record.image, produkt::PRODUKTID, std::to_string(c.value));
    }
    if (&c.schema == &ordrespec::kSchema) {
      fields::WriteLong(record.image, ordrespec::INDIVID, static_cast<std::int32_t>(c.value));
    }
    const storage::RecordNumber number = AddRecord(context, c.schema, record);
    const storage::Record stored = StoredRecord(context, c.schema, number);
    EXPECT_EQ(stored.image, record.image);
    EXPECT_EQ(fields::ReadNumber(stored.image, c.field), c.value);
  }
}

TEST_F(RecordFilesTest, FirmaIsAddedOnceThenWrittenBackInPlace) {
  RecordContext context(registry_);
  EXPECT_EQ(context.ReadFirma().code(), ErrorCode::kRecordNotAvailable);

  fields::WriteLong(context.Buffer(firma::kSchema).image, firma::SS, 41);
  ASSERT_TRUE(context.WriteFirma().ok());
  ASSERT_TRUE(context.WriteFirma(SerialChange::Set(42)).ok());

  RecordContext other(registry_);
  ASSERT_TRUE(other.ReadFirma().ok());
  EXPECT_EQ(fields::ReadLong(other.Buffer(firma::kSchema).image, firma::SS), 42);
  fields::WriteText(other.Buffer(firma::kSchema).image, firma::NAVN, "Anden");
  ASSERT_TRUE(other.WriteFirma().ok());  // without a read of its own first
  EXPECT_EQ(*(*other.File(firma::kSchema))->RecordCount(), 1);
}

TEST_F(RecordFilesTest, ContextsSeeEachOthersChangesOnlyAfterReadingAgain) {
  RecordContext window(registry_);
  RecordContext settings(registry_);
  fields::WriteText(window.Buffer(firma::kSchema).image, firma::NAVN, "Gammel");
  ASSERT_TRUE(window.WriteFirma().ok());
  ASSERT_TRUE(settings.ReadFirma().ok());

  fields::WriteText(settings.Buffer(firma::kSchema).image, firma::NAVN, "Ny");
  ASSERT_TRUE(settings.WriteFirma().ok());
  EXPECT_EQ(fields::ReadText(window.Buffer(firma::kSchema).image, firma::NAVN), "Gammel");
  ASSERT_TRUE(window.ReadFirma().ok());
  EXPECT_EQ(fields::ReadText(window.Buffer(firma::kSchema).image, firma::NAVN), "Ny");
}

// Records appended without key upkeep (as a bulk import does) leave the keys
// stale; the next open rebuilds them, or reports why it could not.
TEST_F(RecordFilesTest, StaleKeysAreRebuiltOnOpenOrReported) {
  const fs::path file = DataFolder() / "PRODUKT.dat";
  for (const bool collide : {false, true}) {
    SCOPED_TRACE(collide ? "colliding ids" : "distinct ids");
    fs::remove(file);
    {
      storage::Session session;
      Result<storage::KeyedFile*> opened = session.Open(produkt::kSchema, file);
      ASSERT_TRUE(opened.ok()) << opened.status().ToString();
      ASSERT_TRUE((*opened)->Append(Product("B")).ok());
      ASSERT_TRUE((*opened)->Append(Product(collide ? "b" : "A")).ok());
    }
    RecordContext context(registry_);
    Result<storage::KeyedFile*> opened = context.File(produkt::kSchema);
    if (collide) {
      ASSERT_FALSE(opened.ok());
      EXPECT_EQ(opened.status().code(), ErrorCode::kKeysNeedRebuild);
      EXPECT_EQ(ShownTitles(), (std::vector<std::string>{"Invalid Key", "Key was not built"}));
      continue;
    }
    ASSERT_TRUE(opened.ok()) << opened.status().ToString();
    ASSERT_TRUE((*opened)->SetKeyOrder(produkt::kIDKey).ok());
    storage::Record first = storage::Record::Blank(produkt::kSchema);
    ASSERT_TRUE((*opened)->Next(first).ok());
    EXPECT_EQ(fields::ReadText(first.image, produkt::PRODUKTID), "A");
    EXPECT_TRUE(presenter_.boxes().empty());
  }
}

TEST_F(RecordFilesTest, PrinterFileIsFoundWhateverTheCaseOfItsName) {
  PrinterRecord written;
  written.Prime();
  ASSERT_TRUE(written.Write(folder_ / "sptiger.dat").ok());

  PrinterRecord read;
  ASSERT_TRUE(LoadPrinterRecord(read, errors_).ok());
  EXPECT_EQ(fields::ReadText(read.image(), printer::SPEED), "NORMAL");
  fields::WriteLong(read.image(), printer::DOTS, 12);
  ASSERT_TRUE(SavePrinterRecord(read, errors_).ok());
  EXPECT_FALSE(fs::exists(folder_ / "SPTIGER.DAT")) << "written to the file that was there";
  EXPECT_EQ(fs::file_size(folder_ / "sptiger.dat"), 188u);
}

TEST_F(RecordFilesTest, ShortPrinterFileIsReported) {
  std::ofstream(folder_ / "SPTIGER.DAT", std::ios::binary) << "short";
  PrinterRecord record;
  EXPECT_EQ(LoadPrinterRecord(record, errors_).code(), ErrorCode::kInvalidDataFile);
  ASSERT_EQ(ShownTitles(), std::vector<std::string>{"Record Retrieval Error"});
  EXPECT_NE(presenter_.boxes()[0].text.find("Printer"), std::string::npos);
}

class RecordingObserver : public ManagerLifecycleObserver {
 public:
  void Created(std::string_view label) override { events.push_back("+" + std::string(label)); }
  void Destroyed(std::string_view label) override { events.push_back("-" + std::string(label)); }
  std::vector<std::string> events;
};

TEST(FileRegistryTest, ManagersAreCreatedInOrderAndDestroyedInReverse) {
  errors::ScriptedPresenter presenter;
  errors::RecordingTerminator terminator;
  errors::ErrorManager errors(presenter, terminator);
  RecordingObserver observer;
  {
    FileRegistry registry(errors, &observer);
    EXPECT_EQ(registry.file(produkt::kSchema).recordLength(), 215u);
    EXPECT_EQ(registry.file(produkt_extended::kSchema).label(), "PRODUcT");
    EXPECT_EQ(registry.relations(historik::kSchema).parents().size(), 3u);
    EXPECT_EQ(registry.relations(ordrelinier::kSchema).children().size(), 1u);
  }
  const std::vector<std::string> expected = {
      "+Firma",      "+Ordrespec", "+Ordrelinier", "+Prisgrp",     "+Adresser",  "+Ordrehoved",
      "+Printer",    "+PRODUcT",   "+Produkt",     "+Bruger",      "+HISTORIK",  "+A5etiket",
      "-A5etiket",   "-HISTORIK",  "-Bruger",      "-Produkt",     "-PRODUcT",   "-Printer",
      "-Ordrehoved", "-Adresser",  "-Prisgrp",     "-Ordrelinier", "-Ordrespec", "-Firma"};
  EXPECT_EQ(observer.events, expected);
}

}  // namespace
}  // namespace paltrix::records
