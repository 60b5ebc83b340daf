#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The label format held in PRI:PRINTER and the choice of label procedure that
// the print windows and the catalogue's direct print make from it.
namespace paltrix::dispatch {

enum class LabelFormat { kZpl4Inch, kZpl6Inch, kStandard, kLimited, kMixed, kUnknown };

// The stored names: the two ZPL formats end with an inch mark (one '"').
inline constexpr std::string_view kZpl4InchName = "ZPL 4\"";
inline constexpr std::string_view kZpl6InchName = "ZPL 6\"";
inline constexpr std::string_view kStandardName = "Standard";
inline constexpr std::string_view kLimitedName = "Limited";
inline constexpr std::string_view kMixedName = "Mixed";

// PRI:PRINTER compared, after trailing blanks are removed, with the five names.
LabelFormat ParseLabelFormat(std::string_view storedName);

// The stored name of a format; empty for kUnknown.
std::string_view StoredName(LabelFormat format);

// The name the print-activity report carries: the inch mark removed for the
// two ZPL formats ("ZPL 4", "ZPL 6"), any other stored text unchanged.
std::string ReportedFormatName(std::string_view storedName);

// Label types chosen in the catalogue.
enum class LabelType : std::uint8_t { kPallet = 0, kCase = 1, kMixedPallet = 2, kEanItem = 3 };

enum class LabelProcedure {
  kNothing,
  kPalletLabel4,
  kPalletLabel4Fine,
  kPalletLabel4Compact,
  kCaseLabel4,
  kMixedPalletLabel,
  kEanItemLabel,
  kPalletLabel6,
  kPalletLabel6Fine,
  kA5Standard,
  kA5Limited,
  kA5Mixed,
};

// Where the print was started: the print dialog, the mixed-pallet window, or
// the catalogue's direct print (F6).
enum class DispatchVariant { kDialog, kMixedWindow, kDirect };

// The label procedure a print runs. PRI:DOTS = 12 selects the 12 dots/mm
// layouts; label type values outside 0..3 print nothing.
LabelProcedure ChooseLabelProcedure(DispatchVariant variant, LabelFormat format, std::int32_t dots,
                                    std::uint8_t labelType);

// The procedure's own name, for messages and the command line.
std::string_view ProcedureName(LabelProcedure procedure);

}  // namespace paltrix::dispatch
