#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string_view>

#include "framework/fields/field_types.h"
#include "framework/storage/schema.h"

// The product catalogue. PRODUKTID is entered as up to 12 characters; the
// field itself holds 19. HOLDBARTIL, NETTOVAEGT and BATCHNR carry the values
// last used in the print dialog.
namespace paltrix::records::produkt {

inline constexpr std::string_view kLabel = "Produkt";
inline constexpr std::string_view kPrefix = "PRO";
inline constexpr std::string_view kDiskName = "Data\\PRODUKT.dat";
inline constexpr std::uint32_t kRecordLength = 215;

inline constexpr fields::FieldDef PRODUKTID = fields::ZText("PRO:PRODUKTID", 0, 20);
inline constexpr fields::FieldDef PRODUKTNAVN = fields::Text("PRO:PRODUKTNAVN", 20, 50);
inline constexpr fields::FieldDef NAVN2 = fields::Text("PRO:NAVN2", 70, 30);
inline constexpr fields::FieldDef EANNR = fields::ZText("PRO:EANNR", 100, 20);
inline constexpr fields::FieldDef HOLDBARHEDSDAGE = fields::Short("PRO:HOLDBARHEDSDAGE", 120);
inline constexpr fields::FieldDef ANTALPRKOLLIE = fields::Text("PRO:ANTALPRKOLLIE", 122, 60);
inline constexpr fields::FieldDef ANTALPRPALLE = fields::Long("PRO:ANTALPRPALLE", 182);
inline constexpr fields::FieldDef HOLDBARTIL = fields::Date("PRO:HOLDBARTIL", 186);
inline constexpr fields::FieldDef NETTOVAEGT = fields::Decimal("PRO:NETTOVAEGT", 190, 7, 3);
inline constexpr fields::FieldDef BATCHNR = fields::ZText("PRO:BATCHNR", 194, 20);
inline constexpr fields::FieldDef BRUGORDREID = fields::Byte("PRO:BRUGORDREID", 214);

inline constexpr fields::FieldDef kFields[] = {
    PRODUKTID,    PRODUKTNAVN, NAVN2,      EANNR,   HOLDBARHEDSDAGE, ANTALPRKOLLIE,
    ANTALPRPALLE, HOLDBARTIL,  NETTOVAEGT, BATCHNR, BRUGORDREID,
};

inline constexpr storage::KeyDef kKeys[] = {
    {.label = "PRO:IDKey", .components = {PRODUKTID.name}, .unique = true, .primary = true},
    {.label = "PRO:NavneKey", .components = {PRODUKTNAVN.name}},
};
inline constexpr std::size_t kIDKey = 0;
inline constexpr std::size_t kNavneKey = 1;

inline constexpr std::array<storage::MemoDef, 0> kMemos{};

inline constexpr storage::FileSchema kSchema{kLabel,  kPrefix, kDiskName, kRecordLength,
                                             kFields, kKeys,   kMemos};

static_assert(std::size(kFields) == 11 && std::size(kKeys) == 2);
static_assert(fields::IsContiguousLayout(kFields, kRecordLength));
static_assert(storage::KeysReferToFields(kKeys, kFields));

}  // namespace paltrix::records::produkt
