#pragma once

#include <array>
#include <string_view>

#include "app/records/a5etiket.h"
#include "app/records/adresser.h"
#include "app/records/bruger.h"
#include "app/records/firma.h"
#include "app/records/historik.h"
#include "app/records/ordrehoved.h"
#include "app/records/ordrelinier.h"
#include "app/records/ordrespec.h"
#include "app/records/printer.h"
#include "app/records/prisgrp.h"
#include "app/records/produkt.h"
#include "app/records/produkt_extended.h"
#include "framework/storage/schema.h"

// The twelve record files of the program, in the order their managers are
// created at start (and destroyed in reverse at the end).
namespace paltrix::records {

inline constexpr std::array<const storage::FileSchema*, 12> kFilesInCreationOrder = {
    &firma::kSchema,    &ordrespec::kSchema,  &ordrelinier::kSchema, &prisgrp::kSchema,
    &adresser::kSchema, &ordrehoved::kSchema, &printer::kSchema,     &produkt_extended::kSchema,
    &produkt::kSchema,  &bruger::kSchema,     &historik::kSchema,    &a5etiket::kSchema,
};

// The schema with the given label (exact spelling, e.g. "PRODUcT"), or nullptr.
constexpr const storage::FileSchema* FindFileSchema(std::string_view label) {
  for (const storage::FileSchema* schema : kFilesInCreationOrder) {
    if (schema->label == label) return schema;
  }
  return nullptr;
}

// True for the files kept by the storage engine: all but the flat Printer file.
constexpr bool IsKeyedFile(const storage::FileSchema& schema) {
  return &schema != &printer::kSchema;
}

}  // namespace paltrix::records
