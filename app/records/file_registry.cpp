#include "app/records/file_registry.h"

#include <cassert>

#include "app/records/record_files.h"

namespace paltrix::records {

FileRegistry::FileRegistry(errors::ErrorManager& errors, ManagerLifecycleObserver* observer)
    : FileRegistry(errors, storage::StorageTarget::DataFolder(), observer) {}

FileRegistry::FileRegistry(errors::ErrorManager& errors, storage::StorageTarget target,
                           ManagerLifecycleObserver* observer)
    : errors_(errors), observer_(observer), target_(std::move(target)) {
  managers_.reserve(kFilesInCreationOrder.size());
  for (const storage::FileSchema* schema : kFilesInCreationOrder) {
    ManagerPair pair;
    pair.file = std::make_unique<FileManager>(*schema, errors_);
    pair.relations = std::make_unique<RelationManager>(*pair.file);
    managers_.push_back(std::move(pair));
    if (observer_ != nullptr) observer_->Created(schema->label);
  }
}

FileRegistry::~FileRegistry() {
  while (!managers_.empty()) {
    ManagerPair& last = managers_.back();
    const std::string_view label = last.file->label();
    last.relations.reset();
    last.file.reset();
    managers_.pop_back();
    if (observer_ != nullptr) observer_->Destroyed(label);
  }
}

const FileManager& FileRegistry::file(const storage::FileSchema& schema) const {
  const std::size_t index = IndexOfFile(schema);
  assert(index < managers_.size());
  return *managers_[index].file;
}

const RelationManager& FileRegistry::relations(const storage::FileSchema& schema) const {
  const std::size_t index = IndexOfFile(schema);
  assert(index < managers_.size());
  return *managers_[index].relations;
}

}  // namespace paltrix::records
