#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string_view>

#include "app/records/produkt.h"
#include "framework/fields/field_types.h"
#include "framework/storage/schema.h"

// The product file as the program kept it before PRO:BRUGORDREID (order number
// in the barcode) was added: ten fields, 214 bytes, read only by `convert`.
// The field names carry no prefix; each field has the type, offset and size of
// the current Produkt field of the same name, which the asserts below prove,
// so a record converts field by field without any reinterpretation.
namespace paltrix::convert::old_produkt {

inline constexpr std::string_view kLabel = "PRODUKT";
inline constexpr std::string_view kDiskName = records::produkt::kDiskName;
inline constexpr std::uint32_t kRecordLength = 214;

inline constexpr fields::FieldDef PRODUKTID = fields::ZText("PRODUKTID", 0, 20);
inline constexpr fields::FieldDef PRODUKTNAVN = fields::Text("PRODUKTNAVN", 20, 50);
inline constexpr fields::FieldDef NAVN2 = fields::Text("NAVN2", 70, 30);
inline constexpr fields::FieldDef EANNR = fields::ZText("EANNR", 100, 20);
inline constexpr fields::FieldDef HOLDBARHEDSDAGE = fields::Short("HOLDBARHEDSDAGE", 120);
inline constexpr fields::FieldDef ANTALPRKOLLIE = fields::Text("ANTALPRKOLLIE", 122, 60);
inline constexpr fields::FieldDef ANTALPRPALLE = fields::Long("ANTALPRPALLE", 182);
inline constexpr fields::FieldDef HOLDBARTIL = fields::Date("HOLDBARTIL", 186);
inline constexpr fields::FieldDef NETTOVAEGT = fields::Decimal("NETTOVAEGT", 190, 7, 3);
inline constexpr fields::FieldDef BATCHNR = fields::ZText("BATCHNR", 194, 20);

inline constexpr fields::FieldDef kFields[] = {
    PRODUKTID,     PRODUKTNAVN,  NAVN2,      EANNR,      HOLDBARHEDSDAGE,
    ANTALPRKOLLIE, ANTALPRPALLE, HOLDBARTIL, NETTOVAEGT, BATCHNR,
};

inline constexpr storage::KeyDef kKeys[] = {
    {.label = "IDKEY", .components = {PRODUKTID.name}, .unique = true, .primary = true},
    {.label = "NAVNEKEY", .components = {PRODUKTNAVN.name}},
};

inline constexpr std::array<storage::MemoDef, 0> kMemos{};

inline constexpr storage::FileSchema kSchema{kLabel,  "",    kDiskName, kRecordLength,
                                             kFields, kKeys, kMemos};

// Where each old field goes: the current field of the same name.
struct FieldMapping {
  fields::FieldDef from;
  fields::FieldDef to;
};

inline constexpr FieldMapping kMappings[] = {
    {PRODUKTID, records::produkt::PRODUKTID},
    {PRODUKTNAVN, records::produkt::PRODUKTNAVN},
    {NAVN2, records::produkt::NAVN2},
    {EANNR, records::produkt::EANNR},
    {HOLDBARHEDSDAGE, records::produkt::HOLDBARHEDSDAGE},
    {ANTALPRKOLLIE, records::produkt::ANTALPRKOLLIE},
    {ANTALPRPALLE, records::produkt::ANTALPRPALLE},
    {HOLDBARTIL, records::produkt::HOLDBARTIL},
    {NETTOVAEGT, records::produkt::NETTOVAEGT},
    {BATCHNR, records::produkt::BATCHNR},
};

constexpr bool MappingsKeepEveryField() {
  if (std::size(kMappings) != std::size(kFields)) return false;
  for (std::size_t i = 0; i < std::size(kMappings); ++i) {
    const FieldMapping& mapping = kMappings[i];
    const std::string_view newName = mapping.to.name.substr(records::produkt::kPrefix.size() + 1);
    if (mapping.from.name != kFields[i].name || mapping.from.name != newName ||
        mapping.from.type != mapping.to.type || mapping.from.offset != mapping.to.offset ||
        mapping.from.size != mapping.to.size || mapping.from.digits != mapping.to.digits ||
        mapping.from.places != mapping.to.places) {
      return false;
    }
  }
  return true;
}

static_assert(std::size(kFields) == 10 && std::size(kKeys) == 2);
static_assert(fields::IsContiguousLayout(kFields, kRecordLength));
static_assert(storage::KeysReferToFields(kKeys, kFields));
static_assert(MappingsKeepEveryField());
// The one field the current layout adds comes after all the old ones.
static_assert(records::produkt::BRUGORDREID.offset == kRecordLength &&
              records::produkt::kRecordLength == kRecordLength + 1);

}  // namespace paltrix::convert::old_produkt
