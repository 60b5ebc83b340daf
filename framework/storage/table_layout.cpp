#include "framework/storage/table_layout.h"

#include <fmt/format.h>

#include "framework/fields/record_codec.h"

namespace paltrix::storage {
namespace {

bool IsTextField(const fields::FieldDef& field) {
  return field.type == fields::FieldType::kText || field.type == fields::FieldType::kZText;
}

// Bump when the way key columns are derived or compared changes, so that
// every stored file gets its keys rebuilt on the next open.
constexpr int kKeyDerivationVersion = 1;

}  // namespace

Result<TableLayout> TableLayout::Describe(const FileSchema& schema) {
  TableLayout layout(schema);
  for (const fields::FieldDef& field : schema.fields) {
    if (field.offset + field.size > schema.recordLength) {
      return Status(ErrorCode::kInvalidRecordDeclaration,
                    fmt::format("{}: field {} lies outside the record of {} bytes", schema.label,
                                field.name, schema.recordLength));
    }
  }
  for (std::size_t k = 0; k < schema.keys.size(); ++k) {
    const KeyDef& def = schema.keys[k];
    KeyLayout key{.def = &def, .components = {}, .columns = {}};
    if (def.componentCount() == 0) {
      return Status(ErrorCode::kInvalidRecordDeclaration,
                    fmt::format("{}: key {} has no components", schema.label, def.label));
    }
    for (std::size_t c = 0; c < def.componentCount(); ++c) {
      const fields::FieldDef* field = fields::FindField(schema.fields, def.components[c]);
      if (field == nullptr) {
        return Status(ErrorCode::kInvalidRecordDeclaration,
                      fmt::format("{}: key {} names the unknown field {}", schema.label, def.label,
                                  def.components[c]));
      }
      key.components.push_back(field);
      key.columns.push_back(fmt::format("k{}_{}", k, c));
    }
    layout.keys_.push_back(std::move(key));
  }
  return layout;
}

std::string TableLayout::KeySignature() const {
  std::string signature = fmt::format("keys v{}", kKeyDerivationVersion);
  for (const KeyLayout& key : keys_) {
    signature += fmt::format(";{}{}{}", key.def->label, key.def->unique ? " unique" : "",
                             key.def->skipsBlanks ? " skipsblanks" : "");
    for (const fields::FieldDef* field : key.components) {
      signature += fmt::format(" {}@{}+{}:{}", field->name, field->offset, field->size,
                               static_cast<int>(field->type));
    }
  }
  return signature;
}

KeyValues TableLayout::ExtractKey(std::size_t key, std::span<const char> image) const {
  KeyValues values;
  values.reserve(keys_[key].components.size());
  for (const fields::FieldDef* field : keys_[key].components) {
    if (IsTextField(*field)) {
      values.emplace_back(fields::ReadText(image, *field));
    } else {
      values.emplace_back(fields::ReadNumber(image, *field));
    }
  }
  return values;
}

bool TableLayout::IsBlank(const KeyValues& values) {
  for (const KeyValue& value : values) {
    const bool blank = std::holds_alternative<std::int64_t>(value)
                           ? std::get<std::int64_t>(value) == 0
                           : std::get<std::string>(value).empty();
    if (!blank) return false;
  }
  return true;
}

std::string TableLayout::CreateTableSql(const db::Connection& engine, std::string_view database,
                                        std::string_view table) const {
  std::string sql =
      fmt::format("CREATE TABLE {}.{}({} {}, {} {} NOT NULL", database, table, kRecordNumber,
                  engine.RecordNumberColumn(database), kImage, engine.BlobType());
  for (std::size_t m = 0; m < memoCount(); ++m) {
    sql += fmt::format(", m{} {}", m, engine.BlobType());
  }
  for (const KeyLayout& key : keys_) {
    for (std::size_t c = 0; c < key.columns.size(); ++c) {
      sql += fmt::format(", {} {}", key.columns[c],
                         IsTextField(*key.components[c]) ? engine.KeyTextType()
                                                         : std::string(engine.IntegerType()));
    }
  }
  return sql + ")";
}

std::string TableLayout::CreateIndexSql(const db::Connection& engine, std::string_view database,
                                        std::size_t key) const {
  const KeyLayout& layout = keys_[key];
  std::string sql =
      engine.CreateIndexSql(database, kRecordsTable, fmt::format("key{}", key), layout.def->unique,
                            fmt::format("{}", fmt::join(layout.columns, ", ")));
  const std::string condition = SkipsBlanksCondition(key);
  if (!condition.empty()) sql += " WHERE " + condition;
  return sql;
}

std::string TableLayout::RecordColumns() const {
  return fmt::format("{}, {}{}", kRecordNumber, kImage, MemoColumns());
}

std::string TableLayout::MemoColumns() const {
  std::string columns;
  for (std::size_t m = 0; m < memoCount(); ++m) columns += fmt::format(", m{}", m);
  return columns;
}

std::string TableLayout::SkipsBlanksCondition(std::size_t key) const {
  const KeyLayout& layout = keys_[key];
  if (!layout.def->skipsBlanks) return {};
  std::string condition = "(";
  for (std::size_t c = 0; c < layout.columns.size(); ++c) {
    if (c > 0) condition += " OR ";
    condition += layout.columns[c] + (IsTextField(*layout.components[c]) ? " <> ''" : " <> 0");
  }
  return condition + ")";
}

}  // namespace paltrix::storage
