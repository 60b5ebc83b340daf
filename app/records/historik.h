#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string_view>

#include "framework/fields/field_types.h"
#include "framework/storage/schema.h"

// History of weighed and printed items (declared; the program itself does
// not read or write it). Child of Produkt, Bruger and Adresser.
namespace paltrix::records::historik {

inline constexpr std::string_view kLabel = "HISTORIK";
inline constexpr std::string_view kPrefix = "HIS";
inline constexpr std::string_view kDiskName = "data\\historik.dat";
inline constexpr std::uint32_t kRecordLength = 102;

inline constexpr fields::FieldDef PRODUKTID = fields::Long("HIS:PRODUKTID", 0);
inline constexpr fields::FieldDef DATO = fields::Date("HIS:DATO", 4);
inline constexpr fields::FieldDef ORDRE = fields::Long("HIS:ORDRE", 8);
inline constexpr fields::FieldDef STARTTID = fields::Long("HIS:STARTTID", 12);
inline constexpr fields::FieldDef VAEGTIALT = fields::Decimal("HIS:VAEGTIALT", 16, 9, 2);
inline constexpr fields::FieldDef SSCC = fields::ZText("HIS:SSCC", 21, 20);
inline constexpr fields::FieldDef BRUGER = fields::Text("HIS:BRUGER", 41, 4);
inline constexpr fields::FieldDef UDSKREVET = fields::Byte("HIS:UDSKREVET", 45);
inline constexpr fields::FieldDef VEJEID = fields::Long("HIS:VEJEID", 46);
inline constexpr fields::FieldDef NAVN = fields::Text("HIS:NAVN", 50, 20);
inline constexpr fields::FieldDef SLGDATO = fields::Date("HIS:SLGDATO", 70);
inline constexpr fields::FieldDef MHT = fields::Long("HIS:MHT", 74);
inline constexpr fields::FieldDef KUNDENR = fields::Text("HIS:KUNDENR", 78, 10);
inline constexpr fields::FieldDef VARENR = fields::Long("HIS:VARENR", 88);
inline constexpr fields::FieldDef PAKKETAL = fields::Long("HIS:PAKKETAL", 92);
inline constexpr fields::FieldDef DELLEV = fields::Text("HIS:DELLEV", 96, 1);
inline constexpr fields::FieldDef UDLEVERET = fields::Decimal("HIS:UDLEVERET", 97, 9, 2);

inline constexpr fields::FieldDef kFields[] = {
    PRODUKTID, DATO,    ORDRE, STARTTID, VAEGTIALT, SSCC,     BRUGER, UDSKREVET, VEJEID,
    NAVN,      SLGDATO, MHT,   KUNDENR,  VARENR,    PAKKETAL, DELLEV, UDLEVERET,
};

inline constexpr storage::KeyDef kKeys[] = {
    {.label = "HIS:ProdukNrKey", .components = {PRODUKTID.name}},
    {.label = "HIS:VejeIdKey", .components = {VEJEID.name}},
    {.label = "HIS:DatoIdkey", .components = {DATO.name, PRODUKTID.name}},
    {.label = "HIS:FakturaKey", .components = {SSCC.name}},
    {.label = "HIS:Brugekey", .components = {BRUGER.name}},
    {.label = "HIS:UdKey", .components = {UDSKREVET.name}},
    {.label = "HIS:Telefonkey", .components = {KUNDENR.name}},
    {.label = "HIS:VarenrKey", .components = {VARENR.name, DATO.name}},
};
inline constexpr std::size_t kProdukNrKey = 0;
inline constexpr std::size_t kVejeIdKey = 1;
inline constexpr std::size_t kDatoIdkey = 2;
inline constexpr std::size_t kFakturaKey = 3;
inline constexpr std::size_t kBrugekey = 4;
inline constexpr std::size_t kUdKey = 5;
inline constexpr std::size_t kTelefonkey = 6;
inline constexpr std::size_t kVarenrKey = 7;

inline constexpr storage::MemoDef kMemos[] = {{"HIS:Bem", 200}};
inline constexpr std::size_t kBem = 0;

inline constexpr storage::FileSchema kSchema{kLabel,  kPrefix, kDiskName, kRecordLength,
                                             kFields, kKeys,   kMemos};

static_assert(std::size(kFields) == 17 && std::size(kKeys) == 8);
static_assert(fields::IsContiguousLayout(kFields, kRecordLength));
static_assert(storage::KeysReferToFields(kKeys, kFields));

}  // namespace paltrix::records::historik
