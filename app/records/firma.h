#pragma once

#include <array>
#include <cstdint>
#include <iterator>
#include <string_view>

#include "framework/fields/field_types.h"
#include "framework/storage/schema.h"

// The sending company: one record, read as the first record in physical order
// and written back by its record number. The file has no keys.
namespace paltrix::records::firma {

inline constexpr std::string_view kLabel = "Firma";
inline constexpr std::string_view kPrefix = "FIR";
inline constexpr std::string_view kDiskName = "DATA\\DFIRMA.DAT";
inline constexpr std::uint32_t kRecordLength = 207;

// FIR:SS is printed with 9 digits in every SSCC.
inline constexpr std::int32_t kLargestSerial = 999'999'999;

inline constexpr fields::FieldDef NAVN = fields::Text("FIR:NAVN", 0, 35);
inline constexpr fields::FieldDef ANTALPALLER = fields::Long("FIR:ANTALPALLER", 35);
inline constexpr fields::FieldDef SSCC = fields::ZText("FIR:SSCC", 39, 20);
inline constexpr fields::FieldDef SS = fields::Long("FIR:SS", 59);
inline constexpr fields::FieldDef SSCCNR = fields::Long("FIR:SSCCNR", 63);
inline constexpr fields::FieldDef ADRESSE1 = fields::Text("FIR:ADRESSE1", 67, 35);
inline constexpr fields::FieldDef ADRESSE2 = fields::Text("FIR:ADRESSE2", 102, 35);
inline constexpr fields::FieldDef POSTNR = fields::Short("FIR:POSTNR", 137);
inline constexpr fields::FieldDef BYNAVN = fields::Text("FIR:BYNAVN", 139, 20);
inline constexpr fields::FieldDef TELEFON = fields::Text("FIR:TELEFON", 159, 20);
inline constexpr fields::FieldDef FAX = fields::Text("FIR:FAX", 179, 20);
inline constexpr fields::FieldDef ETIKETANTAL = fields::Long("FIR:ETIKETANTAL", 199);
inline constexpr fields::FieldDef TOTALANTAL = fields::Long("FIR:TOTALANTAL", 203);

inline constexpr fields::FieldDef kFields[] = {
    NAVN,   ANTALPALLER, SSCC,    SS,  SSCCNR,      ADRESSE1,   ADRESSE2,
    POSTNR, BYNAVN,      TELEFON, FAX, ETIKETANTAL, TOTALANTAL,
};

inline constexpr std::array<storage::KeyDef, 0> kKeys{};
inline constexpr std::array<storage::MemoDef, 0> kMemos{};

inline constexpr storage::FileSchema kSchema{kLabel,  kPrefix, kDiskName, kRecordLength,
                                             kFields, kKeys,   kMemos};

static_assert(std::size(kFields) == 13);
static_assert(fields::IsContiguousLayout(kFields, kRecordLength));

}  // namespace paltrix::records::firma
