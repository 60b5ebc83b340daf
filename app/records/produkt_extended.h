#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string_view>

#include "framework/fields/field_types.h"
#include "framework/storage/schema.h"

// An extended product and price layout over the same disk name as Produkt.
// Declared only: opening it would read Produkt's records through the wrong
// layout, so the file managers refuse to open it (see file_manager.h).
namespace paltrix::records::produkt_extended {

inline constexpr std::string_view kLabel = "PRODUcT";
inline constexpr std::string_view kPrefix = "PRd";
inline constexpr std::string_view kDiskName = "Data\\PRODUKT.dat";
inline constexpr std::uint32_t kRecordLength = 190;

inline constexpr fields::FieldDef PRODUKTID = fields::Long("PRD:PRODUKTID", 0);
inline constexpr fields::FieldDef PRODUKTNAVN = fields::Text("PRD:PRODUKTNAVN", 4, 18);
inline constexpr fields::FieldDef TYPE = fields::Long("PRD:TYPE", 22);
inline constexpr fields::FieldDef PRIS1 = fields::Decimal("PRD:PRIS1", 26, 7, 2);
inline constexpr fields::FieldDef PRIS2 = fields::Decimal("PRD:PRIS2", 30, 7, 2);
inline constexpr fields::FieldDef PRIS3 = fields::Decimal("PRD:PRIS3", 34, 7, 2);
inline constexpr fields::FieldDef PRIS4 = fields::Decimal("PRD:PRIS4", 38, 7, 2);
inline constexpr fields::FieldDef PRIS5 = fields::Decimal("PRD:PRIS5", 42, 7, 2);
inline constexpr fields::FieldDef PRIS6 = fields::Decimal("PRD:PRIS6", 46, 7, 2);
inline constexpr fields::FieldDef PRIS7 = fields::Decimal("PRD:PRIS7", 50, 7, 2);
inline constexpr fields::FieldDef PRIS8 = fields::Decimal("PRD:PRIS8", 54, 7, 2);
inline constexpr fields::FieldDef PRIS9 = fields::Decimal("PRD:PRIS9", 58, 7, 2);
inline constexpr fields::FieldDef PRIS10 = fields::Decimal("PRD:PRIS10", 62, 7, 2);
inline constexpr fields::FieldDef PRIS11 = fields::Decimal("PRD:PRIS11", 66, 7, 2);
inline constexpr fields::FieldDef PRIS12 = fields::Decimal("PRD:PRIS12", 70, 7, 2);
inline constexpr fields::FieldDef SIDSTEBEV = fields::Long("PRD:SIDSTEBEV", 74);
inline constexpr fields::FieldDef DAGEFRASLAGTNING = fields::Short("PRD:DAGEFRASLAGTNING", 78);
inline constexpr fields::FieldDef HOLDBARTIL = fields::Short("PRD:HOLDBARTIL", 80);
inline constexpr fields::FieldDef DD = fields::Short("PRD:DD", 82);
inline constexpr fields::FieldDef PRODUKTSTATUS = fields::Text("PRD:PRODUKTSTATUS", 84, 20);
inline constexpr fields::FieldDef LAGERSTATUS = fields::Text("PRD:LAGERSTATUS", 104, 20);
inline constexpr fields::FieldDef KUNDEID = fields::Long("PRD:KUNDEID", 124);
inline constexpr fields::FieldDef LEVERANDID = fields::Long("PRD:LEVERANDID", 128);
inline constexpr fields::FieldDef EANNR = fields::ZText("PRD:EANNR", 132, 20);
inline constexpr fields::FieldDef GRUPPE = fields::Text("PRD:GRUPPE", 152, 20);
inline constexpr fields::FieldDef NAVN2 = fields::Text("PRD:NAVN2", 172, 18);

inline constexpr fields::FieldDef kFields[] = {
    PRODUKTID,
    PRODUKTNAVN,
    TYPE,
    PRIS1,
    PRIS2,
    PRIS3,
    PRIS4,
    PRIS5,
    PRIS6,
    PRIS7,
    PRIS8,
    PRIS9,
    PRIS10,
    PRIS11,
    PRIS12,
    SIDSTEBEV,
    DAGEFRASLAGTNING,
    HOLDBARTIL,
    DD,
    PRODUKTSTATUS,
    LAGERSTATUS,
    KUNDEID,
    LEVERANDID,
    EANNR,
    GRUPPE,
    NAVN2,
};

inline constexpr storage::KeyDef kKeys[] = {
    {.label = "PRd:VareKey", .components = {TYPE.name}},
    {.label = "PRd:IDKey", .components = {PRODUKTID.name}, .unique = true, .primary = true},
    {.label = "PRd:NavneKey", .components = {PRODUKTNAVN.name}},
    {.label = "PRd:Gruppekey", .components = {GRUPPE.name, TYPE.name}},
};
inline constexpr std::size_t kVareKey = 0;
inline constexpr std::size_t kIDKey = 1;
inline constexpr std::size_t kNavneKey = 2;
inline constexpr std::size_t kGruppekey = 3;

inline constexpr storage::MemoDef kMemos[] = {{"PRd:Bem", 200}};
inline constexpr std::size_t kBem = 0;

inline constexpr storage::FileSchema kSchema{kLabel,  kPrefix, kDiskName, kRecordLength,
                                             kFields, kKeys,   kMemos};

static_assert(std::size(kFields) == 26 && std::size(kKeys) == 4);
static_assert(fields::IsContiguousLayout(kFields, kRecordLength));
static_assert(storage::KeysReferToFields(kKeys, kFields));

}  // namespace paltrix::records::produkt_extended
