#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string_view>

#include "framework/fields/field_types.h"
#include "framework/storage/schema.h"

// The Ordrespec file: one line per weighed individual of an order (declared; not read
// or written by the program). Child of Ordrelinier. Its key labels carry the
// lower-case prefix "spc:".
namespace paltrix::records::ordrespec {

inline constexpr std::string_view kLabel = "Ordrespec";
inline constexpr std::string_view kPrefix = "SPC";
inline constexpr std::string_view kDiskName = "DATA/ORDTAIL";
inline constexpr std::uint32_t kRecordLength = 53;

inline constexpr fields::FieldDef VARENR = fields::Long("SPC:VARENR", 0);
inline constexpr fields::FieldDef ORDRENR = fields::Long("SPC:ORDRENR", 4);
inline constexpr fields::FieldDef KG = fields::Decimal("SPC:KG", 8, 7, 4);
inline constexpr fields::FieldDef DATO = fields::Date("SPC:DATO", 12);
inline constexpr fields::FieldDef TID = fields::Time("SPC:TID", 16);
inline constexpr fields::FieldDef INDIVID = fields::Long("SPC:INDIVID", 20);
inline constexpr fields::FieldDef SLGDATO = fields::Date("SPC:SLGDATO", 24);
inline constexpr fields::FieldDef MHT = fields::Long("SPC:MHT", 28);
inline constexpr fields::FieldDef UDSKREVET = fields::Byte("SPC:UDSKREVET", 32);
inline constexpr fields::FieldDef SSCC = fields::ZText("SPC:SSCC", 33, 20);

inline constexpr fields::FieldDef kFields[] = {
    VARENR, ORDRENR, KG, DATO, TID, INDIVID, SLGDATO, MHT, UDSKREVET, SSCC,
};

inline constexpr storage::KeyDef kKeys[] = {
    {.label = "spc:KeyVarekey", .components = {VARENR.name}},
    {.label = "spc:Ordrenrkey", .components = {ORDRENR.name}},
    {.label = "spc:indivkey", .components = {UDSKREVET.name, INDIVID.name}, .unique = true},
};
inline constexpr std::size_t kKeyVarekey = 0;
inline constexpr std::size_t kOrdrenrkey = 1;
inline constexpr std::size_t kIndivkey = 2;

inline constexpr std::array<storage::MemoDef, 0> kMemos{};

inline constexpr storage::FileSchema kSchema{kLabel,  kPrefix, kDiskName, kRecordLength,
                                             kFields, kKeys,   kMemos};

static_assert(std::size(kFields) == 10 && std::size(kKeys) == 3);
static_assert(fields::IsContiguousLayout(kFields, kRecordLength));
static_assert(storage::KeysReferToFields(kKeys, kFields));

}  // namespace paltrix::records::ordrespec
