#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include "app/records/record_context.h"
#include "framework/fields/record_codec.h"
#include "tests/records/record_files_fixture.h"

namespace paltrix::records {
namespace {

namespace fs = std::filesystem;

bool IsText(const fields::FieldDef& field) {
  return field.type == fields::FieldType::kText || field.type == fields::FieldType::kZText;
}

void SetValue(storage::Record& record, const fields::FieldDef& field, const std::string& value) {
  if (IsText(field)) {
    fields::WriteText(record.image, field, value);
  } else {
    fields::WriteLong(record.image, field, std::stoi(value));
  }
}

std::string GetValue(const storage::Record& record, const fields::FieldDef& field) {
  return IsText(field) ? fields::ReadText(record.image, field)
                       : std::to_string(fields::ReadNumber(record.image, field));
}

// Children need distinct values on the unique keys of their file.
void MakeDistinct(storage::Record& record, const storage::FileSchema& schema, int serial) {
  if (&schema == &ordrehoved::kSchema)
    fields::WriteLong(record.image, ordrehoved::ORDRENUMMER, serial);
  if (&schema == &ordrespec::kSchema) fields::WriteLong(record.image, ordrespec::INDIVID, serial);
  if (&schema == &adresser::kSchema)
    fields::WriteText(record.image, adresser::TELEFON, std::to_string(serial));
}

struct Family {
  storage::RecordNumber parent;
  storage::RecordNumber child;
  storage::RecordNumber stranger;  // a record of the child file with another value
};

// A parent with `parentValue`, a child with `childValue` and an unrelated
// record of the child file.
Family MakeFamily(RecordContext& context, const RelationDef& relation,
                  const std::string& parentValue, const std::string& childValue) {
  storage::Record parent = storage::Record::Blank(*relation.parent);
  SetValue(parent, *relation.parentField, parentValue);
  storage::Record child = storage::Record::Blank(*relation.child);
  MakeDistinct(child, *relation.child, 1);
  SetValue(child, *relation.childField, childValue);
  storage::Record stranger = storage::Record::Blank(*relation.child);
  MakeDistinct(stranger, *relation.child, 2);
  SetValue(stranger, *relation.childField, "99");
  return {AddRecord(context, *relation.parent, parent), AddRecord(context, *relation.child, child),
          AddRecord(context, *relation.child, stranger)};
}

const RelationDef& RelationOf(const storage::FileSchema& parent, const storage::FileSchema& child) {
  for (const RelationDef& relation : kRelations) {
    if (relation.parent == &parent && relation.child == &child) return relation;
  }
  throw std::logic_error("no such relation");
}

TEST_F(RecordFilesTest, ChildrenFollowAChangedLinkingValue) {
  const struct {
    const storage::FileSchema& parent;
    const storage::FileSchema& child;
    std::string before;
    std::string childBefore;  // matched without regard to case
    std::string after;
  } cases[] = {
      {produkt::kSchema, historik::kSchema, "123", "123", "456"},
      {bruger::kSchema, historik::kSchema, "abc", "ABC", "XYZ"},
      {adresser::kSchema, ordrehoved::kSchema, "11223344", "11223344", "55667788"},
      {adresser::kSchema, historik::kSchema, "11223344", "11223344", "55667788"},
      {prisgrp::kSchema, adresser::kSchema, "Engros", "ENGROS", "Detail"},
      {ordrehoved::kSchema, ordrelinier::kSchema, "7", "7", "8"},
      {ordrelinier::kSchema, ordrespec::kSchema, "100", "100", "200"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.parent.label) + " -> " + std::string(c.child.label));
    testing::TempDirectory folder;
    testing::ScopedWorkingDirectory workingDirectory(folder.path());
    fs::create_directory(folder / "Data");
    const RelationDef& relation = RelationOf(c.parent, c.child);
    RecordContext context(registry_);
    const Family family = MakeFamily(context, relation, c.before, c.childBefore);

    storage::Record changed = StoredRecord(context, c.parent, family.parent);
    SetValue(changed, *relation.parentField, c.after);
    ASSERT_TRUE(context.Update(c.parent, family.parent, changed).ok());

    EXPECT_EQ(StoredRecord(context, c.parent, family.parent).image, changed.image);
    EXPECT_EQ(GetValue(StoredRecord(context, c.child, family.child), *relation.childField),
              c.after);
    EXPECT_EQ(GetValue(StoredRecord(context, c.child, family.stranger), *relation.childField),
              "99");
  }
  EXPECT_TRUE(presenter_.boxes().empty());
}

TEST_P(RecordStorageTest, RelationWithoutActionsLeavesChildrenAlone) {
  RecordContext context(registry_);
  const Family family =
      MakeFamily(context, RelationOf(produkt::kSchema, a5etiket::kSchema), "123", "123");
  storage::Record changed = StoredRecord(context, produkt::kSchema, family.parent);
  fields::WriteText(changed.image, produkt::PRODUKTID, "456");
  ASSERT_TRUE(context.Update(produkt::kSchema, family.parent, changed).ok());
  EXPECT_EQ(fields::ReadText(StoredRecord(context, a5etiket::kSchema, family.child).image,
                             a5etiket::PRODUKTID),
            "123");
  ASSERT_TRUE(context.Delete(produkt::kSchema, family.parent).ok());
  EXPECT_EQ(*(*context.File(a5etiket::kSchema))->RecordCount(), 2);
}

TEST_F(RecordFilesTest, ACascadeCreatesNoChildFile) {
  RecordContext context(registry_);
  storage::Record product = storage::Record::Blank(produkt::kSchema);
  fields::WriteText(product.image, produkt::PRODUKTID, "123");
  const storage::RecordNumber number = AddRecord(context, produkt::kSchema, product);
  fields::WriteText(product.image, produkt::PRODUKTID,
                    "R\xF8"
                    "dk\xE5l");
  ASSERT_TRUE(context.Update(produkt::kSchema, number, product).ok());
  EXPECT_FALSE(fs::exists(DataFolder() / "historik.dat"));
  EXPECT_FALSE(fs::exists(folder_ / "A5.tps"));
}

TEST_P(RecordStorageTest, DeletingAnOrderDeletesItsLinesOnly) {
  RecordContext context(registry_);
  const Family family =
      MakeFamily(context, RelationOf(ordrehoved::kSchema, ordrelinier::kSchema), "7", "7");
  storage::Record secondLine = storage::Record::Blank(ordrelinier::kSchema);
  fields::WriteLong(secondLine.image, ordrelinier::ORDRENUMMER, 7);
  AddRecord(context, ordrelinier::kSchema, secondLine);
  storage::Record spec = storage::Record::Blank(ordrespec::kSchema);  // VARENR 0, as the lines
  AddRecord(context, ordrespec::kSchema, spec);

  ASSERT_TRUE(context.Delete(ordrehoved::kSchema, family.parent).ok());

  EXPECT_EQ(*(*context.File(ordrehoved::kSchema))->RecordCount(), 0);
  storage::KeyedFile& lines = **context.File(ordrelinier::kSchema);
  EXPECT_EQ(*lines.RecordCount(), 1);
  storage::Record remaining = storage::Record::Blank(ordrelinier::kSchema);
  EXPECT_TRUE(lines.Get(family.stranger, remaining).ok());
  EXPECT_EQ(*(*context.File(ordrespec::kSchema))->RecordCount(), 1) << "its delete action is none";
}

TEST_P(RecordStorageTest, AFailingChildWriteUndoesTheWholeChange) {
  // HIS:KUNDENR holds 10 characters, ADR:TELEFON and ORD:KUNDEID 12: the new
  // number fits the order but not the history, which is changed last.
  RecordContext context(registry_);
  const Family orders = MakeFamily(context, RelationOf(adresser::kSchema, ordrehoved::kSchema),
                                   "11223344", "11223344");
  storage::Record history = storage::Record::Blank(historik::kSchema);
  fields::WriteText(history.image, historik::KUNDENR, "11223344");
  const storage::RecordNumber historyNumber = AddRecord(context, historik::kSchema, history);
  const storage::Record addressBefore = StoredRecord(context, adresser::kSchema, orders.parent);
  const storage::Record orderBefore = StoredRecord(context, ordrehoved::kSchema, orders.child);

  storage::Record changed = addressBefore;
  fields::WriteText(changed.image, adresser::TELEFON, "004511223344");
  const Status status = context.Update(adresser::kSchema, orders.parent, changed);

  EXPECT_EQ(status.code(), ErrorCode::kInvalidValue);
  EXPECT_EQ(StoredRecord(context, adresser::kSchema, orders.parent).image, addressBefore.image);
  EXPECT_EQ(StoredRecord(context, ordrehoved::kSchema, orders.child).image, orderBefore.image);
  EXPECT_EQ(StoredRecord(context, historik::kSchema, historyNumber).image, history.image);
  ASSERT_EQ(ShownTitles(), std::vector<std::string>{"Record was not updated"});
  EXPECT_NE(presenter_.boxes()[0].text.find("HISTORIK"), std::string::npos);
}

TEST_P(RecordStorageTest, ParentChangeRefusedByItsOwnKeyChangesNothing) {
  RecordContext context(registry_);
  const Family family =
      MakeFamily(context, RelationOf(produkt::kSchema, historik::kSchema), "123", "123");
  storage::Record other = storage::Record::Blank(produkt::kSchema);
  fields::WriteText(other.image, produkt::PRODUKTID, "456");
  AddRecord(context, produkt::kSchema, other);

  storage::Record changed = StoredRecord(context, produkt::kSchema, family.parent);
  fields::WriteText(changed.image, produkt::PRODUKTID, "456");
  EXPECT_EQ(context.Update(produkt::kSchema, family.parent, changed).code(),
            ErrorCode::kDuplicateKey);
  EXPECT_EQ(fields::ReadLong(StoredRecord(context, historik::kSchema, family.child).image,
                             historik::PRODUKTID),
            123);
  ASSERT_EQ(ShownTitles(), std::vector<std::string>{"Duplicate Key Error"});
  EXPECT_EQ(presenter_.boxes()[0].text,
            "Adding this record creates a duplicate entry for the key: PRO:IDKey");
}

TEST_P(RecordStorageTest, NewIdThatChildrenCannotHoldIsRefused) {
  RecordContext context(registry_);
  const Family family =
      MakeFamily(context, RelationOf(produkt::kSchema, historik::kSchema), "123", "123");
  const storage::Record before = StoredRecord(context, produkt::kSchema, family.parent);
  storage::Record changed = before;
  fields::WriteText(changed.image, produkt::PRODUKTID,
                    "R\xF8"
                    "dk\xE5l");

  EXPECT_EQ(context.Update(produkt::kSchema, family.parent, changed).code(),
            ErrorCode::kInvalidValue);
  EXPECT_EQ(StoredRecord(context, produkt::kSchema, family.parent).image, before.image);
  EXPECT_EQ(fields::ReadLong(StoredRecord(context, historik::kSchema, family.child).image,
                             historik::PRODUKTID),
            123);
}

INSTANTIATE_TEST_SUITE_P(Backends, RecordStorageTest, storage::testing::kBothBackends,
                         storage::testing::BackendName);

}  // namespace
}  // namespace paltrix::records
