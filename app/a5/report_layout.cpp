#include "app/a5/report_layout.h"

namespace paltrix::a5 {
namespace {

constexpr TextItem Value(PageField field, MmRect rect, int pointSize,
                         HideWhen hideWhen = HideWhen::kNever) {
  return {.field = field,
          .caption = {},
          .rect = rect,
          .pointSize = pointSize,
          .bold = true,
          .hideWhen = hideWhen};
}

// A caption on the 4.5 mm just above the value it names.
constexpr TextItem CaptionAbove(std::string_view caption, MmRect value,
                                HideWhen hideWhen = HideWhen::kNever) {
  return {.field = PageField::kCaption,
          .caption = caption,
          .rect = {value.x, value.y - 4.5, value.width, 4.5},
          .pointSize = 10,
          .bold = false,
          .hideWhen = hideWhen};
}

// Company, address, phone, product and description: the same on every report.
constexpr TextItem kCompany = Value(PageField::kCompany, {10, -5, 130, 9}, 18);
constexpr TextItem kAddress = Value(PageField::kAddress, {10, 2, 130, 7}, 14);
constexpr TextItem kPhone = Value(PageField::kPhone, {13, 8, 124, 6}, 10);
constexpr TextItem kProduct = Value(PageField::kProduct, {10, 12, 131, 10}, 18);
constexpr TextItem kDescription = Value(PageField::kDescription, {10, 20, 129, 7}, 12);

constexpr MmRect kSsccRect{10, 32, 62, 8};

// --- "Standard" ---------------------------------------------------------
constexpr MmRect kStandardCount{115, 32, 25, 7};
constexpr MmRect kStandardGtin{10, 43, 52, 7};
constexpr MmRect kStandardOrder{87, 43, 53, 8};
constexpr MmRect kStandardWeight{7, 54, 23, 7};
constexpr MmRect kStandardBatch{87, 54, 53, 7};
constexpr MmRect kStandardDate{10, 64, 34, 7};

constexpr TextItem kStandardTexts[] = {
    kCompany,
    kAddress,
    kPhone,
    kProduct,
    kDescription,
    CaptionAbove("SSCC", kSsccRect),
    Value(PageField::kSscc, kSsccRect, 16),
    CaptionAbove("Antal", kStandardCount),
    Value(PageField::kCount, kStandardCount, 16),
    CaptionAbove("GTIN", kStandardGtin),
    Value(PageField::kGtin, kStandardGtin, 16),
    CaptionAbove("Ordre nr.", kStandardOrder, HideWhen::kOrderNumberZero),
    Value(PageField::kOrderNumber, kStandardOrder, 16),
    CaptionAbove("Netto v\xE6gt", {7, 54, 40, 7}, HideWhen::kNoWeight),
    Value(PageField::kWeight, kStandardWeight, 16, HideWhen::kNoWeight),
    {.field = PageField::kCaption,
     .caption = "kg.",
     .rect = {31, 54, 10, 7},
     .pointSize = 10,
     .bold = false,
     .hideWhen = HideWhen::kNoWeight},
    CaptionAbove("Batch nr.", kStandardBatch, HideWhen::kNoBatch),
    Value(PageField::kBatch, kStandardBatch, 16, HideWhen::kNoBatch),
    CaptionAbove("MHT", kStandardDate, HideWhen::kNoBestBefore),
    Value(PageField::kBestBefore, kStandardDate, 16, HideWhen::kNoBestBefore),
    Value(PageField::kLine1, {14, 100, 124, 6}, 10),
    Value(PageField::kLine2, {13, 134, 124, 6}, 10),
    Value(PageField::kLine3, {13, 173, 124, 6}, 10),
};

// The SSCC symbol is drawn by two controls stacked into one tall symbol.
constexpr BarcodeItem kStandardBarcodes[] = {
    {.field = BarcodeField::kFirst, .rect = {14, 76, 124, 23}, .moduleWidthThousandths = 0},
    {.field = BarcodeField::kSecond, .rect = {13, 110, 124, 23}, .moduleWidthThousandths = 0},
    {.field = BarcodeField::kSscc, .rect = {13, 141, 124, 16}, .moduleWidthThousandths = 26},
    {.field = BarcodeField::kSscc, .rect = {13, 156.5, 124, 16}, .moduleWidthThousandths = 26},
};

constexpr double kStandardRules[] = {27.5, 73};

// --- "Standard_simple" --------------------------------------------------
constexpr MmRect kSimpleGtin{10, 45, 52, 7};
constexpr MmRect kSimpleCount{9, 58, 25, 7};
constexpr MmRect kSimpleOrder{10, 72, 53, 8};

constexpr TextItem kSimpleTexts[] = {
    kCompany,
    kAddress,
    kPhone,
    kProduct,
    kDescription,
    CaptionAbove("SSCC", kSsccRect),
    Value(PageField::kSscc, kSsccRect, 16),
    CaptionAbove("GTIN", kSimpleGtin),
    Value(PageField::kGtin, kSimpleGtin, 16),
    CaptionAbove("Antal", kSimpleCount),
    Value(PageField::kCount, kSimpleCount, 16),
    CaptionAbove("Ordre nr.", kSimpleOrder, HideWhen::kOrderNumberZero),
    Value(PageField::kOrderNumber, kSimpleOrder, 16),
    Value(PageField::kLine1, {14, 124, 124, 6}, 10),
    Value(PageField::kLine3, {13, 170, 124, 6}, 10),
};

constexpr BarcodeItem kSimpleBarcodes[] = {
    {.field = BarcodeField::kFirst, .rect = {14, 88, 124, 35}, .moduleWidthThousandths = 0},
    {.field = BarcodeField::kSscc, .rect = {13, 131, 124, 19}, .moduleWidthThousandths = 26},
    {.field = BarcodeField::kSscc, .rect = {13, 150, 124, 19}, .moduleWidthThousandths = 26},
};

constexpr double kSimpleRules[] = {27.5, 83};

// --- "Standard_mix" -----------------------------------------------------
constexpr MmRect kMixCount{9, 47, 25, 7};
constexpr MmRect kMixGtin{90, 56, 52, 7};
constexpr MmRect kMixOrder{10, 63, 53, 8};

constexpr TextItem kMixTexts[] = {
    kCompany,
    kAddress,
    kPhone,
    kProduct,
    kDescription,
    CaptionAbove("SSCC", kSsccRect),
    Value(PageField::kSscc, kSsccRect, 16),
    CaptionAbove("Antal", kMixCount),
    Value(PageField::kCount, kMixCount, 16),
    CaptionAbove("GTIN", kMixGtin),
    Value(PageField::kGtin, kMixGtin, 16),
    CaptionAbove("Ordre nr.", kMixOrder, HideWhen::kOrderNumberZero),
    Value(PageField::kOrderNumber, kMixOrder, 16),
    Value(PageField::kLine3, {13, 170, 124, 6}, 10),
};

// With (400) the SSCC symbol is too long for a fixed 0.026 inch module, so
// its module width follows the control.
constexpr BarcodeItem kMixBarcodes[] = {
    {.field = BarcodeField::kSscc, .rect = {13, 131, 124, 19}, .moduleWidthThousandths = 0},
    {.field = BarcodeField::kSscc, .rect = {13, 150, 124, 19}, .moduleWidthThousandths = 0},
};

constexpr double kMixRules[] = {27.5, 74};

constexpr ReportLayout kStandardLayout{kStandardTexts, kStandardBarcodes, kStandardRules};
constexpr ReportLayout kSimpleLayout{kSimpleTexts, kSimpleBarcodes, kSimpleRules};
constexpr ReportLayout kMixLayout{kMixTexts, kMixBarcodes, kMixRules};

}  // namespace

const ReportLayout& LayoutOf(A5Report report) {
  switch (report) {
    case A5Report::kStandard:
      return kStandardLayout;
    case A5Report::kSimple:
      return kSimpleLayout;
    case A5Report::kMix:
      break;
  }
  return kMixLayout;
}

}  // namespace paltrix::a5
