#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "app/records/file_manager.h"
#include "app/records/relation_manager.h"
#include "framework/errors/error_manager.h"
#include "framework/storage/schema.h"
#include "framework/storage/storage_target.h"

// The file and relation managers of the twelve record files, created at
// program start in the order of kFilesInCreationOrder (for each file its file
// manager, then its relation manager) and destroyed in reverse at the end.
// The managers hold no open files: record contexts do.
namespace paltrix::records {

// Told of each manager pair as it is created and destroyed.
class ManagerLifecycleObserver {
 public:
  virtual ~ManagerLifecycleObserver() = default;
  virtual void Created(std::string_view label) = 0;
  virtual void Destroyed(std::string_view label) = 0;
};

class FileRegistry {
 public:
  // REQUIRES: `errors` (and `observer`, when given) outlive the registry.
  explicit FileRegistry(errors::ErrorManager& errors, ManagerLifecycleObserver* observer = nullptr);
  // The record files of `target` (the Data folder or a database server):
  // every record context of the registry opens them there.
  FileRegistry(errors::ErrorManager& errors, storage::StorageTarget target,
               ManagerLifecycleObserver* observer = nullptr);
  FileRegistry(const FileRegistry&) = delete;
  FileRegistry& operator=(const FileRegistry&) = delete;
  ~FileRegistry();

  // REQUIRES: `schema` is one of the twelve files of record_files.h.
  const FileManager& file(const storage::FileSchema& schema) const;
  const RelationManager& relations(const storage::FileSchema& schema) const;

  errors::ErrorManager& errorManager() const { return errors_; }
  const storage::StorageTarget& target() const { return target_; }

 private:
  struct ManagerPair {
    std::unique_ptr<FileManager> file;
    std::unique_ptr<RelationManager> relations;
  };
  errors::ErrorManager& errors_;
  ManagerLifecycleObserver* observer_;
  storage::StorageTarget target_;
  std::vector<ManagerPair> managers_;  // in creation order
};

}  // namespace paltrix::records
