#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/a5/page_content.h"
#include "app/a5/report_layout.h"

// One A5 page ready to paint: the layout of its report filled with the
// page's content, hidden items left out, positions in millimetres from the
// top left of the page.
namespace paltrix::a5 {

struct PlacedText {
  MmRect rect;
  std::string text;  // Windows-1252, never empty
  int pointSize = 10;
  bool bold = false;
  friend bool operator==(const PlacedText&, const PlacedText&) = default;
};

struct PlacedBarcode {
  std::size_t control = 0;  // index of the barcode control in the report's layout
  MmRect rect;
  std::string data;  // engine data: FNC1 as byte 201
  std::int16_t moduleWidthThousandths = 0;
};

struct PagePlan {
  std::vector<PlacedText> texts;
  std::vector<PlacedBarcode> barcodes;
  std::vector<double> rulesY;  // from kRuleLeftMm to kRuleRightMm
};

PagePlan PlanPage(A5Report report, const PageContent& content);

}  // namespace paltrix::a5
