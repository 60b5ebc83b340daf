#pragma once

#include <array>

#include "app/records/company_write.h"
#include "app/records/file_registry.h"
#include "app/records/record_files.h"
#include "framework/result.h"
#include "framework/status.h"
#include "framework/storage/keyed_file.h"

// A record context: the record buffers and file handles of one window. Each
// window that runs on its own (or the command-line program) creates its own:
// one storage session on the registry's storage target, and for each of the eleven keyed files an
// open handle and a record buffer. A record read in one context is not seen in another until that
// context reads it.
//
// Files are opened lazily, through their file manager, on first use and stay
// open until the context goes away. The Printer record is not part of a
// context: it has one buffer per process (printer_file.h).
//
// REQUIRES: a context is used from one thread at a time, and the registry
// outlives it.
namespace paltrix::records {

class RecordContext {
 public:
  explicit RecordContext(const FileRegistry& files);
  RecordContext(const RecordContext&) = delete;
  RecordContext& operator=(const RecordContext&) = delete;
  ~RecordContext();

  const FileRegistry& files() const { return files_; }
  storage::Session& session() { return session_; }

  // The context's handle of the file, opened (created when missing) on first
  // use. Failures are reported by the file manager and returned.
  // REQUIRES: IsOpenedByStorageEngine(schema); no transaction of this
  // context is active when the file is not open yet (files cannot join a
  // running transaction).
  Result<storage::KeyedFile*> File(const storage::FileSchema& schema);

  // The context's record buffer of the file; zeros until something is read
  // into it. REQUIRES: one of the keyed files (not Printer).
  storage::Record& Buffer(const storage::FileSchema& schema);

  // --- Firma: the sender is the first record in physical order ------------
  // Reads the first record of Firma into Buffer(firma::kSchema).
  // kRecordNotAvailable when the file is empty (the buffer is left as it
  // was); other failures are reported (message 1) and returned.
  Status ReadFirma();
  // Writes Buffer(firma::kSchema) over the sender record, adding it when the
  // file is empty, by the company write rule (company_write.h): FIR:SS and
  // FIR:SSCC stay as stored unless `change` sets the serial, and a lower
  // serial is refused unless forced. On kWritten the buffer holds the record
  // as stored. Failures are reported (message 24 when another process holds
  // the file past the busy wait, else 28) and returned; a refused lower
  // serial is an outcome for the caller to ask about, not a failure.
  Result<CompanyWrite> WriteFirma(SerialChange change = SerialChange::Keep());
  // The same for company record `number` (kSenderRecord: the sender) of the
  // "Alle firmaer" list, written from `record`.
  Result<CompanyWrite> WriteCompany(storage::RecordNumber number, storage::Record& record,
                                    SerialChange change);

  // --- Changes that follow the relations (relations.h) -------------------
  // Replaces record `number` of the file by `record` and makes the children
  // follow a changed linking value (cascade update, recursively). Deletes
  // record `number` and the children of cascade-delete relations
  // (recursively). Each is one transaction over every file involved: on any
  // failure nothing is changed and the parent keeps its old value.
  //
  // A child file that does not exist has no children and is not created. A
  // linking value that the child's field cannot hold (a text that is not a
  // whole number going into a numeric field) refuses the change with
  // kInvalidValue when there are children to carry it.
  //
  // Failures are reported to the error manager (15 duplicate key, 28 update
  // or 13 delete failed, 24 transaction failed, with the failing file's
  // label) and returned; the buffers of the context are not touched.
  //
  // An Update of a Firma record is WriteCompany with SerialChange::Keep():
  // no generic write can roll an SSCC serial back.
  // REQUIRES: IsOpenedByStorageEngine(schema); no transaction of this context
  // is active unless every file the change can reach is open already.
  Status Update(const storage::FileSchema& schema, storage::RecordNumber number,
                const storage::Record& record);
  Status Delete(const storage::FileSchema& schema, storage::RecordNumber number);

 private:
  struct OpenFile {
    storage::KeyedFile* handle = nullptr;
    storage::Record buffer;
  };
  class Cascade;

  OpenFile& Slot(const storage::FileSchema& schema);
  // Update (with `replacement`) or Delete (without).
  Status Change(const storage::FileSchema& schema, storage::RecordNumber number,
                const storage::Record* replacement);
  // The handle when the file exists (opened without creating it), or nullptr
  // when it does not.
  Result<storage::KeyedFile*> FileIfPresent(const storage::FileSchema& schema);
  // Reports `status` against the file by message `messageNumber`.
  Status Report(const storage::FileSchema& schema, int messageNumber, Status status) const;

  const FileRegistry& files_;
  storage::Session session_;
  std::array<OpenFile, kFilesInCreationOrder.size()> openFiles_;
};

}  // namespace paltrix::records
