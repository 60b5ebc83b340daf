#include "app/gs1/barcode_data.h"

#include <fmt/format.h>

#include <algorithm>
#include <vector>

#include "app/gs1/barcode_text.h"
#include "app/gs1/digits.h"
#include "app/gs1/sscc.h"
#include "framework/text/windows1252.h"

namespace paltrix::gs1 {
namespace {

// The application identifiers used on the labels (GS1 General Specifications,
// section 3). A variable-length element that is not last in its barcode is
// ended by FNC1.
struct ApplicationIdentifier {
  std::string_view code;
  bool variableLength;
};

constexpr ApplicationIdentifier kSsccAi{"00", false};
constexpr ApplicationIdentifier kGtinAi{"01", false};
constexpr ApplicationIdentifier kContentAi{"02", false};
constexpr ApplicationIdentifier kBatchAi{"10", true};
constexpr ApplicationIdentifier kBestBeforeAi{"15", false};
constexpr ApplicationIdentifier kNetWeightAi{"3102", false};
constexpr ApplicationIdentifier kCountAi{"37", true};
constexpr ApplicationIdentifier kOrderNumberAi{"400", true};

constexpr std::size_t kAllDigits = std::string_view::npos;

struct ElementString {
  ApplicationIdentifier ai;
  std::string_view data;
  // Where, in AI followed by data, subset B takes over from subset C
  // (kAllDigits: never; 0: the whole element is text).
  std::size_t textFrom = kAllDigits;
};

// REQUIRES: elements is not empty.
BarcodeData Encode(const std::vector<ElementString>& elements) {
  BarcodeData barcode;
  bool inSubsetC = elements.front().textFrom != 0;
  barcode.zplData = inSubsetC ? ">;>8" : ">:>8";
  barcode.engineData = kEngineFnc1;
  bool separatorDue = false;
  for (const ElementString& element : elements) {
    if (separatorDue) {
      barcode.zplData += ">8";
      barcode.engineData += kEngineFnc1;
    }
    separatorDue = element.ai.variableLength;

    const std::string content = std::string(element.ai.code) + std::string(element.data);
    if (inSubsetC) {
      const std::size_t textFrom = std::min(element.textFrom, content.size());
      barcode.zplData.append(content, 0, textFrom);
      if (textFrom < content.size()) {
        barcode.zplData += ">6" + EscapeForZplSubsetB(std::string_view(content).substr(textFrom));
        inSubsetC = false;
      }
    } else {
      barcode.zplData += EscapeForZplSubsetB(content);
    }
    barcode.engineData += content;
    barcode.humanReadable += fmt::format("({}){}", element.ai.code, element.data);
  }
  return barcode;
}

// Subset C carries digit pairs only. "400" and the order number's leading
// digits stay there up to their last pair; only what cannot pair (a lone last
// digit, text) goes to subset B, which keeps the symbol as short as it can be.
std::size_t OrderNumberTextFrom(std::string_view orderNumber) {
  const std::size_t leadingDigits =
      kOrderNumberAi.code.size() +
      std::min(orderNumber.find_first_not_of("0123456789"), orderNumber.size());
  const bool pairsUp =
      leadingDigits == kOrderNumberAi.code.size() + orderNumber.size() && leadingDigits % 2 == 0;
  return pairsUp ? kAllDigits : leadingDigits - leadingDigits % 2;
}

Result<std::string_view> CheckedSscc(std::string_view sscc) {
  const std::string_view code = sscc.substr(0, kSsccLength);
  if (!IsValidSscc(code)) {
    return Status(ErrorCode::kInvalidValue,
                  fmt::format("\"{}\" is not a valid SSCC", text::ToUtf8(sscc)));
  }
  return code;
}

// The (10) data of a mixed pallet, or why it cannot be encoded.
Result<std::string> MixedPalletData(const MixedPalletContent& content) {
  if (content.week < 1 || content.week > 53) {
    return Status(ErrorCode::kInvalidValue,
                  fmt::format("The week number {} is not a week (1 to 53)", content.week));
  }
  const std::string text =
      fmt::format("{}{}", text::TrimRight(content.mixNumber), text::TrimRight(content.flowerOrder));
  if (Status status = CheckBarcodeText("mix and order number", text); !status) return status;
  return fmt::format("{:02}{}", content.week, text);
}

}  // namespace

BarcodeData FirstBarcode(const Elements& elements) {
  std::vector<ElementString> strings;
  if (elements.count) {
    strings.push_back({kContentAi, elements.gtin14});
    strings.push_back({kCountAi, *elements.count});
  } else {
    strings.push_back({kGtinAi, elements.gtin14});
  }
  if (elements.orderNumber) {
    const std::string_view order = *elements.orderNumber;
    strings.push_back({kOrderNumberAi, order, OrderNumberTextFrom(order)});
  }
  return Encode(strings);
}

std::optional<BarcodeData> SecondBarcode(const Elements& elements) {
  std::vector<ElementString> strings;
  if (elements.bestBefore) strings.push_back({kBestBeforeAi, *elements.bestBefore});
  if (elements.netWeight) strings.push_back({kNetWeightAi, *elements.netWeight});
  if (elements.batch) strings.push_back({kBatchAi, *elements.batch, 0});
  if (strings.empty()) return std::nullopt;
  return Encode(strings);
}

Result<BarcodeData> SsccBarcode(std::string_view sscc) {
  const auto code = CheckedSscc(sscc);
  if (!code) return code.status();
  return Encode({{kSsccAi, *code}});
}

Result<BarcodeData> MixedPalletBarcodeWithSscc(std::string_view sscc,
                                               const MixedPalletContent& content) {
  const auto code = CheckedSscc(sscc);
  if (!code) return code.status();
  const auto data = MixedPalletData(content);
  if (!data) return data.status();
  // "10" and the two week digits stay in subset C; the rest is text.
  const std::size_t textFrom = kBatchAi.code.size() + 2;
  return Encode({{kSsccAi, *code}, {kBatchAi, *data, textFrom}});
}

Result<BarcodeData> MixedPalletBarcode(const MixedPalletContent& content) {
  const auto data = MixedPalletData(content);
  if (!data) return data.status();
  return Encode({{kBatchAi, *data, 0}});
}

}  // namespace paltrix::gs1
