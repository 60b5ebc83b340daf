#pragma once

#include <span>
#include <vector>

#include "app/records/file_manager.h"
#include "app/records/relations.h"

// The relation manager of one record file: the relations in which the file is
// the parent (with their update and delete actions) and those in which it is
// the child (many-to-one links without actions). RecordContext::Update and
// RecordContext::Delete follow them.
namespace paltrix::records {

class RelationManager {
 public:
  // Registers every relation of kRelations that involves the manager's file.
  // REQUIRES: `file` outlives the relation manager.
  explicit RelationManager(const FileManager& file);
  RelationManager(const RelationManager&) = delete;
  RelationManager& operator=(const RelationManager&) = delete;

  const FileManager& file() const { return file_; }
  std::span<const RelationDef* const> children() const { return children_; }
  std::span<const RelationDef* const> parents() const { return parents_; }

 private:
  const FileManager& file_;
  std::vector<const RelationDef*> children_;  // this file is the parent
  std::vector<const RelationDef*> parents_;   // this file is the child
};

}  // namespace paltrix::records
