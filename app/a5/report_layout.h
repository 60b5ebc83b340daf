#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "app/a5/a5_report.h"

// The page layouts of the three A5 reports as data: where each text, caption,
// barcode and ruled line goes. Positions are millimetres from the top left of
// the detail band, which sits kBandTop below the top of an A5 page (148 x
// 210 mm, portrait); negative values lie above the band. Font Arial
// throughout: values bold, captions normal at 10 points; texts are left-aligned
// and centred vertically in their rectangles.
namespace paltrix::a5 {

inline constexpr double kPageWidthMm = 148.0;
inline constexpr double kPageHeightMm = 210.0;
inline constexpr double kBandTopMm = 12.0;

struct MmRect {
  double x = 0;
  double y = 0;
  double width = 0;
  double height = 0;
  friend bool operator==(const MmRect&, const MmRect&) = default;
};

// The page text an item shows; kCaption shows the item's fixed caption.
enum class PageField {
  kCaption,
  kCompany,
  kAddress,
  kPhone,
  kProduct,
  kDescription,
  kSscc,
  kCount,
  kGtin,
  kOrderNumber,
  kWeight,
  kBatch,
  kBestBefore,
  kLine1,
  kLine2,
  kLine3,
};

// When an item is left off the page.
enum class HideWhen { kNever, kNoWeight, kNoBestBefore, kNoBatch, kOrderNumberZero };

struct TextItem {
  PageField field = PageField::kCaption;
  std::string_view caption;  // Windows-1252; for kCaption only
  MmRect rect;
  int pointSize = 10;
  bool bold = false;
  HideWhen hideWhen = HideWhen::kNever;
};

enum class BarcodeField { kFirst, kSecond, kSscc };

// A barcode control: the engine lays the symbol out inside its rectangle,
// above the barcode's human-readable line. A fixed module width of 0 takes
// the module width from the control's width.
struct BarcodeItem {
  BarcodeField field = BarcodeField::kFirst;
  MmRect rect;
  std::int16_t moduleWidthThousandths = 0;
};

struct ReportLayout {
  std::span<const TextItem> texts;
  std::span<const BarcodeItem> barcodes;
  std::span<const double> rulesY;  // ruled lines across the band, from x 7 to 141
};

inline constexpr double kRuleLeftMm = 7.0;
inline constexpr double kRuleRightMm = 141.0;

const ReportLayout& LayoutOf(A5Report report);

}  // namespace paltrix::a5
