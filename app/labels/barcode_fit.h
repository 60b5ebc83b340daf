#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Every Code 128 barcode of a label must lie on the label, with the quiet
// zone the symbology needs after it (ISO/IEC 15417: ten modules), or a
// scanner cannot read it.
namespace paltrix::labels {

// Print widths in dots: 4-inch and 6-inch labels at 8 and 12 dots/mm.
inline constexpr std::int32_t kLabelWidth4Inch8Dots = 812;
inline constexpr std::int32_t kLabelWidth4Inch12Dots = 1219;
inline constexpr std::int32_t kLabelWidth6Inch8Dots = 1219;
inline constexpr std::int32_t kLabelWidth6Inch12Dots = 1828;

inline constexpr std::int32_t kQuietZoneModules = 10;

// `command` (a "^BY" w ... "^FO" x ... "^BC" ... field command) with its
// narrow-bar width lowered to the widest that lets the symbol of `fieldData`
// and its quiet zone end within `labelWidth` dots; unchanged when the symbol
// already fits at w, for other barcodes, and for data that is not ZPL Code
// 128 with a start invocation. Never below 1.
std::string FitBarcodeCommand(std::string_view command, std::string_view fieldData,
                              std::int32_t labelWidth);

}  // namespace paltrix::labels
