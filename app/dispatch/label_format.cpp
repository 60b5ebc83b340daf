#include "app/dispatch/label_format.h"

#include "framework/text/windows1252.h"

namespace paltrix::dispatch {
namespace {

constexpr std::int32_t kFineDots = 12;

LabelProcedure FourInchByType(std::uint8_t labelType, bool eanItemAllowed) {
  switch (static_cast<LabelType>(labelType)) {
    case LabelType::kPallet:
      return LabelProcedure::kPalletLabel4;
    case LabelType::kCase:
      return LabelProcedure::kCaseLabel4;
    case LabelType::kMixedPallet:
      return LabelProcedure::kMixedPalletLabel;
    case LabelType::kEanItem:
      return eanItemAllowed ? LabelProcedure::kEanItemLabel : LabelProcedure::kNothing;
  }
  return LabelProcedure::kNothing;
}

}  // namespace

LabelFormat ParseLabelFormat(std::string_view storedName) {
  const std::string_view name = text::TrimRight(storedName);
  if (name == kZpl4InchName) return LabelFormat::kZpl4Inch;
  if (name == kZpl6InchName) return LabelFormat::kZpl6Inch;
  if (name == kStandardName) return LabelFormat::kStandard;
  if (name == kLimitedName) return LabelFormat::kLimited;
  if (name == kMixedName) return LabelFormat::kMixed;
  return LabelFormat::kUnknown;
}

std::string_view StoredName(LabelFormat format) {
  switch (format) {
    case LabelFormat::kZpl4Inch:
      return kZpl4InchName;
    case LabelFormat::kZpl6Inch:
      return kZpl6InchName;
    case LabelFormat::kStandard:
      return kStandardName;
    case LabelFormat::kLimited:
      return kLimitedName;
    case LabelFormat::kMixed:
      return kMixedName;
    case LabelFormat::kUnknown:
      break;
  }
  return {};
}

std::string ReportedFormatName(std::string_view storedName) {
  const LabelFormat format = ParseLabelFormat(storedName);
  if (format == LabelFormat::kZpl4Inch || format == LabelFormat::kZpl6Inch) {
    const std::string_view name = StoredName(format);
    return std::string(name.substr(0, name.size() - 1));
  }
  return std::string(storedName);
}

LabelProcedure ChooseLabelProcedure(DispatchVariant variant, LabelFormat format, std::int32_t dots,
                                    std::uint8_t labelType) {
  const bool fine = dots == kFineDots;
  switch (format) {
    case LabelFormat::kZpl6Inch:
      if (variant == DispatchVariant::kDialog && !fine) return LabelProcedure::kPalletLabel6;
      return LabelProcedure::kPalletLabel6Fine;
    case LabelFormat::kZpl4Inch:
      if (fine) {
        return variant == DispatchVariant::kDialog ? LabelProcedure::kPalletLabel4Fine
                                                   : LabelProcedure::kPalletLabel4Compact;
      }
      return FourInchByType(labelType, variant != DispatchVariant::kMixedWindow);
    case LabelFormat::kStandard:
      return LabelProcedure::kA5Standard;
    case LabelFormat::kLimited:
      return LabelProcedure::kA5Limited;
    case LabelFormat::kMixed:
      return variant == DispatchVariant::kMixedWindow ? LabelProcedure::kNothing
                                                      : LabelProcedure::kA5Mixed;
    case LabelFormat::kUnknown:
      break;
  }
  return LabelProcedure::kNothing;
}

std::string_view ProcedureName(LabelProcedure procedure) {
  switch (procedure) {
    case LabelProcedure::kNothing:
      return "nothing";
    case LabelProcedure::kPalletLabel4:
      return "PrintPalletLabel4";
    case LabelProcedure::kPalletLabel4Fine:
      return "PrintPalletLabel4Fine";
    case LabelProcedure::kPalletLabel4Compact:
      return "PrintPalletLabel4Compact";
    case LabelProcedure::kCaseLabel4:
      return "PrintCaseLabel4";
    case LabelProcedure::kMixedPalletLabel:
      return "PrintMixedPalletLabel";
    case LabelProcedure::kEanItemLabel:
      return "PrintEanItemLabel";
    case LabelProcedure::kPalletLabel6:
      return "PrintPalletLabel6";
    case LabelProcedure::kPalletLabel6Fine:
      return "PrintPalletLabel6Fine";
    case LabelProcedure::kA5Standard:
      return "Standard A5 report";
    case LabelProcedure::kA5Limited:
      return "Limited A5 report";
    case LabelProcedure::kA5Mixed:
      return "Mixed A5 report";
  }
  return "nothing";
}

}  // namespace paltrix::dispatch
