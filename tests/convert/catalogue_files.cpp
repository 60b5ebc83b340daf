#include "tests/convert/catalogue_files.h"

#include <fmt/format.h>
#include <gtest/gtest.h>

#include "app/records/produkt.h"
#include "convert/old_produkt.h"
#include "framework/fields/record_codec.h"

namespace paltrix::convert::testing {

void WriteProductFile(const storage::FileSchema& schema, const std::filesystem::path& path,
                      const std::vector<std::vector<char>>& images,
                      const storage::StorageTarget& where) {
  storage::Session session(where);
  Result<storage::KeyedFile*> file = session.Open(schema, path);
  ASSERT_TRUE(file.ok()) << file.status().ToString();
  ASSERT_TRUE((*file)->BeginBulk().ok());
  storage::Record record = storage::Record::Blank(schema);
  for (const std::vector<char>& image : images) {
    record.image = image;
    Result<storage::RecordNumber> added = (*file)->Add(record);
    ASSERT_TRUE(added.ok()) << added.status().ToString();
  }
  ASSERT_TRUE((*file)->EndBulk().ok());
}

std::vector<std::vector<char>> ReadProductFile(const storage::FileSchema& schema,
                                               const std::filesystem::path& path,
                                               const storage::StorageTarget& where) {
  storage::Session session(where);
  Result<storage::KeyedFile*> file = session.Open(schema, path, {.createIfMissing = false});
  EXPECT_TRUE(file.ok()) << file.status().ToString();
  std::vector<std::vector<char>> images;
  if (!file.ok()) return images;
  storage::Record record = storage::Record::Blank(schema);
  (*file)->SetPhysicalOrder();
  for (Status status = (*file)->Next(record); status.ok(); status = (*file)->Next(record)) {
    images.push_back(record.image);
  }
  return images;
}

std::vector<std::vector<char>> OldProducts(int count) {
  std::vector<std::vector<char>> images;
  for (int i = 0; i < count; ++i) {
    std::vector<char> image(old_produkt::kRecordLength, '\0');
    fields::WriteText(image, old_produkt::PRODUKTID, fmt::format("P{:06}", i));
    fields::WriteText(image, old_produkt::PRODUKTNAVN,
                      fmt::format("Vare {} r\xF8"
                                  "dk\xE5l",
                                  i));
    fields::WriteText(image, old_produkt::NAVN2, fmt::format("O{}", i % 977));
    fields::WriteText(image, old_produkt::EANNR, "5701234567899");
    fields::WriteShort(image, old_produkt::HOLDBARHEDSDAGE, static_cast<std::int16_t>(i % 400));
    fields::WriteText(image, old_produkt::ANTALPRKOLLIE, "Beskrivelse");
    fields::WriteLong(image, old_produkt::ANTALPRPALLE, i);
    fields::WriteLong(image, old_produkt::HOLDBARTIL, 80000 + i);
    fields::WriteDecimal(image, old_produkt::NETTOVAEGT, 12345 + i);
    fields::WriteText(image, old_produkt::BATCHNR, fmt::format("B{}", i));
    images.push_back(std::move(image));
  }
  return images;
}

std::vector<char> Converted(const std::vector<char>& old) {
  std::vector<char> image = old;
  image.push_back('\0');  // PRO:BRUGORDREID
  EXPECT_EQ(image.size(), records::produkt::kRecordLength);
  return image;
}

}  // namespace paltrix::convert::testing
