#pragma once

#include <string_view>

#include "app/records/produkt.h"
#include "framework/fields/field_types.h"

// The columns of a product file (CSV): one per product field, named as the
// options of `product add` and `print` name the same values. Export writes
// them in this order; import takes any order and any subset that has "id".
namespace paltrix::cli::product_csv {

struct Column {
  std::string_view name;
  fields::FieldDef field;
};

inline constexpr Column kColumns[] = {
    {"id", records::produkt::PRODUKTID},
    {"name", records::produkt::PRODUKTNAVN},
    {"description", records::produkt::ANTALPRKOLLIE},
    {"gtin", records::produkt::EANNR},
    {"shelf-life", records::produkt::HOLDBARHEDSDAGE},
    {"count", records::produkt::ANTALPRPALLE},
    {"order-no", records::produkt::NAVN2},
    {"order-in-barcode", records::produkt::BRUGORDREID},
    {"best-before", records::produkt::HOLDBARTIL},
    {"weight", records::produkt::NETTOVAEGT},
    {"batch", records::produkt::BATCHNR},
};

static_assert(std::size(kColumns) == std::size(records::produkt::kFields),
              "every product field has a column");

}  // namespace paltrix::cli::product_csv
