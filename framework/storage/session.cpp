#include <fcntl.h>
#include <fmt/format.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <system_error>
#include <thread>
#include <utility>

#include "framework/storage/keyed_file.h"
#include "framework/storage/keyed_file_internal.h"
#include "framework/storage/postgres_connection.h"
#include "framework/storage/sqlite_status.h"
#include "framework/text/windows1252.h"

namespace paltrix::storage {
namespace {

constexpr std::chrono::milliseconds kOpenRetryPause{10};

int CompareNoCase(void*, int leftLength, const void* left, int rightLength, const void* right) {
  return text::CompareNoCase(
      std::string_view(static_cast<const char*>(left), static_cast<std::size_t>(leftLength)),
      std::string_view(static_cast<const char*>(right), static_cast<std::size_t>(rightLength)));
}

std::unique_ptr<sqlite::EmbeddedConnection> OpenEmbedded(Status& failure) {
  sqlite3* raw = nullptr;
  // The main database stays in memory: every keyed file is attached, so the
  // attach limit counts keyed files only.
  int rc = sqlite3_open_v2(":memory:", &raw,
                           SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI, nullptr);
  sqlite::Connection connection(raw);
  if (rc == SQLITE_OK) {
    sqlite3_extended_result_codes(raw, 1);
    rc = sqlite3_create_collation_v2(raw, std::string(kCollation).c_str(), SQLITE_UTF8, nullptr,
                                     CompareNoCase, nullptr);
  }
  if (rc != SQLITE_OK) {
    // Kept without its handle: Session::Open and Begin return the failure
    // before anything reaches it.
    failure = SqliteFailure(raw, rc, "record context");
    connection.reset();
  }
  return std::make_unique<sqlite::EmbeddedConnection>(std::move(connection));
}

std::filesystem::path FolderOf(const std::filesystem::path& path) {
  return path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
}

// Whether this process may write `path` (with the effective user's rights;
// a read-only file system refuses too).
bool MayWrite(const std::filesystem::path& path, int mode = W_OK) {
  return faccessat(AT_FDCWD, path.c_str(), mode, AT_EACCESS) == 0;
}

// A file is written only where its log and shared-memory index can be made
// beside it: the file itself and its folder must be writable.
bool MayWriteFile(const std::filesystem::path& path) {
  return MayWrite(path) && MayWrite(FolderOf(path), W_OK | X_OK);
}

// Whether the file can be opened where it is: kPathNotFound when its folder
// is missing (no folder is ever created), kFileNotFound when the file is
// missing and may not be created, kAccessDenied when it would have to be
// created in a folder this process may not write.
Status CheckPlace(const FileSchema& schema, const std::filesystem::path& path,
                  const OpenOptions& options) {
  std::error_code error;
  if (std::filesystem::exists(path, error)) return Status::Ok();
  const std::filesystem::path folder = FolderOf(path);
  if (!std::filesystem::is_directory(folder, error)) {
    return Status(ErrorCode::kPathNotFound,
                  fmt::format("{} ({}): the folder {} does not exist", schema.label, path.string(),
                              folder.string()));
  }
  if (!options.createIfMissing) {
    return Status(ErrorCode::kFileNotFound,
                  fmt::format("{} ({}): the file does not exist", schema.label, path.string()));
  }
  if (!MayWrite(folder, W_OK | X_OK)) {
    return Status(ErrorCode::kAccessDenied,
                  fmt::format("{} ({}): the file does not exist and cannot be created: no write "
                              "access to the folder {}",
                              schema.label, path.string(), folder.string()));
  }
  return Status::Ok();
}

// The connection the session's files are reached by.
std::unique_ptr<db::Connection> Connect(const StorageTarget& target, Status& failure) {
  if (target.isPostgres()) {
    return std::make_unique<postgres::ServerConnection>(target.postgresConnection);
  }
  return OpenEmbedded(failure);
}

}  // namespace

Session::Impl::Impl(const StorageTarget& target)
    : connection(Connect(target, connectionFailure)),
      embedded(dynamic_cast<sqlite::EmbeddedConnection*>(connection.get())),
      transactions(*connection) {}

Status Session::Impl::BeginBulk() {
  if (bulkFiles == 0) {
    if (Status status = transactions.Begin(/*immediate=*/false); !status.ok()) return status;
    bulkLevel = transactions.depth();
  }
  ++bulkFiles;
  return Status::Ok();
}

Status Session::Impl::EndBulk() {
  if (bulkFiles > 1) {
    --bulkFiles;
    return Status::Ok();
  }
  if (transactions.depth() != bulkLevel) {
    return Status(ErrorCode::kInvalidValue,
                  "bulk mode cannot end while a transaction begun inside it is still open");
  }
  bulkFiles = 0;
  Status status = transactions.Commit();
  DetachPending();
  return status;
}

void Session::Impl::EndRolledBackBulk() {
  if (bulkFiles == 0 || transactions.depth() >= bulkLevel) return;
  bulkFiles = 0;
  for (const std::unique_ptr<KeyedFile>& file : files) file->impl_->bulk = false;
}

void Session::Impl::DetachPending() {
  if (transactions.active()) return;
  if (embedded == nullptr) {
    pendingDetach.clear();  // a server's files are not attached
    return;
  }
  // A name that could not be detached stays listed, so it is not given out
  // again, and is tried again after the next transaction.
  std::erase_if(pendingDetach, [&](const std::string& database) {
    return sqlite::Execute(embedded->get(), fmt::format("DETACH DATABASE {}", database)) ==
           SQLITE_OK;
  });
}

void Session::Impl::ReleaseAttachment(const std::string& database) {
  auto attachment = std::find_if(attachments.begin(), attachments.end(),
                                 [&](const Attachment& a) { return a.database == database; });
  if (attachment == attachments.end() || --attachment->users > 0) return;
  attachments.erase(attachment);
  // DETACH is refused while a transaction is open; it then waits for the end.
  pendingDetach.push_back(database);
  DetachPending();
}

std::string Session::Impl::FreeDatabaseName() const {
  for (int n = 1;; ++n) {
    std::string candidate = fmt::format("f{}", n);
    const bool attached = std::any_of(attachments.begin(), attachments.end(),
                                      [&](const Attachment& a) { return a.database == candidate; });
    const bool detaching =
        std::find(pendingDetach.begin(), pendingDetach.end(), candidate) != pendingDetach.end();
    if (!attached && !detaching) return candidate;
  }
}

Status Session::Impl::CheckMayAttach(const std::string& name) const {
  if (transactions.active()) {
    return Status(
        ErrorCode::kInvalidValue,
        fmt::format("{}: a file cannot be opened inside a transaction or bulk mode", name));
  }
  if (attachments.size() >= kMaxFilesPerSession) {
    return Status(ErrorCode::kFileSystemError,
                  fmt::format("{}: a record context holds at most {} files at once", name,
                              kMaxFilesPerSession));
  }
  return Status::Ok();
}

Result<std::string> Session::Impl::Attach(const TableLayout& layout,
                                          const std::filesystem::path& path,
                                          const OpenOptions& options, bool readOnly,
                                          const std::string& name) {
  if (Status status = CheckMayAttach(name); !status.ok()) return status;
  std::string database = FreeDatabaseName();
  sqlite3* raw = embedded->get();
  connection->SetBusyWait(options.busyWaitMilliseconds);
  sqlite::Statement attach;
  int rc = sqlite::Statement::Prepare(raw, "ATTACH DATABASE ?1 AS ?2", attach);
  const auto attachAs = [&](const std::string& uri) {
    sqlite::StatementRun run(attach);
    run->BindText(1, uri);
    run->BindText(2, database);
    return run->Step();
  };
  if (rc == SQLITE_OK && !readOnly) {
    rc = attachAs(sqlite::FileUri(path, options.createIfMissing ? "rwc" : "rw"));
  } else if (rc == SQLITE_OK) {
    rc = attachAs(sqlite::FileUri(path, "ro"));
    // A reader without write access cannot set up the shared-memory index of
    // a log-mode file. Without a log left beside it, the file holds all its
    // records itself and is read as it lies.
    std::error_code error;
    const std::filesystem::path log = path.string() + "-wal";
    if ((rc & 0xFF) == SQLITE_READONLY && !std::filesystem::exists(log, error)) {
      rc = attachAs(sqlite::FileUri(path, "ro&immutable=1"));
    } else if ((rc & 0xFF) == SQLITE_READONLY || (rc & 0xFF) == SQLITE_CANTOPEN) {
      return Status(ErrorCode::kAccessDenied,
                    fmt::format("{}: its write-ahead log ({}) can only be read with write access "
                                "to the folder; open the file once where it may be written, so "
                                "that the log is folded back into it",
                                name, log.string()));
    }
  }
  if (rc != SQLITE_DONE) return SqliteFailure(raw, rc, name);

  // Some lock conflicts are reported at once rather than waited out (two
  // processes switching a new file to its journal mode, or one reading while
  // the other upgrades its lock); the open is then tried again until the busy
  // wait is over, as a held file is.
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::milliseconds(options.busyWaitMilliseconds);
  Status status;
  while (true) {
    status = PrepareFile(FileContext{*connection, transactions, database, layout, name},
                         readOnly ? Access::kReadOnly : Access::kReadWrite);
    if (status.code() != ErrorCode::kRecordHeld || std::chrono::steady_clock::now() >= deadline) {
      break;
    }
    std::this_thread::sleep_for(kOpenRetryPause);
  }
  if (!status.ok()) {
    pendingDetach.push_back(database);
    DetachPending();
    return status;
  }
  return database;
}

Result<std::string> Session::Impl::AttachOnServer(const TableLayout& layout,
                                                  const std::string& schema,
                                                  const OpenOptions& options,
                                                  const std::string& name) {
  if (Status status = CheckMayAttach(name); !status.ok()) return status;
  std::string database = schema;
  connection->SetBusyWait(options.busyWaitMilliseconds);
  const FileContext file{*connection, transactions, database, layout, name};
  if (!options.createIfMissing) {
    Result<bool> fresh = IsFreshFile(file);
    if (!fresh.ok()) return fresh.status();
    if (*fresh) {
      return Status(ErrorCode::kFileNotFound,
                    fmt::format("{}: the file does not exist in the database", name));
    }
  }
  if (Status status = PrepareFile(file, Access::kReadWrite); !status.ok()) return status;
  return database;
}

Session::Session(const StorageTarget& target)
    : target_(target), impl_(std::make_unique<Impl>(target)) {}

Session::~Session() {
  while (!impl_->files.empty()) Close(impl_->files.back().get());
}

Result<KeyedFile*> Session::Open(const FileSchema& schema, const std::filesystem::path& path,
                                 const OpenOptions& options) {
  if (!impl_->connectionFailure.ok()) return impl_->connectionFailure;
  Result<TableLayout> layout = TableLayout::Describe(schema);
  if (!layout.ok()) return layout.status();
  const bool onServer = impl_->embedded == nullptr;
  std::error_code error;
  std::filesystem::path canonical;
  if (onServer) {
    // The file name alone says which file it is.
    canonical = postgres::SchemaNameFor(path.filename().string());
  } else {
    if (Status status = CheckPlace(schema, path, options); !status.ok()) return status;
    canonical = std::filesystem::weakly_canonical(path, error);
    if (error) canonical = std::filesystem::absolute(path);
  }
  const std::string name = onServer
                               ? fmt::format("{} (PostgreSQL {})", schema.label, canonical.string())
                               : fmt::format("{} ({})", schema.label, canonical.string());
  const std::string signature = layout->KeySignature();

  auto shared = std::find_if(impl_->attachments.begin(), impl_->attachments.end(),
                             [&](const Attachment& a) { return a.path == canonical; });
  std::string database;
  bool readOnly = false;
  if (shared != impl_->attachments.end()) {
    if (shared->recordLength != schema.recordLength || shared->memoCount != schema.memos.size() ||
        shared->keySignature != signature) {
      return Status(ErrorCode::kInvalidRecordDeclaration,
                    fmt::format("{}: the file is already open with another layout", name));
    }
    ++shared->users;
    database = shared->database;
    readOnly = shared->readOnly;
  } else {
    if (!onServer) {
      Status status = RefuseNetworkFileSystem(FolderOf(canonical), name, options.fileSystemProbe);
      if (!status.ok()) return status;
    }
    // After CheckPlace: a file still missing is about to be created, in a
    // folder that may be written.
    readOnly = !onServer && std::filesystem::exists(canonical, error) && !MayWriteFile(canonical);
    Result<std::string> attached =
        onServer ? impl_->AttachOnServer(*layout, canonical.string(), options, name)
                 : impl_->Attach(*layout, canonical, options, readOnly, name);
    if (!attached.ok()) return attached.status();
    database = std::move(*attached);
    impl_->attachments.push_back(Attachment{.database = database,
                                            .path = canonical,
                                            .keySignature = signature,
                                            .recordLength = schema.recordLength,
                                            .memoCount = schema.memos.size(),
                                            .readOnly = readOnly,
                                            .users = 1});
  }
  auto impl = std::make_unique<KeyedFile::Impl>(*impl_, std::move(*layout), canonical, database,
                                                name, readOnly);
  impl_->files.push_back(std::unique_ptr<KeyedFile>(new KeyedFile(std::move(impl))));
  return impl_->files.back().get();
}

void Session::Close(KeyedFile* file) {
  auto owned = std::find_if(impl_->files.begin(), impl_->files.end(),
                            [&](const std::unique_ptr<KeyedFile>& f) { return f.get() == file; });
  if (owned == impl_->files.end()) return;
  // Closing ends bulk mode the way EndBulk does: what was written is kept.
  if (Status status = file->EndBulk(); !status.ok()) {
    std::fprintf(stderr, "%s\n", status.ToString().c_str());
  }
  const std::string database = file->impl_->database;
  impl_->files.erase(owned);  // finalises the file's statements before the detach
  impl_->ReleaseAttachment(database);
}

Session::Transaction::Transaction(Session* session)
    : session_(session), level_(session->impl_->transactions.depth()) {}

Session::Transaction::Transaction(Transaction&& other) noexcept
    : session_(std::exchange(other.session_, nullptr)), level_(other.level_) {}

Session::Transaction::~Transaction() {
  if (session_ == nullptr) return;
  TransactionStack& transactions = session_->impl_->transactions;
  // Anything begun inside this transaction and still open goes with it.
  while (transactions.depth() >= level_ && transactions.active()) transactions.Rollback();
  session_->impl_->EndRolledBackBulk();
  session_->impl_->DetachPending();
}

Status Session::Transaction::Commit() {
  if (session_ == nullptr) {
    return Status(ErrorCode::kInvalidValue, "the transaction has already ended");
  }
  TransactionStack& transactions = session_->impl_->transactions;
  if (transactions.depth() != level_) {
    return Status(ErrorCode::kInvalidValue,
                  "a transaction or bulk mode begun inside this transaction is still open");
  }
  Status status = transactions.Commit();
  Session* session = std::exchange(session_, nullptr);
  session->impl_->DetachPending();
  return status;
}

Result<Session::Transaction> Session::Begin(bool immediate) {
  if (!impl_->connectionFailure.ok()) return impl_->connectionFailure;
  std::vector<std::string> schemas;
  for (const Attachment& attachment : impl_->attachments) schemas.push_back(attachment.database);
  if (Status status = impl_->transactions.Begin(immediate, schemas); !status.ok()) return status;
  return Transaction(this);
}

}  // namespace paltrix::storage
