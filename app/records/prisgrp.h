#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string_view>

#include "framework/fields/field_types.h"
#include "framework/storage/schema.h"

// Price groups (declared; not read or written by the program). Parent of
// Adresser.
namespace paltrix::records::prisgrp {

inline constexpr std::string_view kLabel = "Prisgrp";
inline constexpr std::string_view kPrefix = "PRS";
inline constexpr std::string_view kDiskName = "data\\prisgrp";
inline constexpr std::uint32_t kRecordLength = 21;

inline constexpr fields::FieldDef PRISGRUPPE = fields::Text("PRS:PRISGRUPPE", 0, 20);
inline constexpr fields::FieldDef NR = fields::Byte("PRS:NR", 20);

inline constexpr fields::FieldDef kFields[] = {PRISGRUPPE, NR};

inline constexpr storage::KeyDef kKeys[] = {
    {.label = "PRS:KeyPrisgruppe",
     .components = {PRISGRUPPE.name},
     .unique = true,
     .skipsBlanks = true},
};
inline constexpr std::size_t kKeyPrisgruppe = 0;

inline constexpr std::array<storage::MemoDef, 0> kMemos{};

inline constexpr storage::FileSchema kSchema{kLabel,  kPrefix, kDiskName, kRecordLength,
                                             kFields, kKeys,   kMemos};

static_assert(std::size(kFields) == 2 && std::size(kKeys) == 1);
static_assert(fields::IsContiguousLayout(kFields, kRecordLength));
static_assert(storage::KeysReferToFields(kKeys, kFields));

}  // namespace paltrix::records::prisgrp
