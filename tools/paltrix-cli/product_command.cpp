#include <fmt/format.h>

#include <memory>
#include <optional>

#include "app/records/produkt.h"
#include "framework/console.h"
#include "framework/errors/message_numbers.h"
#include "framework/text/windows1252.h"
#include "tools/paltrix-cli/cli_error.h"
#include "tools/paltrix-cli/cli_session.h"
#include "tools/paltrix-cli/commands.h"
#include "tools/paltrix-cli/field_input.h"
#include "tools/paltrix-cli/number_option.h"
#include "tools/paltrix-cli/product_lookup.h"
#include "tools/paltrix-cli/product_values.h"

namespace paltrix::cli {
namespace {

namespace produkt = records::produkt;

struct ProductOptions : ProductValues {
  std::string id;
};

void AddProduct(const ProductOptions& options) {
  storage::Record record = storage::Record::Blank(produkt::kSchema);
  fields::WriteText(record.image, produkt::PRODUKTID, ProductId("--", options.id));
  ApplyProductValues(options, record.image, "--");

  CliSession session;
  Result<storage::RecordNumber> added = session.File(produkt::kSchema).Add(record);
  if (!added) {
    const int message = added.status().code() == ErrorCode::kDuplicateKey
                            ? errors::msg::kDuplicateKey
                            : errors::msg::kRecordInsertError;
    session.records().files().file(produkt::kSchema).Report(message, added.status());
    throw Failed(fmt::format("product \"{}\" was not added", options.id));
  }
}

void ChangeProduct(const ProductOptions& options) {
  CliSession session;
  FoundProduct product = FindProduct(session, "--id", options.id);
  ApplyProductValues(options, product.record.image, "--");
  Check(session.records().Update(produkt::kSchema, product.number, product.record),
        "the product was not changed");
}

void DeleteProduct(const std::string& id) {
  CliSession session;
  const FoundProduct product = FindProduct(session, "--id", id);
  Check(session.records().Delete(produkt::kSchema, product.number), "the product was not deleted");
}

void ListProducts(bool byName) {
  CliSession session;
  storage::KeyedFile& file = session.File(produkt::kSchema);
  Check(file.SetKeyOrder(byName ? produkt::kNavneKey : produkt::kIDKey), "cannot read products");
  storage::Record record = storage::Record::Blank(produkt::kSchema);
  console::WriteOut(fmt::format("ID\tName\tGTIN\tShelf life\tCount\tOrder no.\tDescription\n"));
  for (Status status = file.Next(record); status.code() != ErrorCode::kRecordNotAvailable;
       status = file.Next(record)) {
    Check(status, "cannot read products");
    const fields::ConstImage image = record.image;
    console::WriteOut(fmt::format("{}\t{}\t{}\t{}\t{}\t{}\t{}\n", Utf8(produkt::PRODUKTID, image),
                                  Utf8(produkt::PRODUKTNAVN, image), Utf8(produkt::EANNR, image),
                                  fields::ReadShort(image, produkt::HOLDBARHEDSDAGE),
                                  fields::ReadLong(image, produkt::ANTALPRPALLE),
                                  Utf8(produkt::NAVN2, image),
                                  Utf8(produkt::ANTALPRKOLLIE, image)));
  }
}

void AddValueOptions(CLI::App& command, ProductOptions& options) {
  command.add_option("--name", options.name, "Product name (at most 30 characters)");
  command.add_option("--description", options.description, "Description line (30)");
  command.add_option("--gtin", options.gtin, "GTIN: 8, 12, 13 or 14 digits with check digit");
  AddNumberOption(command, "--shelf-life", options.shelfLife, 0, 32767, "Shelf life in days");
  command.add_option("--order-no", options.orderNumber, "Order number printed on labels (10)");
  AddNumberOption(command, "--count", options.count, 0, 999'999,
                  "Number of cases on a pallet (0: none printed)");
  AddNumberOption(command, "--order-in-barcode", options.orderInBarcode, 0, 1,
                  "1: put an order number of up to 5 characters into the barcode");
}

}  // namespace

void AddProductCommands(CLI::App& app) {
  CLI::App* product = app.add_subcommand("product", "The product catalogue");
  product->require_subcommand(1);

  auto addOptions = std::make_shared<ProductOptions>();
  CLI::App* add = product->add_subcommand("add", "Add a product");
  add->add_option("--id", addOptions->id, "Product ID (at most 12 characters)")->required();
  AddValueOptions(*add, *addOptions);
  add->callback([addOptions] { AddProduct(*addOptions); });

  auto changeOptions = std::make_shared<ProductOptions>();
  CLI::App* change = product->add_subcommand("change", "Change the given values of a product");
  change->add_option("--id", changeOptions->id, "ID of the product to change")->required();
  AddValueOptions(*change, *changeOptions);
  change->callback([changeOptions] { ChangeProduct(*changeOptions); });

  auto deleteId = std::make_shared<std::string>();
  CLI::App* remove = product->add_subcommand("delete", "Delete a product");
  remove->add_option("--id", *deleteId, "ID of the product to delete")->required();
  remove->callback([deleteId] { DeleteProduct(*deleteId); });

  auto byName = std::make_shared<bool>(false);
  CLI::App* list = product->add_subcommand("list", "List the products, tab-separated");
  list->add_flag("--by-name", *byName, "In name order instead of ID order");
  list->callback([byName] { ListProducts(*byName); });

  AddProductFileCommands(*product);
}

}  // namespace paltrix::cli
