#include "tests/framework/storage_test_files.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "framework/fields/record_codec.h"

namespace paltrix::storage::testing {

Record MakeRecord(std::string_view id, std::string_view name, std::int32_t group,
                  std::string_view note) {
  Record record = Record::Blank(kSchema);
  fields::WriteText(record.image, kId, id);
  fields::WriteText(record.image, kName, name);
  fields::WriteLong(record.image, kGroup, group);
  record.memos[0] = std::string(note);
  return record;
}

std::string IdOf(const Record& record) {
  return fields::ReadText(record.image, kId);
}

std::vector<std::string> ReadIds(KeyedFile& file, bool forward) {
  std::vector<std::string> ids;
  Record record;
  Status status;
  while ((status = forward ? file.Next(record) : file.Previous(record)).ok()) {
    ids.push_back(IdOf(record));
  }
  EXPECT_EQ(status.code(), ErrorCode::kRecordNotAvailable) << status.ToString();
  return ids;
}

std::vector<std::string> IdsInPhysicalOrder(KeyedFile& file) {
  file.SetPhysicalOrder();
  return ReadIds(file);
}

std::vector<std::string> IdsInKeyOrder(KeyedFile& file, std::size_t key) {
  const Status status = file.SetKeyOrder(key);
  EXPECT_TRUE(status.ok()) << status.ToString();
  return ReadIds(file);
}

KeyedFile& OpenOrFail(Session& session, const std::filesystem::path& path,
                      const FileSchema& schema) {
  Result<KeyedFile*> file = session.Open(schema, path);
  if (!file.ok()) throw std::runtime_error("open failed: " + file.status().ToString());
  return **file;
}

}  // namespace paltrix::storage::testing
