#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "app/records/a5etiket.h"
#include "app/records/adresser.h"
#include "app/records/bruger.h"
#include "app/records/firma.h"
#include "app/records/historik.h"
#include "app/records/ordrehoved.h"
#include "app/records/ordrelinier.h"
#include "app/records/weighed_individuals.h"
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

// True for the files a record context opens through the storage engine: all
// but the flat Printer file and the declared-only PRODUcT, whose disk name
// belongs to Produkt's layout.
constexpr bool IsOpenedByStorageEngine(const storage::FileSchema& schema) {
  return &schema != &printer::kSchema && &schema != &produkt_extended::kSchema;
}

// Position of a file in kFilesInCreationOrder. REQUIRES: one of the twelve.
constexpr std::size_t IndexOfFile(const storage::FileSchema& schema) {
  std::size_t index = 0;
  while (index < kFilesInCreationOrder.size() && kFilesInCreationOrder[index] != &schema) ++index;
  return index;
}

}  // namespace paltrix::records
