#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "framework/fields/field_types.h"
#include "framework/result.h"
#include "framework/storage/database.h"
#include "framework/storage/schema.h"

// How the records of one keyed file sit in its database.
//
//   records(recno  <record number, never given out twice>,
//           image  <blob> NOT NULL,                    -- the fixed record image
//           m0, m1, ...  <blob>,                       -- one per memo, in schema order
//           k0_0, k0_1, ..., k1_0, ...)                -- key k, component c
//
// Key columns are materialised from the image: text and ztext fields hold
// the Windows-1252 bytes without trailing blanks, compared without regard to
// case (on the embedded engine TEXT ordered by the kCollation collation, on
// PostgreSQL the case-folded bytes as bytea, compared bytewise: the same
// order); every numeric field is an integer (packed decimals scaled). Index "key<k>" serves key k:
// UNIQUE for unique keys, partial (leaving out records whose components are all blank or zero) for
// keys that skip blanks. Rows appended without key maintenance hold NULL key columns until the keys
// are built.
namespace paltrix::storage {

// Names in the database, declared once; SQL text refers to them only
// through these constants (and TableLayout for the memo and key columns).
inline constexpr std::string_view kCollation = "PALTRIX_NOCASE";
inline constexpr std::string_view kRecordsTable = "records";
inline constexpr std::string_view kRecordNumber = "recno";
inline constexpr std::string_view kImage = "image";
inline constexpr std::string_view kFileInfoTable = "file_info";
inline constexpr std::string_view kKeysStale = "keys_stale";

// One component value of a key: INTEGER or TEXT (Windows-1252 bytes).
using KeyValue = std::variant<std::int64_t, std::string>;
using KeyValues = std::vector<KeyValue>;

struct KeyLayout {
  const KeyDef* def = nullptr;
  std::vector<const fields::FieldDef*> components;
  std::vector<std::string> columns;  // "k<key>_<component>"
};

class TableLayout {
 public:
  // kInvalidRecordDeclaration when a key names a field the layout lacks, or a
  // field lies outside the record.
  static Result<TableLayout> Describe(const FileSchema& schema);

  const FileSchema& schema() const { return schema_; }
  const std::vector<KeyLayout>& keys() const { return keys_; }
  std::size_t memoCount() const { return schema_.memos.size(); }

  // A text that changes whenever anything the key columns and indexes are
  // made from changes: key kinds, components, their field types and places.
  std::string KeySignature() const;

  // The value of key `key` held in a record image of schema().recordLength.
  KeyValues ExtractKey(std::size_t key, std::span<const char> image) const;
  // True when every component is blank text or zero: a key that skips blanks
  // leaves such a record out.
  static bool IsBlank(const KeyValues& values);

  // --- SQL text; `database` is the file's schema name on `engine` ---------
  std::string CreateTableSql(const db::Connection& engine, std::string_view database,
                             std::string_view table) const;
  std::string CreateIndexSql(const db::Connection& engine, std::string_view database,
                             std::size_t key) const;
  // "recno, image, m0, ..." in the order ReadRecordColumns expects.
  std::string RecordColumns() const;
  // ", m0, m1, ..." (empty without memos): the memo columns as they follow
  // "recno, image" in a column list.
  std::string MemoColumns() const;
  // The partial-index condition of a key that skips blanks, else empty.
  std::string SkipsBlanksCondition(std::size_t key) const;

 private:
  explicit TableLayout(const FileSchema& schema) : schema_(schema) {}

  FileSchema schema_;
  std::vector<KeyLayout> keys_;
};

}  // namespace paltrix::storage
