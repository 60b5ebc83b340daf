#pragma once

#include "app/records/file_registry.h"
#include "app/records/record_context.h"
#include "framework/errors/error_manager.h"
#include "framework/result.h"
#include "framework/storage/keyed_file.h"

namespace paltrix::cli {

// The record files as one command sees them: the program's error manager
// (messages go to standard error), the file managers and one record context.
// REQUIRES: the working directory is the data folder's parent for the whole
// life of the session.
class CliSession {
 public:
  CliSession();

  errors::ErrorManager& errors() { return errors_; }
  records::RecordContext& records() { return context_; }

  // The context's handle of a keyed file; a failure (already reported by the
  // file manager) ends the command.
  storage::KeyedFile& File(const storage::FileSchema& schema);

  // Reads the sending company into the Firma buffer; false when there is none
  // yet. Other failures end the command.
  bool ReadCompany();

 private:
  errors::ErrorManager& errors_;
  records::FileRegistry registry_;
  records::RecordContext context_;
};

// Ends the command with `what` and the status when `status` is a failure.
void Check(const Status& status, std::string_view what);

}  // namespace paltrix::cli
