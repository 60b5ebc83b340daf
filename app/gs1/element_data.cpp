#include "app/gs1/element_data.h"

#include <fmt/format.h>

#include "app/gs1/barcode_text.h"
#include "app/gs1/digits.h"
#include "framework/fields/date_time.h"
#include "framework/text/windows1252.h"

namespace paltrix::gs1 {
namespace {

constexpr std::size_t kGtinLength = 14;
constexpr std::int32_t kLargestCount = 999'999;
constexpr std::int64_t kLargestWeightHundredths = 999'999;

Status Invalid(std::string message) {
  return Status(ErrorCode::kInvalidValue, std::move(message));
}

std::string_view TrimBlanks(std::string_view text) {
  text = text::TrimRight(text);
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  return text;
}

Result<std::string> CountData(std::int32_t count) {
  if (count < 0 || count > kLargestCount) {
    return Invalid(
        fmt::format("The count {} does not fit the (37) element (0 to {})", count, kLargestCount));
  }
  if (count <= 99) return fmt::format("{:02}", count);
  if (count <= 9999) return fmt::format("{:04}", count);
  return fmt::format("{:06}", count);
}

constexpr int kCenturyYearsBack = 49;
constexpr int kCenturyYearsAhead = 50;

Result<std::string> BestBeforeData(std::int32_t bestBefore) {
  const auto date = fields::CivilFromDayNumber(bestBefore);
  return fmt::format("{:02}{:02}{:02}", date->year % 100, date->month, date->day);
}

Result<std::string> NetWeightData(std::int64_t grams) {
  // Rounded half up: the largest weight that fits is 9999.994 kg.
  if (grams >= kLargestWeightHundredths * 10 + 5) {
    return Invalid(fmt::format("The net weight {}.{:03} kg does not fit the (3102) element",
                               grams / 1000, grams % 1000));
  }
  return fmt::format("{:06}", (grams + 5) / 10);
}

Result<std::string> BarcodeTextData(std::string_view what, std::string_view text) {
  if (Status status = CheckBarcodeText(what, text); !status) return status;
  return std::string(text);
}

// Moves a formed element into its place, or passes the failure on.
template <typename Place>
Status Take(Result<std::string> formed, Place& place) {
  if (!formed) return formed.status();
  place = std::move(formed).value();
  return Status::Ok();
}

}  // namespace

Status CheckBestBefore(std::int32_t bestBefore, std::int32_t today) {
  if (bestBefore == 0) return Status::Ok();
  const auto date = fields::CivilFromDayNumber(bestBefore);
  if (!date) {
    return Invalid(fmt::format("The best-before day number {} is not a valid date", bestBefore));
  }
  const auto now = fields::CivilFromDayNumber(today);
  const int first = now ? now->year - kCenturyYearsBack : 0;
  const int last = now ? now->year + kCenturyYearsAhead : 0;
  if (!now || date->year < first || date->year > last) {
    return Invalid(fmt::format(
        "The best-before date {:02}.{:02}.{:04} cannot be printed: (15) carries the year as two "
        "digits, which name the years {} to {} only",
        date->day, date->month, date->year, first, last));
  }
  return Status::Ok();
}

std::int16_t ShelfLifeDays(std::int32_t bestBefore, std::int32_t today) {
  const auto difference =
      static_cast<std::uint32_t>(bestBefore) - static_cast<std::uint32_t>(today);
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(difference));
}

Result<std::string> Gtin14(std::string_view eannr) {
  const std::string_view digits = TrimBlanks(eannr);
  if (digits.empty()) return Invalid("The product has no GTIN");
  if (!AllDigits(digits) || digits.size() > kGtinLength) {
    return Invalid(fmt::format("The GTIN \"{}\" is not 1 to 14 digits", text::ToUtf8(eannr)));
  }
  return std::string(kGtinLength - digits.size(), '0') + std::string(digits);
}

Result<Elements> FormatElements(const ElementInput& input) {
  Elements elements;
  if (Status status = Take(Gtin14(input.gtin), elements.gtin14); !status) return status;

  if (input.count != 0) {
    if (Status status = Take(CountData(input.count), elements.count); !status) return status;
  }

  const std::string_view orderNumber = text::TrimRight(input.orderNumber);
  if (!orderNumber.empty() && input.useOrderNumber &&
      orderNumber.size() <= kLongestBarcodeOrderNumber) {
    Status status = Take(BarcodeTextData("order number", orderNumber), elements.orderNumber);
    if (!status) return status;
  }

  if (Status status = CheckBestBefore(input.bestBefore, input.today); !status) return status;
  if (input.bestBefore != 0 && ShelfLifeDays(input.bestBefore, input.today) != 0) {
    Status status = Take(BestBeforeData(input.bestBefore), elements.bestBefore);
    if (!status) return status;
  }

  if (input.netWeightGrams > 0) {
    Status status = Take(NetWeightData(input.netWeightGrams), elements.netWeight);
    if (!status) return status;
  }

  const std::string_view batch = text::TrimRight(input.batch);
  if (!batch.empty()) {
    if (Status status = Take(BarcodeTextData("batch", batch), elements.batch); !status) {
      return status;
    }
  }
  return elements;
}

}  // namespace paltrix::gs1
