#include "framework/storage/keyed_file.h"

#include <fmt/format.h>

#include <limits>
#include <utility>

#include "framework/storage/keyed_file_internal.h"
#include "framework/storage/sqlite_status.h"

namespace paltrix::storage {
namespace {

constexpr RecordNumber kAfterLastRecord = std::numeric_limits<RecordNumber>::max();

// Bound values of one record write, kept alive until the statement is reset.
struct RecordBinding {
  std::vector<KeyValues> keys;  // empty when the keys are not maintained
};

}  // namespace

Record Record::Blank(const FileSchema& schema) {
  return Record{std::vector<char>(schema.recordLength, '\0'),
                std::vector<std::string>(schema.memos.size())};
}

KeyedFile::Impl::Impl(Session::Impl& session, TableLayout layout, std::filesystem::path path,
                      std::string database)
    : session(session),
      layout(std::move(layout)),
      path(std::move(path)),
      database(std::move(database)),
      name(fmt::format("{} ({})", this->layout.schema().label, this->path.string())),
      statements(session.connection.get(), this->database, this->layout, name) {}

KeyedFile::KeyedFile(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
KeyedFile::~KeyedFile() = default;

const FileSchema& KeyedFile::schema() const {
  return impl_->layout.schema();
}
const std::filesystem::path& KeyedFile::path() const {
  return impl_->path;
}
RecordNumber KeyedFile::position() const {
  return impl_->position;
}

namespace {

Status Failure(KeyedFile::Impl& file, int rc) {
  return SqliteFailure(file.session.connection.get(), rc, file.name);
}

Status CheckKeyIndex(const KeyedFile::Impl& file, std::size_t keyIndex) {
  if (keyIndex < file.layout.keys().size()) return Status::Ok();
  return Status(ErrorCode::kInvalidValue,
                fmt::format("{}: there is no key number {}", file.name, keyIndex));
}

Status CheckRecord(const KeyedFile::Impl& file, const Record& record) {
  const FileSchema& schema = file.layout.schema();
  if (record.image.size() != schema.recordLength) {
    return Status(ErrorCode::kInvalidValue,
                  fmt::format("{}: a record image of {} bytes, the layout has {}", file.name,
                              record.image.size(), schema.recordLength));
  }
  if (record.memos.size() > schema.memos.size()) {
    return Status(ErrorCode::kInvalidValue,
                  fmt::format("{}: {} memos given, the layout has {}", file.name,
                              record.memos.size(), schema.memos.size()));
  }
  for (std::size_t m = 0; m < record.memos.size(); ++m) {
    if (record.memos[m].size() > schema.memos[m].maxLength) {
      return Status(
          ErrorCode::kInvalidValue,
          fmt::format("{}: memo {} holds {} characters, at most {} fit", file.name,
                      schema.memos[m].label, record.memos[m].size(), schema.memos[m].maxLength));
    }
  }
  return Status::Ok();
}

// kKeysNeedRebuild while an append without key maintenance waits for a key
// build (by this or another process).
Status CheckKeysCurrent(KeyedFile::Impl& file) {
  Result<sqlite::Statement*> statement = file.statements.Get(FileStatement::kKeysStale);
  if (!statement.ok()) return statement.status();
  sqlite::StatementRun run(**statement);
  const int rc = run->Step();
  if (rc != SQLITE_ROW) return rc == SQLITE_DONE ? Status::Ok() : Failure(file, rc);
  if (run->ColumnInteger(0) == 0) return Status::Ok();
  return Status(ErrorCode::kKeysNeedRebuild,
                fmt::format("{}: records were appended; the keys need rebuilding", file.name));
}

// Binds image, memos and (when `binding.keys` is filled) the key columns in
// the order of FileStatement::kInsert; returns the next free parameter.
int BindRecord(KeyedFile::Impl& file, sqlite::Statement& statement, const Record& record,
               const RecordBinding& binding) {
  int index = 1;
  statement.BindBlob(index++, record.image);
  for (std::size_t m = 0; m < file.layout.memoCount(); ++m) {
    if (m < record.memos.size()) {
      statement.BindBlob(index++, record.memos[m]);
    } else {
      statement.BindBlob(index++, {});
    }
  }
  for (std::size_t key = 0; key < file.layout.keys().size(); ++key) {
    if (binding.keys.empty()) {
      for (std::size_t c = 0; c < file.layout.keys()[key].columns.size(); ++c) {
        statement.BindNull(index++);
      }
    } else {
      BindKeyValues(statement, index, binding.keys[key]);
      index += static_cast<int>(binding.keys[key].size());
    }
  }
  return index;
}

RecordBinding KeyBinding(const KeyedFile::Impl& file, const Record& record) {
  RecordBinding binding;
  for (std::size_t key = 0; key < file.layout.keys().size(); ++key) {
    binding.keys.push_back(file.layout.ExtractKey(key, record.image));
  }
  return binding;
}

// The current row of a statement that returns record columns.
Status ReadRow(KeyedFile::Impl& file, const sqlite::Statement& statement, Record& out) {
  const RecordNumber number = statement.ColumnInteger(0);
  const std::string_view image = statement.ColumnBytes(1);
  if (image.size() != file.layout.schema().recordLength) {
    return Status(ErrorCode::kInvalidDataFile, fmt::format("{}: record {} is damaged ({} bytes)",
                                                           file.name, number, image.size()));
  }
  out.image.assign(image.begin(), image.end());
  out.memos.resize(file.layout.memoCount());
  for (std::size_t m = 0; m < file.layout.memoCount(); ++m) {
    out.memos[m] = std::string(statement.ColumnBytes(static_cast<int>(2 + m)));
  }
  file.position = number;
  return Status::Ok();
}

// Steps a statement that returns at most one record. `missing` is the code
// when it returns none.
Status ReadOne(KeyedFile::Impl& file, sqlite::Statement& statement, Record& out,
               ErrorCode missing) {
  const int rc = statement.Step();
  if (rc == SQLITE_ROW) return ReadRow(file, statement, out);
  if (rc == SQLITE_DONE)
    return Status(missing, fmt::format("{}: {}", file.name, DescribeErrorCode(missing)));
  return Failure(file, rc);
}

// After a unique-key failure: the status naming the key whose value another
// record (not `self`) already holds.
Status DuplicateKey(KeyedFile::Impl& file, const Record& record, RecordNumber self,
                    const Status& failure) {
  for (std::size_t key = 0; key < file.layout.keys().size(); ++key) {
    const KeyDef& def = *file.layout.keys()[key].def;
    if (!def.unique) continue;
    const KeyValues values = file.layout.ExtractKey(key, record.image);
    if (def.skipsBlanks && TableLayout::IsBlank(values)) continue;
    Result<sqlite::Statement*> statement = file.statements.Get(key, KeyStatement::kEqual);
    if (!statement.ok()) break;
    sqlite::StatementRun run(**statement);
    BindKeyValues(**statement, 1, values);
    if (run->Step() == SQLITE_ROW && run->ColumnInteger(0) != self) {
      return Status(
          ErrorCode::kDuplicateKey,
          fmt::format("{}: another record has the same value of the key {}", file.name, def.label));
    }
  }
  return failure;
}

Status CheckWritable(KeyedFile::Impl& file, const Record& record, bool maintainKeys) {
  if (Status status = CheckRecord(file, record); !status.ok()) return status;
  if (Status status = file.session.transactions.CheckIntact(); !status.ok()) return status;
  return maintainKeys ? CheckKeysCurrent(file) : Status::Ok();
}

Result<RecordNumber> Insert(KeyedFile::Impl& file, const Record& record, bool maintainKeys) {
  if (Status status = CheckWritable(file, record, maintainKeys); !status.ok()) return status;
  if (!maintainKeys) {
    // Marked before the row goes in: a crash in between leaves a needless
    // rebuild, never a record missing from the keys.
    Result<sqlite::Statement*> mark = file.statements.Get(FileStatement::kMarkKeysStale);
    if (!mark.ok()) return mark.status();
    sqlite::StatementRun run(**mark);
    if (const int rc = run->Step(); rc != SQLITE_DONE) return Failure(file, rc);
  }
  Result<sqlite::Statement*> insert = file.statements.Get(FileStatement::kInsert);
  if (!insert.ok()) return insert.status();
  const RecordBinding binding = maintainKeys ? KeyBinding(file, record) : RecordBinding{};
  sqlite::StatementRun run(**insert);
  BindRecord(file, **insert, record, binding);
  if (const int rc = run->Step(); rc != SQLITE_DONE) {
    Status failure = Failure(file, rc);
    run->Reset();
    if (failure.code() == ErrorCode::kDuplicateKey) return DuplicateKey(file, record, 0, failure);
    return failure;
  }
  file.position = sqlite3_last_insert_rowid(file.session.connection.get());
  return file.position;
}

}  // namespace

void KeyedFile::SetPhysicalOrder(RecordNumber after) {
  impl_->cursor = Cursor{.keyOrder = false,
                         .key = 0,
                         .anchor = Cursor::Anchor::kRecord,
                         .values = {},
                         .number = after};
}

void KeyedFile::SetPhysicalOrderFromEnd() {
  SetPhysicalOrder(kAfterLastRecord);
}

Status KeyedFile::SetKeyOrder(std::size_t keyIndex, const Record* probe) {
  if (Status status = CheckKeyIndex(*impl_, keyIndex); !status.ok()) return status;
  if (probe != nullptr) {
    if (Status status = CheckRecord(*impl_, *probe); !status.ok()) return status;
  }
  if (Status status = CheckKeysCurrent(*impl_); !status.ok()) return status;
  impl_->cursor = Cursor{
      .keyOrder = true,
      .key = keyIndex,
      .anchor = probe != nullptr ? Cursor::Anchor::kProbe : Cursor::Anchor::kStart,
      .values = probe != nullptr ? impl_->layout.ExtractKey(keyIndex, probe->image) : KeyValues{},
      .number = 0};
  return Status::Ok();
}

Status KeyedFile::SetKeyOrderFromEnd(std::size_t keyIndex) {
  if (Status status = CheckKeyIndex(*impl_, keyIndex); !status.ok()) return status;
  if (Status status = CheckKeysCurrent(*impl_); !status.ok()) return status;
  impl_->cursor = Cursor{
      .keyOrder = true, .key = keyIndex, .anchor = Cursor::Anchor::kEnd, .values = {}, .number = 0};
  return Status::Ok();
}

namespace {

// The statement for one step of the cursor, or nullptr when the anchor leaves
// nothing in that direction (before the first or after the last key).
Result<sqlite::Statement*> CursorStatement(KeyedFile::Impl& file, bool forward) {
  const Cursor& cursor = file.cursor;
  if (!cursor.keyOrder) {
    return file.statements.Get(forward ? FileStatement::kPhysicalNext
                                       : FileStatement::kPhysicalPrevious);
  }
  switch (cursor.anchor) {
    case Cursor::Anchor::kStart:
      if (!forward) return nullptr;
      return file.statements.Get(cursor.key, KeyStatement::kFirst);
    case Cursor::Anchor::kEnd:
      if (forward) return nullptr;
      return file.statements.Get(cursor.key, KeyStatement::kLast);
    case Cursor::Anchor::kProbe:
      return file.statements.Get(cursor.key,
                                 forward ? KeyStatement::kFromProbe : KeyStatement::kBeforeProbe);
    case Cursor::Anchor::kRecord:
      return file.statements.Get(
          cursor.key, forward ? KeyStatement::kAfterRecord : KeyStatement::kBeforeRecord);
  }
  return nullptr;
}

Status EndReached(const KeyedFile::Impl& file, bool forward) {
  return Status(ErrorCode::kRecordNotAvailable,
                fmt::format("{}: {} of file", file.name, forward ? "end" : "beginning"));
}

// One step of the cursor. The statement runs once and is reset at once, so
// no read transaction outlives the call and records written meanwhile by
// anyone are seen by the next step.
Status Step(KeyedFile::Impl& file, bool forward, Record& out) {
  Cursor& cursor = file.cursor;
  Result<sqlite::Statement*> statement = CursorStatement(file, forward);
  if (!statement.ok()) return statement.status();
  if (*statement == nullptr) return EndReached(file, forward);
  sqlite::Statement& query = **statement;
  sqlite::StatementRun run(query);
  if (cursor.anchor == Cursor::Anchor::kProbe || cursor.anchor == Cursor::Anchor::kRecord) {
    BindKeyValues(query, 1, cursor.values);
  }
  if (cursor.anchor == Cursor::Anchor::kRecord) {
    query.BindInteger(static_cast<int>(cursor.values.size()) + 1, cursor.number);
  }
  const int rc = query.Step();
  if (rc == SQLITE_DONE) return EndReached(file, forward);
  if (rc != SQLITE_ROW) return Failure(file, rc);
  if (Status status = ReadRow(file, query, out); !status.ok()) return status;
  cursor.number = file.position;
  if (cursor.keyOrder) {
    cursor.anchor = Cursor::Anchor::kRecord;
    cursor.values = file.layout.ExtractKey(cursor.key, out.image);
  }
  return Status::Ok();
}

}  // namespace

Status KeyedFile::Next(Record& out) {
  return Step(*impl_, /*forward=*/true, out);
}
Status KeyedFile::Previous(Record& out) {
  return Step(*impl_, /*forward=*/false, out);
}

Status KeyedFile::Get(RecordNumber number, Record& out) {
  Result<sqlite::Statement*> statement = impl_->statements.Get(FileStatement::kGet);
  if (!statement.ok()) return statement.status();
  sqlite::StatementRun run(**statement);
  run->BindInteger(1, number);
  return ReadOne(*impl_, **statement, out, ErrorCode::kRecordNotFound);
}

Status KeyedFile::Fetch(std::size_t keyIndex, const Record& probe, Record& out) {
  if (Status status = CheckKeyIndex(*impl_, keyIndex); !status.ok()) return status;
  if (Status status = CheckRecord(*impl_, probe); !status.ok()) return status;
  if (Status status = CheckKeysCurrent(*impl_); !status.ok()) return status;
  Result<sqlite::Statement*> statement = impl_->statements.Get(keyIndex, KeyStatement::kEqual);
  if (!statement.ok()) return statement.status();
  const KeyValues values = impl_->layout.ExtractKey(keyIndex, probe.image);
  sqlite::StatementRun run(**statement);
  BindKeyValues(**statement, 1, values);
  return ReadOne(*impl_, **statement, out, ErrorCode::kRecordNotFound);
}

Status KeyedFile::Put(RecordNumber number, const Record& record) {
  if (Status status = CheckWritable(*impl_, record, /*maintainKeys=*/true); !status.ok()) {
    return status;
  }
  Result<sqlite::Statement*> update = impl_->statements.Get(FileStatement::kUpdate);
  if (!update.ok()) return update.status();
  const RecordBinding binding = KeyBinding(*impl_, record);
  sqlite::StatementRun run(**update);
  const int recnoIndex = BindRecord(*impl_, **update, record, binding);
  run->BindInteger(recnoIndex, number);
  if (const int rc = run->Step(); rc != SQLITE_DONE) {
    Status failure = Failure(*impl_, rc);
    run->Reset();
    if (failure.code() == ErrorCode::kDuplicateKey) {
      return DuplicateKey(*impl_, record, number, failure);
    }
    return failure;
  }
  if (sqlite3_changes64(impl_->session.connection.get()) == 0) {
    return Status(ErrorCode::kRecordNotFound,
                  fmt::format("{}: there is no record number {}", impl_->name, number));
  }
  impl_->position = number;
  return Status::Ok();
}

Result<RecordNumber> KeyedFile::Add(const Record& record) {
  return Insert(*impl_, record, /*maintainKeys=*/true);
}

Result<RecordNumber> KeyedFile::Append(const Record& record) {
  return Insert(*impl_, record, /*maintainKeys=*/false);
}

Status KeyedFile::Delete(RecordNumber number) {
  if (Status status = impl_->session.transactions.CheckIntact(); !status.ok()) return status;
  Result<sqlite::Statement*> statement = impl_->statements.Get(FileStatement::kDelete);
  if (!statement.ok()) return statement.status();
  sqlite::StatementRun run(**statement);
  run->BindInteger(1, number);
  if (const int rc = run->Step(); rc != SQLITE_DONE) return Failure(*impl_, rc);
  if (sqlite3_changes64(impl_->session.connection.get()) == 0) {
    return Status(ErrorCode::kRecordNotFound,
                  fmt::format("{}: there is no record number {}", impl_->name, number));
  }
  return Status::Ok();
}

Status KeyedFile::BuildKeys() {
  if (Status status = impl_->session.transactions.CheckIntact(); !status.ok()) return status;
  return storage::BuildKeys(impl_->context());
}

Result<std::int64_t> KeyedFile::RecordCount() {
  Result<sqlite::Statement*> statement = impl_->statements.Get(FileStatement::kCount);
  if (!statement.ok()) return statement.status();
  sqlite::StatementRun run(**statement);
  const int rc = run->Step();
  if (rc != SQLITE_ROW) return Failure(*impl_, rc);
  return run->ColumnInteger(0);
}

Status KeyedFile::BeginBulk() {
  if (impl_->bulk) return Status::Ok();
  if (Status status = impl_->session.BeginBulk(); !status.ok()) return status;
  impl_->bulk = true;
  return Status::Ok();
}

Status KeyedFile::EndBulk() {
  if (!impl_->bulk) return Status::Ok();
  Status status = impl_->session.EndBulk();
  if (status.ok() || impl_->session.bulkFiles == 0) impl_->bulk = false;
  return status;
}

}  // namespace paltrix::storage
