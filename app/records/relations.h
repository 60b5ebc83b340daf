#pragma once

#include <cstddef>
#include <iterator>

#include "app/records/record_files.h"
#include "framework/fields/field_types.h"
#include "framework/storage/schema.h"

// The one-to-many relations between the record files.
//
// The parent's linking field is matched against the child's key; the actions
// say what happens to the children when the parent's linking value changes
// or the parent is deleted: kCascade makes them follow (their linking field
// takes the new value, or they are deleted), kNone leaves them alone.
namespace paltrix::records {

enum class ReferentialAction { kNone, kCascade };

struct RelationDef {
  const storage::FileSchema* parent;
  const fields::FieldDef* parentField;
  const storage::FileSchema* child;
  std::size_t childKey;  // index into child->keys; its first component is childField
  const fields::FieldDef* childField;
  ReferentialAction onUpdate;
  ReferentialAction onDelete;
};

inline constexpr ReferentialAction kNone = ReferentialAction::kNone;
inline constexpr ReferentialAction kCascade = ReferentialAction::kCascade;

inline constexpr RelationDef kRelations[] = {
    {&produkt::kSchema, &produkt::PRODUKTID, &a5etiket::kSchema, a5etiket::kKeyProduktid,
     &a5etiket::PRODUKTID, kNone, kNone},
    {&produkt::kSchema, &produkt::PRODUKTID, &historik::kSchema, historik::kProdukNrKey,
     &historik::PRODUKTID, kCascade, kNone},
    {&bruger::kSchema, &bruger::INIT, &historik::kSchema, historik::kBrugekey, &historik::BRUGER,
     kCascade, kNone},
    {&adresser::kSchema, &adresser::TELEFON, &ordrehoved::kSchema, ordrehoved::kKeyKundeid,
     &ordrehoved::KUNDEID, kCascade, kNone},
    {&adresser::kSchema, &adresser::TELEFON, &historik::kSchema, historik::kTelefonkey,
     &historik::KUNDENR, kCascade, kNone},
    {&prisgrp::kSchema, &prisgrp::PRISGRUPPE, &adresser::kSchema, adresser::kKeyprisgruppe,
     &adresser::PRISGRUPPE, kCascade, kNone},
    {&ordrehoved::kSchema, &ordrehoved::ORDRENUMMER, &ordrelinier::kSchema,
     ordrelinier::kOrdrenrkey, &ordrelinier::ORDRENUMMER, kCascade, kCascade},
    {&produkt_extended::kSchema, &produkt_extended::TYPE, &ordrelinier::kSchema,
     ordrelinier::kProduktKey, &ordrelinier::VARENR, kCascade, kNone},
    {&ordrelinier::kSchema, &ordrelinier::VARENR, &ordrespec::kSchema, ordrespec::kKeyVarekey,
     &ordrespec::VARENR, kCascade, kNone},
};

// Every relation links a field of the parent to the first component of a key
// of the child, names fields that belong to the files it joins, and links by
// text or whole numbers (link_value.h carries no packed decimals).
constexpr bool RelationsAreConsistent() {
  for (const RelationDef& relation : kRelations) {
    if (relation.parentField->type == fields::FieldType::kDecimal ||
        relation.childField->type == fields::FieldType::kDecimal) {
      return false;
    }
    if (!fields::HasField(relation.parent->fields, relation.parentField->name) ||
        !fields::HasField(relation.child->fields, relation.childField->name)) {
      return false;
    }
    if (relation.childKey >= relation.child->keys.size()) return false;
    if (relation.child->keys[relation.childKey].components[0] != relation.childField->name) {
      return false;
    }
  }
  return true;
}
static_assert(RelationsAreConsistent());
static_assert(std::size(kRelations) == 9);

}  // namespace paltrix::records
