#pragma once

#include <array>
#include <cstdint>
#include <iterator>
#include <string_view>

#include "framework/fields/field_types.h"
#include "framework/storage/schema.h"

// Label-printer, serial-port and scanner settings. "SPTIGER.DAT" is a plain
// file holding exactly this 188-byte image at offset 0: no header, no keys,
// so the offsets below are the file format (see printer_file.h).
namespace paltrix::records::printer {

inline constexpr std::string_view kLabel = "Printer";
inline constexpr std::string_view kPrefix = "PRI";
inline constexpr std::string_view kDiskName = "SPTIGER.DAT";
inline constexpr std::uint32_t kRecordLength = 188;

inline constexpr fields::FieldDef BAUDRATE = fields::Long("PRI:BAUDRATE", 0);
inline constexpr fields::FieldDef WTOK = fields::Byte("PRI:WTOK", 4);
inline constexpr fields::FieldDef DOTS = fields::Long("PRI:DOTS", 5);  // 8 or 12 dots per mm
inline constexpr fields::FieldDef PRINTER = fields::Text("PRI:PRINTER", 9, 20);  // label format
inline constexpr fields::FieldDef KT = fields::Short("PRI:KT", 29);  // darkness -30..+30
inline constexpr fields::FieldDef XS = fields::Short("PRI:XS", 31);
inline constexpr fields::FieldDef SP = fields::Short("PRI:SP", 33);
inline constexpr fields::FieldDef OM = fields::Short("PRI:OM", 35);
inline constexpr fields::FieldDef PARITY = fields::Text("PRI:PARITY", 37, 4);
inline constexpr fields::FieldDef DATA = fields::Text("PRI:DATA", 41, 1);
inline constexpr fields::FieldDef STOP = fields::Text("PRI:STOP", 42, 1);
inline constexpr fields::FieldDef PORT = fields::Text("PRI:PORT", 43, 5);
inline constexpr fields::FieldDef STINAVN = fields::ZText("PRI:STINAVN", 48, 60);
inline constexpr fields::FieldDef ANTALDETLAB = fields::Byte("PRI:ANTALDETLAB", 108);
inline constexpr fields::FieldDef ANTALTOTLAB = fields::Byte("PRI:ANTALTOTLAB", 109);
inline constexpr fields::FieldDef DENSITY = fields::Byte("PRI:DENSITY", 110);
inline constexpr fields::FieldDef XSTART = fields::Short("PRI:XSTART", 111);
inline constexpr fields::FieldDef YSTART = fields::Short("PRI:YSTART", 113);
inline constexpr fields::FieldDef SPEED = fields::Text("PRI:SPEED", 115, 20);
inline constexpr fields::FieldDef ZEBRASPEED = fields::Text("PRI:ZEBRASPEED", 135, 20);
inline constexpr fields::FieldDef TEST = fields::Byte("PRI:TEST", 155);
inline constexpr fields::FieldDef UBION = fields::Byte("PRI:UBION", 156);
inline constexpr fields::FieldDef BAUDUBI = fields::Long("PRI:BAUDUBI", 157);
inline constexpr fields::FieldDef PARITUBI = fields::Text("PRI:PARITUBI", 161, 4);
inline constexpr fields::FieldDef DATAUBI = fields::Text("PRI:DATAUBI", 165, 1);
inline constexpr fields::FieldDef STOPUBI = fields::Text("PRI:STOPUBI", 166, 1);
inline constexpr fields::FieldDef PORTUBI = fields::Text("PRI:PORTUBI", 167, 5);
inline constexpr fields::FieldDef SKAON = fields::Byte("PRI:SKAON", 172);
inline constexpr fields::FieldDef BAUDSKA = fields::Long("PRI:BAUDSKA", 173);
inline constexpr fields::FieldDef PARITSKA = fields::Text("PRI:PARITSKA", 177, 4);
inline constexpr fields::FieldDef DATASKA = fields::Text("PRI:DATASKA", 181, 1);
inline constexpr fields::FieldDef STOPSKA = fields::Text("PRI:STOPSKA", 182, 1);
inline constexpr fields::FieldDef PORTSKA = fields::Text("PRI:PORTSKA", 183, 5);

inline constexpr fields::FieldDef kFields[] = {
    BAUDRATE, WTOK,       DOTS,     PRINTER, KT,          XS,          SP,      OM,      PARITY,
    DATA,     STOP,       PORT,     STINAVN, ANTALDETLAB, ANTALTOTLAB, DENSITY, XSTART,  YSTART,
    SPEED,    ZEBRASPEED, TEST,     UBION,   BAUDUBI,     PARITUBI,    DATAUBI, STOPUBI, PORTUBI,
    SKAON,    BAUDSKA,    PARITSKA, DATASKA, STOPSKA,     PORTSKA,
};

inline constexpr std::array<storage::KeyDef, 0> kKeys{};
inline constexpr std::array<storage::MemoDef, 0> kMemos{};

// Describes the image only; the file is never opened by the storage engine.
inline constexpr storage::FileSchema kSchema{kLabel,  kPrefix, kDiskName, kRecordLength,
                                             kFields, kKeys,   kMemos};

static_assert(std::size(kFields) == 33);
static_assert(fields::IsContiguousLayout(kFields, kRecordLength));

}  // namespace paltrix::records::printer
