#pragma once

#include <string_view>

// The three A5 label reports and the page formats that print them.
namespace paltrix::a5 {

enum class A5Report {
  kStandard,  // "Standard": every item, three barcodes
  kSimple,    // "Standard_simple" (format "Limited"): no weight, batch or date
  kMix,       // "Standard_mix" (format "Mixed"): only the SSCC barcode
};

// "Standard", "Standard_simple", "Standard_mix".
std::string_view ReportName(A5Report report);

}  // namespace paltrix::a5
