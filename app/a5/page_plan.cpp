#include "app/a5/page_plan.h"

namespace paltrix::a5 {
namespace {

MmRect OnPage(MmRect inBand) {
  inBand.y += kBandTopMm;
  return inBand;
}

bool IsHidden(HideWhen rule, const PageVisibility& visible) {
  switch (rule) {
    case HideWhen::kNever:
      return false;
    case HideWhen::kNoWeight:
      return !visible.weight;
    case HideWhen::kNoBestBefore:
      return !visible.bestBefore;
    case HideWhen::kNoBatch:
      return !visible.batch;
    case HideWhen::kOrderNumberZero:
      return !visible.orderCaption;
  }
  return false;
}

const std::string& TextOf(const TextItem& item, const PageTexts& texts) {
  static const std::string kNone;
  switch (item.field) {
    case PageField::kCaption:
      return kNone;
    case PageField::kCompany:
      return texts.company;
    case PageField::kAddress:
      return texts.address;
    case PageField::kPhone:
      return texts.phone;
    case PageField::kProduct:
      return texts.product;
    case PageField::kDescription:
      return texts.description;
    case PageField::kSscc:
      return texts.sscc;
    case PageField::kCount:
      return texts.count;
    case PageField::kGtin:
      return texts.gtin;
    case PageField::kOrderNumber:
      return texts.orderNumber;
    case PageField::kWeight:
      return texts.weight;
    case PageField::kBatch:
      return texts.batch;
    case PageField::kBestBefore:
      return texts.bestBefore;
    case PageField::kLine1:
      return texts.line1;
    case PageField::kLine2:
      return texts.line2;
    case PageField::kLine3:
      return texts.line3;
  }
  return kNone;
}

const std::string& DataOf(BarcodeField field, const PageBarcodes& barcodes) {
  switch (field) {
    case BarcodeField::kFirst:
      return barcodes.first;
    case BarcodeField::kSecond:
      return barcodes.second;
    case BarcodeField::kSscc:
      break;
  }
  return barcodes.sscc;
}

}  // namespace

PagePlan PlanPage(A5Report report, const PageContent& content) {
  const ReportLayout& layout = LayoutOf(report);
  PagePlan plan;
  for (const TextItem& item : layout.texts) {
    if (IsHidden(item.hideWhen, content.visible)) continue;
    std::string text =
        item.field == PageField::kCaption ? std::string(item.caption) : TextOf(item, content.texts);
    if (text.empty()) continue;
    plan.texts.push_back({OnPage(item.rect), std::move(text), item.pointSize, item.bold});
  }
  for (std::size_t control = 0; control < layout.barcodes.size(); ++control) {
    const BarcodeItem& item = layout.barcodes[control];
    const std::string& data = DataOf(item.field, content.barcodes);
    if (data.empty()) continue;
    plan.barcodes.push_back({control, OnPage(item.rect), data, item.moduleWidthThousandths});
  }
  for (const double y : layout.rulesY) plan.rulesY.push_back(y + kBandTopMm);
  return plan;
}

}  // namespace paltrix::a5
