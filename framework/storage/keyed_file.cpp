#include "framework/storage/keyed_file.h"

#include <fmt/format.h>

#include <limits>
#include <utility>

#include "framework/storage/keyed_file_internal.h"

namespace paltrix::storage {
namespace {

constexpr RecordNumber kAfterLastRecord = std::numeric_limits<RecordNumber>::max();

}  // namespace

Record Record::Blank(const FileSchema& schema) {
  return Record{std::vector<char>(schema.recordLength, '\0'),
                std::vector<std::string>(schema.memos.size())};
}

KeyedFile::Impl::Impl(Session::Impl& session, TableLayout layout, std::filesystem::path path,
                      std::string database, std::string name, bool readOnly)
    : session(session),
      layout(std::move(layout)),
      path(std::move(path)),
      database(std::move(database)),
      name(std::move(name)),
      statements(*session.connection, this->database, this->layout, this->name),
      readOnly(readOnly) {}

KeyedFile::KeyedFile(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
KeyedFile::~KeyedFile() = default;

const FileSchema& KeyedFile::schema() const {
  return impl_->layout.schema();
}
bool KeyedFile::readOnly() const {
  return impl_->readOnly;
}

const std::filesystem::path& KeyedFile::path() const {
  return impl_->path;
}
RecordNumber KeyedFile::position() const {
  return impl_->position;
}

namespace {

using Impl = KeyedFile::Impl;

Status Failure(Impl& file, int rc) {
  return file.session.connection->Failure(rc, file.name);
}

Status CheckKeyIndex(const Impl& file, std::size_t keyIndex) {
  if (keyIndex < file.layout.keys().size()) return Status::Ok();
  return Status(ErrorCode::kInvalidValue,
                fmt::format("{}: there is no key number {}", file.name, keyIndex));
}

Status CheckRecord(const Impl& file, const Record& record) {
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

Status Missing(const Impl& file, ErrorCode code) {
  return Status(code, fmt::format("{}: {}", file.name, DescribeErrorCode(code)));
}

Status KeysNeedRebuild(const Impl& file) {
  return Status(ErrorCode::kKeysNeedRebuild,
                fmt::format("{}: records were appended; the keys need rebuilding", file.name));
}

Result<bool> KeysStale(Impl& file) {
  Result<db::Statement*> statement = file.statements.Get(FileStatement::kKeysStale);
  if (!statement.ok()) return statement.status();
  db::StatementRun run(**statement);
  const int rc = run->Step();
  if (rc != db::kRow) return Failure(file, rc);
  return run->ColumnInteger(0) != 0;
}

// Runs `attempt`, a statement guarded by "the keys are not stale" (true when
// it found or changed a record). When it comes back empty, the reason may be
// stale keys: that is kKeysNeedRebuild. Since another process may rebuild the
// keys between the statement and the check, an empty answer counts only from
// a run that current keys were seen both before and after.
template <typename Attempt>
Result<bool> RunGuarded(Impl& file, Attempt attempt) {
  Result<bool> done = attempt();
  if (!done.ok() || *done) return done;
  for (int check = 0;; ++check) {
    Result<bool> stale = KeysStale(file);
    if (!stale.ok()) return stale.status();
    if (*stale) return KeysNeedRebuild(file);
    if (check == 1) return false;
    done = attempt();
    if (!done.ok() || *done) return done;
  }
}

// The key columns of a record write; empty when the keys are not maintained.
// Bound text points into it, so it outlives the statement's run.
using KeyBinding = std::vector<KeyValues>;

KeyBinding ExtractKeys(const Impl& file, const Record& record) {
  KeyBinding keys;
  for (std::size_t key = 0; key < file.layout.keys().size(); ++key) {
    keys.push_back(file.layout.ExtractKey(key, record.image));
  }
  return keys;
}

// Binds image and memos (memos left out as empty) from parameter `index` on;
// returns the next free parameter.
int BindContents(const Impl& file, db::Statement& statement, const Record& record, int index) {
  statement.BindBlob(index++, record.image);
  for (std::size_t m = 0; m < file.layout.memoCount(); ++m) {
    if (m < record.memos.size()) {
      statement.BindBlob(index++, record.memos[m]);
    } else {
      statement.BindBlob(index++, {});
    }
  }
  return index;
}

// Binds image, memos and key columns (NULL when `keys` is empty) in the order
// of FileStatement::kInsert; returns the next free parameter.
int BindRecord(const Impl& file, db::Statement& statement, const Record& record,
               const KeyBinding& keys) {
  int index = BindContents(file, statement, record, 1);
  for (std::size_t key = 0; key < file.layout.keys().size(); ++key) {
    if (keys.empty()) {
      for (std::size_t c = 0; c < file.layout.keys()[key].columns.size(); ++c) {
        statement.BindNull(index++);
      }
    } else {
      BindKeyValues(statement, index, keys[key]);
      index += static_cast<int>(keys[key].size());
    }
  }
  return index;
}

Status ReadRow(Impl& file, const db::Statement& statement, Record& out) {
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

// Steps a statement whose parameters are bound and reads its first row.
// True with `out` filled, false when it returns no record.
Result<bool> ReadFirst(Impl& file, db::Statement& statement, Record& out) {
  const int rc = statement.Step();
  if (rc == db::kDone) return false;
  if (rc != db::kRow) return Failure(file, rc);
  if (Status status = ReadRow(file, statement, out); !status.ok()) return status;
  return true;
}

// Runs key statement `which` of `key` for the key value `values` (and the
// record number `number`, for the kSameKey* statements).
Result<bool> ReadByKey(Impl& file, std::size_t key, KeyStatement which, const KeyValues& values,
                       RecordNumber number, Record& out) {
  Result<db::Statement*> statement = file.statements.Get(key, which);
  if (!statement.ok()) return statement.status();
  db::StatementRun run(**statement);
  BindKeyValues(**statement, 1, values);
  if (which == KeyStatement::kSameKeyAfter || which == KeyStatement::kSameKeyBefore) {
    run->BindInteger(static_cast<int>(values.size()) + 1, number);
  }
  return ReadFirst(file, **statement, out);
}

Result<bool> ReadPhysical(Impl& file, bool forward, RecordNumber from, Record& out) {
  Result<db::Statement*> statement = file.statements.Get(
      forward ? FileStatement::kPhysicalNext : FileStatement::kPhysicalPrevious);
  if (!statement.ok()) return statement.status();
  db::StatementRun run(**statement);
  run->BindInteger(1, from);
  return ReadFirst(file, **statement, out);
}

// The next record in key order from the cursor's anchor, forward or back.
Result<bool> ReadKeyOrder(Impl& file, bool forward, Record& out) {
  const Cursor& cursor = file.cursor;
  const KeyValues none;
  switch (cursor.anchor) {
    case Cursor::Anchor::kStart:
      if (!forward) return false;
      return ReadByKey(file, cursor.key, KeyStatement::kFirst, none, 0, out);
    case Cursor::Anchor::kEnd:
      if (forward) return false;
      return ReadByKey(file, cursor.key, KeyStatement::kLast, none, 0, out);
    case Cursor::Anchor::kProbe:
      return ReadByKey(file, cursor.key,
                       forward ? KeyStatement::kFromValue : KeyStatement::kBeforeValue,
                       cursor.values, 0, out);
    case Cursor::Anchor::kRecord:
      break;
  }
  // A unique key has no other record with the same value.
  if (!file.layout.keys()[cursor.key].def->unique) {
    Result<bool> same = ReadByKey(
        file, cursor.key, forward ? KeyStatement::kSameKeyAfter : KeyStatement::kSameKeyBefore,
        cursor.values, cursor.number, out);
    if (!same.ok() || *same) return same;
  }
  return ReadByKey(file, cursor.key,
                   forward ? KeyStatement::kAfterValue : KeyStatement::kBeforeValue, cursor.values,
                   0, out);
}

// One step of the cursor. Every statement runs once and is reset at once, so
// no read transaction outlives the call and records written meanwhile by
// anyone are seen by the next step.
Status Step(Impl& file, bool forward, Record& out) {
  Cursor& cursor = file.cursor;
  Result<bool> found = cursor.keyOrder
                           ? RunGuarded(file, [&] { return ReadKeyOrder(file, forward, out); })
                           : ReadPhysical(file, forward, cursor.number, out);
  if (!found.ok()) return found.status();
  if (!*found) {
    return Status(ErrorCode::kRecordNotAvailable,
                  fmt::format("{}: {} of file", file.name, forward ? "end" : "beginning"));
  }
  cursor.number = file.position;
  if (cursor.keyOrder) {
    cursor.anchor = Cursor::Anchor::kRecord;
    cursor.values = file.layout.ExtractKey(cursor.key, out.image);
  }
  return Status::Ok();
}

// After a unique-key failure: the status naming the key whose value another
// record (not `self`) already holds.
Status DuplicateKey(Impl& file, const Record& record, RecordNumber self, const Status& failure) {
  Record other;
  for (std::size_t key = 0; key < file.layout.keys().size(); ++key) {
    const KeyDef& def = *file.layout.keys()[key].def;
    if (!def.unique) continue;
    const KeyValues values = file.layout.ExtractKey(key, record.image);
    if (def.skipsBlanks && TableLayout::IsBlank(values)) continue;
    const RecordNumber position = file.position;
    Result<bool> found = ReadByKey(file, key, KeyStatement::kEqual, values, 0, other);
    const RecordNumber holder = file.position;
    file.position = position;
    if (found.ok() && *found && holder != self) {
      return Status(
          ErrorCode::kDuplicateKey,
          fmt::format("{}: another record has the same value of the key {}", file.name, def.label));
    }
  }
  return failure;
}

// Any write: refused on a file opened read-only, and inside a transaction
// that SQLite has already rolled back.
Status CheckMayWrite(Impl& file) {
  if (file.readOnly) {
    return Status(ErrorCode::kAccessDenied,
                  fmt::format("{}: the file is open read-only (no write access to the file or "
                              "its folder)",
                              file.name));
  }
  return file.session.transactions.CheckIntact();
}

Status CheckWritable(Impl& file, const Record& record) {
  if (Status status = CheckRecord(file, record); !status.ok()) return status;
  return CheckMayWrite(file);
}

// Steps a write statement that returns the record number of the row it
// wrote: that number, or 0 when it wrote none (a guard or condition held it
// back). kDuplicateKey naming the key when a unique key refuses it.
Result<RecordNumber> RunWrite(Impl& file, db::Statement& statement, const Record& record,
                              RecordNumber self) {
  int rc = statement.Step();
  RecordNumber written = 0;
  if (rc == db::kRow) {
    written = statement.ColumnInteger(0);
    // Run to the end, so that an outermost write is committed here.
    rc = statement.Step();
  }
  if (rc == db::kDone) return written;
  Status failure = Failure(file, rc);
  statement.Reset();
  if (failure.code() == ErrorCode::kDuplicateKey) return DuplicateKey(file, record, self, failure);
  return failure;
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
  impl_->cursor = Cursor{
      .keyOrder = true, .key = keyIndex, .anchor = Cursor::Anchor::kEnd, .values = {}, .number = 0};
  return Status::Ok();
}

Status KeyedFile::Next(Record& out) {
  return Step(*impl_, /*forward=*/true, out);
}
Status KeyedFile::Previous(Record& out) {
  return Step(*impl_, /*forward=*/false, out);
}

Status KeyedFile::Get(RecordNumber number, Record& out) {
  Result<db::Statement*> statement = impl_->statements.Get(FileStatement::kGet);
  if (!statement.ok()) return statement.status();
  db::StatementRun run(**statement);
  run->BindInteger(1, number);
  Result<bool> found = ReadFirst(*impl_, **statement, out);
  if (!found.ok()) return found.status();
  return *found ? Status::Ok() : Missing(*impl_, ErrorCode::kRecordNotFound);
}

Status KeyedFile::Fetch(std::size_t keyIndex, const Record& probe, Record& out) {
  if (Status status = CheckKeyIndex(*impl_, keyIndex); !status.ok()) return status;
  if (Status status = CheckRecord(*impl_, probe); !status.ok()) return status;
  const KeyValues values = impl_->layout.ExtractKey(keyIndex, probe.image);
  Result<bool> found = RunGuarded(
      *impl_, [&] { return ReadByKey(*impl_, keyIndex, KeyStatement::kEqual, values, 0, out); });
  if (!found.ok()) return found.status();
  return *found ? Status::Ok() : Missing(*impl_, ErrorCode::kRecordNotFound);
}

namespace {

// Put of `record` over record `number`, when `expected` is given only while
// the stored record equals it. True when the record was written.
Result<bool> Replace(Impl& file, RecordNumber number, const Record& record,
                     const Record* expected) {
  if (Status status = CheckWritable(file, record); !status.ok()) return status;
  if (expected != nullptr) {
    if (Status status = CheckRecord(file, *expected); !status.ok()) return status;
  }
  Result<db::Statement*> update = file.statements.Get(
      expected != nullptr ? FileStatement::kUpdateIfUnchanged : FileStatement::kUpdate);
  if (!update.ok()) return update.status();
  const KeyBinding keys = ExtractKeys(file, record);
  Result<bool> changed = RunGuarded(file, [&]() -> Result<bool> {
    db::StatementRun run(**update);
    int index = BindRecord(file, **update, record, keys);
    run->BindInteger(index++, number);
    if (expected != nullptr) BindContents(file, **update, *expected, index);
    Result<RecordNumber> written = RunWrite(file, **update, record, number);
    if (!written.ok()) return written.status();
    return *written != 0;
  });
  if (changed.ok() && *changed) file.position = number;
  return changed;
}

}  // namespace

Status KeyedFile::Put(RecordNumber number, const Record& record) {
  Result<bool> changed = Replace(*impl_, number, record, nullptr);
  if (!changed.ok()) return changed.status();
  if (!*changed) {
    return Status(ErrorCode::kRecordNotFound,
                  fmt::format("{}: there is no record number {}", impl_->name, number));
  }
  return Status::Ok();
}

Result<bool> KeyedFile::PutIfUnchanged(RecordNumber number, const Record& expected,
                                       const Record& record) {
  return Replace(*impl_, number, record, &expected);
}

Result<RecordNumber> KeyedFile::Add(const Record& record) {
  if (Status status = CheckWritable(*impl_, record); !status.ok()) return status;
  Result<db::Statement*> insert = impl_->statements.Get(FileStatement::kInsert);
  if (!insert.ok()) return insert.status();
  const KeyBinding keys = ExtractKeys(*impl_, record);
  RecordNumber number = 0;
  Result<bool> added = RunGuarded(*impl_, [&]() -> Result<bool> {
    db::StatementRun run(**insert);
    BindRecord(*impl_, **insert, record, keys);
    Result<RecordNumber> written = RunWrite(*impl_, **insert, record, 0);
    if (!written.ok()) return written.status();
    number = *written;
    return number != 0;
  });
  if (!added.ok()) return added.status();
  if (!*added) {
    // Appends and key builds by others kept overtaking this add.
    return Status(ErrorCode::kRecordHeld,
                  fmt::format("{}: the keys are being rebuilt by another process", impl_->name));
  }
  impl_->position = number;
  return impl_->position;
}

Result<RecordNumber> KeyedFile::Append(const Record& record) {
  if (Status status = CheckWritable(*impl_, record); !status.ok()) return status;
  // Marked before the row goes in: a crash in between costs a needless key
  // build, never a record missing from the keys.
  Result<db::Statement*> mark = impl_->statements.Get(FileStatement::kMarkKeysStale);
  if (!mark.ok()) return mark.status();
  {
    db::StatementRun run(**mark);
    if (const int rc = run->Step(); rc != db::kDone) return Failure(*impl_, rc);
  }
  Result<db::Statement*> append = impl_->statements.Get(FileStatement::kAppend);
  if (!append.ok()) return append.status();
  db::StatementRun run(**append);
  BindRecord(*impl_, **append, record, KeyBinding{});
  Result<RecordNumber> written = RunWrite(*impl_, **append, record, 0);
  if (!written.ok()) return written.status();
  impl_->position = *written;
  return impl_->position;
}

Status KeyedFile::Delete(RecordNumber number) {
  if (Status status = CheckMayWrite(*impl_); !status.ok()) return status;
  Result<db::Statement*> statement = impl_->statements.Get(FileStatement::kDelete);
  if (!statement.ok()) return statement.status();
  db::StatementRun run(**statement);
  run->BindInteger(1, number);
  int rc = run->Step();
  const bool deleted = rc == db::kRow;
  if (deleted) rc = run->Step();
  if (rc != db::kDone) return Failure(*impl_, rc);
  if (!deleted) {
    return Status(ErrorCode::kRecordNotFound,
                  fmt::format("{}: there is no record number {}", impl_->name, number));
  }
  return Status::Ok();
}

Status KeyedFile::DeleteAll() {
  if (Status status = CheckMayWrite(*impl_); !status.ok()) return status;
  Result<db::Statement*> statement = impl_->statements.Get(FileStatement::kDeleteAll);
  if (!statement.ok()) return statement.status();
  db::StatementRun run(**statement);
  if (const int rc = run->Step(); rc != db::kDone) return Failure(*impl_, rc);
  return Status::Ok();
}

Status KeyedFile::BuildKeys() {
  if (Status status = CheckMayWrite(*impl_); !status.ok()) return status;
  return storage::BuildKeys(impl_->context());
}

Result<std::int64_t> KeyedFile::RecordCount() {
  Result<db::Statement*> statement = impl_->statements.Get(FileStatement::kCount);
  if (!statement.ok()) return statement.status();
  db::StatementRun run(**statement);
  const int rc = run->Step();
  if (rc != db::kRow) return Failure(*impl_, rc);
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
  // Only a refusal leaves bulk mode on; a failed commit has ended it too.
  if (status.code() != ErrorCode::kInvalidValue) impl_->bulk = false;
  return status;
}

}  // namespace paltrix::storage
