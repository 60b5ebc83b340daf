#include "tools/paltrix-cli/product_values.h"

#include <fmt/format.h>

#include "app/records/produkt.h"
#include "framework/text/windows1252.h"
#include "tools/paltrix-cli/cli_error.h"
#include "tools/paltrix-cli/field_input.h"

namespace paltrix::cli {
namespace {

namespace produkt = records::produkt;

// What the product form lets the operator enter: the ID as up to 12
// characters, name, description and order number as up to 30, 30 and 10.
constexpr std::size_t kMaxIdLength = 12;
constexpr std::size_t kMaxNameLength = 30;
constexpr std::size_t kMaxDescriptionLength = 30;
constexpr std::size_t kMaxOrderNumberLength = 10;
// While the order number goes into the barcode the form takes 5 characters.
constexpr std::size_t kMaxBarcodeOrderNumberLength = 5;

std::string Named(std::string_view namePrefix, std::string_view name) {
  return fmt::format("{}{}", namePrefix, name);
}

}  // namespace

std::string ProductId(std::string_view namePrefix, std::string_view utf8) {
  std::string id = RecordText(Named(namePrefix, "id"), utf8, kMaxIdLength);
  if (text::TrimRight(id).empty()) {
    throw BadInput(fmt::format("{}: a product needs an ID", Named(namePrefix, "id")));
  }
  return id;
}

void ApplyProductValues(const ProductValues& values, fields::Image image,
                        std::string_view namePrefix) {
  std::optional<std::string> name, description, gtin, orderNumber;
  if (values.name) name = RecordText(Named(namePrefix, "name"), *values.name, kMaxNameLength);
  if (values.description) {
    description =
        RecordText(Named(namePrefix, "description"), *values.description, kMaxDescriptionLength);
  }
  if (values.gtin) {
    gtin = values.gtin->empty() ? std::string() : Gtin(Named(namePrefix, "gtin"), *values.gtin);
  }
  if (values.orderNumber) {
    orderNumber =
        RecordText(Named(namePrefix, "order-no"), *values.orderNumber, kMaxOrderNumberLength);
  }
  if (values.shelfLife) InRange(Named(namePrefix, "shelf-life"), *values.shelfLife, 0, 32767);
  if (values.count) InRange(Named(namePrefix, "count"), *values.count, 0, 999'999);
  if (values.orderInBarcode) {
    InRange(Named(namePrefix, "order-in-barcode"), *values.orderInBarcode, 0, 1);
  }

  if (name) fields::WriteText(image, produkt::PRODUKTNAVN, *name);
  if (description) fields::WriteText(image, produkt::ANTALPRKOLLIE, *description);
  if (gtin) fields::WriteText(image, produkt::EANNR, *gtin);
  if (orderNumber) fields::WriteText(image, produkt::NAVN2, *orderNumber);
  if (values.shelfLife) {
    fields::WriteShort(image, produkt::HOLDBARHEDSDAGE,
                       static_cast<std::int16_t>(*values.shelfLife));
  }
  if (values.count) {
    fields::WriteLong(image, produkt::ANTALPRPALLE, static_cast<std::int32_t>(*values.count));
  }
  if (values.orderInBarcode) {
    fields::WriteByte(image, produkt::BRUGORDREID,
                      static_cast<std::uint8_t>(*values.orderInBarcode));
  }
  CheckBarcodeOrderNumber(image, namePrefix);
}

void CheckBarcodeOrderNumber(fields::ConstImage image, std::string_view namePrefix) {
  if (fields::ReadByte(image, produkt::BRUGORDREID) == 1 &&
      text::TrimRight(fields::ReadText(image, produkt::NAVN2)).size() >
          kMaxBarcodeOrderNumberLength) {
    throw BadInput(fmt::format(
        "{}: an order number that goes into the barcode ({} 1) has at most {} characters",
        Named(namePrefix, "order-no"), Named(namePrefix, "order-in-barcode"),
        kMaxBarcodeOrderNumberLength));
  }
}

}  // namespace paltrix::cli
