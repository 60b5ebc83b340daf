#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string_view>

#include "framework/fields/field_types.h"
#include "framework/storage/schema.h"

// Order lines (declared; not read or written by the program). Child of
// Ordrehoved and PRODUcT, parent of Ordrespec.
namespace paltrix::records::ordrelinier {

inline constexpr std::string_view kLabel = "Ordrelinier";
inline constexpr std::string_view kPrefix = "OLI";
inline constexpr std::string_view kDiskName = "data\\olinier.tps";
inline constexpr std::uint32_t kRecordLength = 85;

inline constexpr fields::FieldDef ORDRENUMMER = fields::Long("OLI:ORDRENUMMER", 0);
inline constexpr fields::FieldDef LINIESSCC = fields::ZText("OLI:LINIESSCC", 4, 20);
inline constexpr fields::FieldDef LINIETEKST = fields::Text("OLI:LINIETEKST", 24, 36);
inline constexpr fields::FieldDef VARENR = fields::Long("OLI:VARENR", 60);
inline constexpr fields::FieldDef ANTALORDRET = fields::Decimal("OLI:ANTALORDRET", 64, 9, 3);
inline constexpr fields::FieldDef PRIS = fields::Decimal("OLI:PRIS", 69, 9, 2);
inline constexpr fields::FieldDef IALT = fields::Decimal("OLI:IALT", 74, 9, 2);
inline constexpr fields::FieldDef OPD = fields::Byte("OLI:OPD", 79);
inline constexpr fields::FieldDef ANTALLEVERET = fields::Decimal("OLI:ANTALLEVERET", 80, 9, 3);

inline constexpr fields::FieldDef kFields[] = {
    ORDRENUMMER, LINIESSCC, LINIETEKST, VARENR, ANTALORDRET, PRIS, IALT, OPD, ANTALLEVERET,
};

inline constexpr storage::KeyDef kKeys[] = {
    {.label = "OLI:Ordrenrkey", .components = {ORDRENUMMER.name}},
    {.label = "OLI:ProduktKey", .components = {VARENR.name}},
    {.label = "OLI:OrdreVareKey", .components = {ORDRENUMMER.name, VARENR.name}},
};
inline constexpr std::size_t kOrdrenrkey = 0;
inline constexpr std::size_t kProduktKey = 1;
inline constexpr std::size_t kOrdreVareKey = 2;

inline constexpr std::array<storage::MemoDef, 0> kMemos{};

inline constexpr storage::FileSchema kSchema{kLabel,  kPrefix, kDiskName, kRecordLength,
                                             kFields, kKeys,   kMemos};

static_assert(std::size(kFields) == 9 && std::size(kKeys) == 3);
static_assert(fields::IsContiguousLayout(kFields, kRecordLength));
static_assert(storage::KeysReferToFields(kKeys, kFields));

}  // namespace paltrix::records::ordrelinier
