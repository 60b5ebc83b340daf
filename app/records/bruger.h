#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string_view>

#include "framework/fields/field_types.h"
#include "framework/storage/schema.h"

// Users (declared; not read or written by the program).
namespace paltrix::records::bruger {

inline constexpr std::string_view kLabel = "Bruger";
inline constexpr std::string_view kPrefix = "BRU";
inline constexpr std::string_view kDiskName = "DATA/BRUGER.DAT";
inline constexpr std::uint32_t kRecordLength = 24;

inline constexpr fields::FieldDef INIT = fields::Text("BRU:INIT", 0, 4);
inline constexpr fields::FieldDef NAVN = fields::Text("BRU:NAVN", 4, 20);

inline constexpr fields::FieldDef kFields[] = {INIT, NAVN};

inline constexpr storage::KeyDef kKeys[] = {
    {.label = "BRU:Keyinit", .components = {INIT.name}, .unique = true, .skipsBlanks = true},
};
inline constexpr std::size_t kKeyinit = 0;

inline constexpr std::array<storage::MemoDef, 0> kMemos{};

inline constexpr storage::FileSchema kSchema{kLabel,  kPrefix, kDiskName, kRecordLength,
                                             kFields, kKeys,   kMemos};

static_assert(std::size(kFields) == 2 && std::size(kKeys) == 1);
static_assert(fields::IsContiguousLayout(kFields, kRecordLength));
static_assert(storage::KeysReferToFields(kKeys, kFields));

}  // namespace paltrix::records::bruger
