#include "app/records/relation_manager.h"

namespace paltrix::records {

RelationManager::RelationManager(const FileManager& file) : file_(file) {
  for (const RelationDef& relation : kRelations) {
    if (relation.parent == &file.schema()) children_.push_back(&relation);
    if (relation.child == &file.schema()) parents_.push_back(&relation);
  }
}

}  // namespace paltrix::records
