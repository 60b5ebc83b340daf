#pragma once

#include <string>

#include "app/labels/label_input.h"

// The company block lines shared by the pallet labels. All are converted to
// the printer's code page (see ToPrinterCodePage).
namespace paltrix::labels {

// "Tlf.: " phone, then " Fax: " fax; "Fax: " fax alone when there is no
// phone; empty when both are blank.
std::string PhoneLine(const SenderData& sender);

// First address line, then ", " and the second when that is not blank.
std::string AddressLine(const SenderData& sender);

// Postal code, " ", town.
std::string TownLine(const SenderData& sender);

}  // namespace paltrix::labels
