#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/records/file_registry.h"
#include "app/records/record_context.h"
#include "framework/errors/error_manager.h"
#include "framework/errors/scripted_presenter.h"
#include "framework/fields/record_codec.h"
#include "framework/storage/storage_target.h"
#include "tests/framework/storage_backends.h"
#include "tests/support/temp_directory.h"

namespace paltrix::records {

// A fresh working directory with a "Data" folder, an error manager that
// records what it shows instead of ending the program, and the managers.
class RecordFilesTest : public ::testing::Test {
 protected:
  RecordFilesTest() { errors_.Init(); }
  // The keyed files live where `target` says.
  explicit RecordFilesTest(const storage::StorageTarget& target) : registry_{errors_, target} {
    errors_.Init();
  }

  // Titles of the message boxes shown so far.
  std::vector<std::string> ShownTitles() const {
    std::vector<std::string> titles;
    for (const errors::MessageBoxRequest& box : presenter_.boxes()) titles.push_back(box.title);
    return titles;
  }

  std::filesystem::path DataFolder() const { return folder_ / "Data"; }

  testing::TempDirectory folder_;
  testing::ScopedWorkingDirectory workingDirectory_{folder_.path()};
  bool dataFolderMade_ = std::filesystem::create_directory(folder_ / "Data");
  errors::ScriptedPresenter presenter_;
  errors::RecordingTerminator terminator_;
  errors::ErrorManager errors_{presenter_, terminator_};
  FileRegistry registry_{errors_};
};

// Holds the storage of a RecordStorageTest; a base so that it is made before
// the registry that uses it.
class StorageOfTheTest {
 protected:
  explicit StorageOfTheTest(storage::testing::Backend backend) : storage_(backend) {}
  storage::testing::StorageUnderTest storage_;
};

// A RecordFilesTest whose keyed files live on each storage backend in turn.
class RecordStorageTest : public ::testing::WithParamInterface<storage::testing::Backend>,
                          protected StorageOfTheTest,
                          public RecordFilesTest {
 protected:
  RecordStorageTest() : StorageOfTheTest(GetParam()), RecordFilesTest(storage_.target()) {}
};

// Adds `record` to the file in `context`, failing the test on error.
inline storage::RecordNumber AddRecord(RecordContext& context, const storage::FileSchema& schema,
                                       const storage::Record& record) {
  Result<storage::KeyedFile*> file = context.File(schema);
  EXPECT_TRUE(file.ok()) << file.status().ToString();
  if (!file.ok()) return 0;
  Result<storage::RecordNumber> added = (*file)->Add(record);
  EXPECT_TRUE(added.ok()) << added.status().ToString();
  return added.ok() ? *added : 0;
}

// Record `number` of the file as stored now.
inline storage::Record StoredRecord(RecordContext& context, const storage::FileSchema& schema,
                                    storage::RecordNumber number) {
  storage::Record record = storage::Record::Blank(schema);
  Result<storage::KeyedFile*> file = context.File(schema);
  EXPECT_TRUE(file.ok()) << file.status().ToString();
  if (file.ok()) {
    const Status status = (*file)->Get(number, record);
    EXPECT_TRUE(status.ok()) << status.ToString();
  }
  return record;
}

}  // namespace paltrix::records
