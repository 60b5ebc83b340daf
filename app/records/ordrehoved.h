#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string_view>

#include "framework/fields/field_types.h"
#include "framework/storage/schema.h"

// Order headers (declared; not read or written by the program). Parent of
// Ordrelinier, child of Adresser.
namespace paltrix::records::ordrehoved {

inline constexpr std::string_view kLabel = "Ordrehoved";
inline constexpr std::string_view kPrefix = "ORD";
inline constexpr std::string_view kDiskName = "data\\ordrehov.tps";
inline constexpr std::uint32_t kRecordLength = 242;

inline constexpr fields::FieldDef KUNDEID = fields::Text("ORD:KUNDEID", 0, 12);
inline constexpr fields::FieldDef ORDRENUMMER = fields::Long("ORD:ORDRENUMMER", 12);
inline constexpr fields::FieldDef ORDREDATO = fields::Date("ORD:ORDREDATO", 16);
inline constexpr fields::FieldDef MODTAGETAF = fields::Text("ORD:MODTAGETAF", 20, 6);
inline constexpr fields::FieldDef MODTAGER = fields::Text("ORD:MODTAGER", 26, 30);
inline constexpr fields::FieldDef LEVERINGSADR = fields::Text("ORD:LEVERINGSADR", 56, 30);
inline constexpr fields::FieldDef LEVERINGSADR2 = fields::Text("ORD:LEVERINGSADR2", 86, 30);
inline constexpr fields::FieldDef BYNAVN = fields::Text("ORD:BYNAVN", 116, 20);
inline constexpr fields::FieldDef REKVISITION = fields::Text("ORD:REKVISITION", 136, 30);
inline constexpr fields::FieldDef LEVERINGSPOSTNR = fields::Long("ORD:LEVERINGSPOSTNR", 166);
inline constexpr fields::FieldDef ORDRETYPE = fields::Byte("ORD:ORDRETYPE", 170);
inline constexpr fields::FieldDef SHIPPING = fields::Text("ORD:SHIPPING", 171, 24);
inline constexpr fields::FieldDef ORDRESTATUS = fields::Byte("ORD:ORDRESTATUS", 195);
inline constexpr fields::FieldDef AFSENDESMED = fields::Byte("ORD:AFSENDESMED", 196);
inline constexpr fields::FieldDef FAKTURANR = fields::Long("ORD:FAKTURANR", 197);
inline constexpr fields::FieldDef FOLGENR = fields::Long("ORD:FOLGENR", 201);
inline constexpr fields::FieldDef UDSKRIVES = fields::Byte("ORD:UDSKRIVES", 205);
inline constexpr fields::FieldDef FAKTURADATO = fields::Date("ORD:FAKTURADATO", 206);
inline constexpr fields::FieldDef UDSKREVET = fields::Byte("ORD:UDSKREVET", 210);
inline constexpr fields::FieldDef NB = fields::Text("ORD:NB", 211, 20);
inline constexpr fields::FieldDef SLUTDATO = fields::Date("ORD:SLUTDATO", 231);
inline constexpr fields::FieldDef INTERNORDRE = fields::Byte("ORD:INTERNORDRE", 235);
inline constexpr fields::FieldDef ANSVARLIG = fields::Text("ORD:ANSVARLIG", 236, 6);

inline constexpr fields::FieldDef kFields[] = {
    KUNDEID,       ORDRENUMMER, ORDREDATO,   MODTAGETAF,      MODTAGER,  LEVERINGSADR,
    LEVERINGSADR2, BYNAVN,      REKVISITION, LEVERINGSPOSTNR, ORDRETYPE, SHIPPING,
    ORDRESTATUS,   AFSENDESMED, FAKTURANR,   FOLGENR,         UDSKRIVES, FAKTURADATO,
    UDSKREVET,     NB,          SLUTDATO,    INTERNORDRE,     ANSVARLIG,
};

inline constexpr storage::KeyDef kKeys[] = {
    {.label = "ORD:KeyKundeid", .components = {KUNDEID.name}},
    {.label = "ORD:KeyOrdrenummer",
     .components = {ORDRENUMMER.name},
     .unique = true,
     .primary = true},
    {.label = "ORD:Statuskey", .components = {ORDRESTATUS.name}},
    {.label = "ORD:Udskriv", .components = {UDSKRIVES.name, ORDRETYPE.name, ORDRESTATUS.name}},
    {.label = "ORD:KeyKunOrd", .components = {KUNDEID.name, ORDRESTATUS.name}},
};
inline constexpr std::size_t kKeyKundeid = 0;
inline constexpr std::size_t kKeyOrdrenummer = 1;
inline constexpr std::size_t kStatuskey = 2;
inline constexpr std::size_t kUdskriv = 3;
inline constexpr std::size_t kKeyKunOrd = 4;

inline constexpr storage::MemoDef kMemos[] = {
    {"ORD:Fejlbeskrivelse", 200},
    {"ORD:Folgetekst", 512},
};
inline constexpr std::size_t kFejlbeskrivelse = 0;
inline constexpr std::size_t kFolgetekst = 1;

inline constexpr storage::FileSchema kSchema{kLabel,  kPrefix, kDiskName, kRecordLength,
                                             kFields, kKeys,   kMemos};

static_assert(std::size(kFields) == 23 && std::size(kKeys) == 5);
static_assert(fields::IsContiguousLayout(kFields, kRecordLength));
static_assert(storage::KeysReferToFields(kKeys, kFields));

}  // namespace paltrix::records::ordrehoved
