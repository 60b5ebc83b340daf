#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string_view>

#include "framework/fields/field_types.h"
#include "framework/storage/schema.h"

// The queue of A5 labels waiting to be printed, one record per label. Both
// keys allow duplicates: a reprint queues the same SSCC again.
namespace paltrix::records::a5etiket {

inline constexpr std::string_view kLabel = "A5etiket";
inline constexpr std::string_view kPrefix = "A5E";
inline constexpr std::string_view kDiskName = "A5.tps";
inline constexpr std::uint32_t kRecordLength = 95;

inline constexpr fields::FieldDef SSCC = fields::ZText("A5E:SSCC", 0, 20);
inline constexpr fields::FieldDef PRODUKTID = fields::ZText("A5E:PRODUKTID", 20, 20);
inline constexpr fields::FieldDef ANTAL = fields::ZText("A5E:ANTAL", 40, 6);
inline constexpr fields::FieldDef SKREVET = fields::Byte("A5E:SKREVET", 46);
inline constexpr fields::FieldDef HOLDBARTIL = fields::Date("A5E:HOLDBARTIL", 47);
inline constexpr fields::FieldDef NETTOVAEGT = fields::Decimal("A5E:NETTOVAEGT", 51, 7, 3);
inline constexpr fields::FieldDef BATCHNR = fields::ZText("A5E:BATCHNR", 55, 20);
inline constexpr fields::FieldDef ORDRENR = fields::ZText("A5E:ORDRENR", 75, 20);

inline constexpr fields::FieldDef kFields[] = {
    SSCC, PRODUKTID, ANTAL, SKREVET, HOLDBARTIL, NETTOVAEGT, BATCHNR, ORDRENR,
};

inline constexpr storage::KeyDef kKeys[] = {
    {.label = "A5E:KeySSCC", .components = {SSCC.name}, .skipsBlanks = true},
    {.label = "A5E:KeyProduktid", .components = {PRODUKTID.name}, .skipsBlanks = true},
};
inline constexpr std::size_t kKeySSCC = 0;
inline constexpr std::size_t kKeyProduktid = 1;

inline constexpr std::array<storage::MemoDef, 0> kMemos{};

inline constexpr storage::FileSchema kSchema{kLabel,  kPrefix, kDiskName, kRecordLength,
                                             kFields, kKeys,   kMemos};

static_assert(std::size(kFields) == 8 && std::size(kKeys) == 2);
static_assert(fields::IsContiguousLayout(kFields, kRecordLength));
static_assert(storage::KeysReferToFields(kKeys, kFields));

}  // namespace paltrix::records::a5etiket
