#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string_view>

#include "framework/fields/field_types.h"
#include "framework/storage/schema.h"

// Customer addresses (declared; not read or written by the program). Parent
// of Ordrehoved and HISTORIK, child of Prisgrp.
namespace paltrix::records::adresser {

inline constexpr std::string_view kLabel = "Adresser";
inline constexpr std::string_view kPrefix = "ADR";
inline constexpr std::string_view kDiskName = "ADRESSER";
inline constexpr std::uint32_t kRecordLength = 148;

inline constexpr fields::FieldDef TELEFON = fields::Text("ADR:TELEFON", 0, 12);
inline constexpr fields::FieldDef NAVN = fields::Text("ADR:NAVN", 12, 30);
inline constexpr fields::FieldDef ADRESSE1 = fields::Text("ADR:ADRESSE1", 42, 30);
inline constexpr fields::FieldDef ADRESSE2 = fields::Text("ADR:ADRESSE2", 72, 30);
inline constexpr fields::FieldDef POSTNR = fields::Text("ADR:POSTNR", 102, 6);
inline constexpr fields::FieldDef BYNAVN = fields::Text("ADR:BYNAVN", 108, 20);
inline constexpr fields::FieldDef PRISGRUPPE = fields::Text("ADR:PRISGRUPPE", 128, 20);

inline constexpr fields::FieldDef kFields[] = {
    TELEFON, NAVN, ADRESSE1, ADRESSE2, POSTNR, BYNAVN, PRISGRUPPE,
};

inline constexpr storage::KeyDef kKeys[] = {
    {.label = "ADR:KeyTelefon", .components = {TELEFON.name}, .unique = true},
    {.label = "ADR:KeyNavnGrp", .components = {PRISGRUPPE.name, NAVN.name}, .skipsBlanks = true},
    {.label = "ADR:KeyNavn", .components = {NAVN.name}},
    {.label = "ADR:Keyprisgruppe", .components = {PRISGRUPPE.name}},
};
inline constexpr std::size_t kKeyTelefon = 0;
inline constexpr std::size_t kKeyNavnGrp = 1;
inline constexpr std::size_t kKeyNavn = 2;
inline constexpr std::size_t kKeyprisgruppe = 3;

inline constexpr std::array<storage::MemoDef, 0> kMemos{};

inline constexpr storage::FileSchema kSchema{kLabel,  kPrefix, kDiskName, kRecordLength,
                                             kFields, kKeys,   kMemos};

static_assert(std::size(kFields) == 7 && std::size(kKeys) == 4);
static_assert(fields::IsContiguousLayout(kFields, kRecordLength));
static_assert(storage::KeysReferToFields(kKeys, kFields));

}  // namespace paltrix::records::adresser
