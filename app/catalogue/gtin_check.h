#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace paltrix::catalogue {

// What the product form's GTIN check makes of an entered PRO:EANNR.
struct GtinCheck {
  std::string entered;  // without surrounding blanks
  // The kind named in the question's title: "UPC" (12 digits), "GTIN" (13),
  // "EAN-14/SCC/DUN" (14); empty for any other length.
  std::string kind;
  // The digits used followed by their GS1 check digit; nullopt for a length
  // other than 12, 13 or 14, which the form reports as not filled in correctly.
  std::optional<std::string> proposed;

  bool lengthAccepted() const { return proposed.has_value(); }
  // True when the operator is to be asked whether to take `proposed`.
  bool offersCorrection() const { return proposed && *proposed != entered; }
};

// A 12-digit UPC gets its check digit appended (13 digits); a 13-digit GTIN
// and a 14-digit EAN-14/SCC/DUN get their last digit checked over the ones
// before it (weights 3 and 1 from the right, GS1 General Specifications 7.9).
GtinCheck CheckGtin(std::string_view entered);

// The texts of the check, as the form shows them.
inline constexpr std::string_view kGtinWrongLength = "GTIN ikke udfyldt korrekt!";
inline constexpr std::string_view kGtinCheckDigitQuestion =
    "Kontrolciffer forkert!\nRet automatisk?";

}  // namespace paltrix::catalogue
