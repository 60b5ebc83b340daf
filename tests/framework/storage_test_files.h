#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "framework/fields/field_types.h"
#include "framework/storage/keyed_file.h"
#include "framework/storage/schema.h"

// A small keyed file for the storage engine's tests: a unique id, a name with
// duplicates, a two-part key that skips blanks, and one memo.
namespace paltrix::storage::testing {

inline constexpr fields::FieldDef kId = fields::ZText("TST:ID", 0, 20);
inline constexpr fields::FieldDef kName = fields::Text("TST:NAME", 20, 30);
inline constexpr fields::FieldDef kGroup = fields::Long("TST:GROUP", 50);
inline constexpr fields::FieldDef kFields[] = {kId, kName, kGroup};
inline constexpr std::uint32_t kRecordLength = 54;
static_assert(fields::IsContiguousLayout(kFields, kRecordLength));

inline constexpr std::size_t kIdKey = 0;
inline constexpr std::size_t kNameKey = 1;
inline constexpr std::size_t kGroupKey = 2;
inline constexpr KeyDef kKeys[] = {
    {.label = "TST:IdKey", .components = {"TST:ID"}, .unique = true, .primary = true},
    {.label = "TST:NameKey", .components = {"TST:NAME"}},
    {.label = "TST:GroupKey", .components = {"TST:GROUP", "TST:NAME"}, .skipsBlanks = true},
};
inline constexpr MemoDef kMemos[] = {{"TST:Note", 200}};
inline constexpr FileSchema kSchema{"Test", "TST", "Data\\TEST.DAT", kRecordLength, kFields,
                                    kKeys,  kMemos};
static_assert(KeysReferToFields(kKeys, kFields));

Record MakeRecord(std::string_view id, std::string_view name = {}, std::int32_t group = 0,
                  std::string_view note = {});
std::string IdOf(const Record& record);

// Every record from the current position on, read with Next() (or Previous()),
// as ids; stops at the first failure, which must be kRecordNotAvailable.
std::vector<std::string> ReadIds(KeyedFile& file, bool forward = true);
// All ids in physical order or in the order of `key`.
std::vector<std::string> IdsInPhysicalOrder(KeyedFile& file);
std::vector<std::string> IdsInKeyOrder(KeyedFile& file, std::size_t key);

// Opens kSchema (or `schema`) at `path`, failing the test on error.
KeyedFile& OpenOrFail(Session& session, const std::filesystem::path& path,
                      const FileSchema& schema = kSchema);

}  // namespace paltrix::storage::testing
