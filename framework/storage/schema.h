#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "framework/fields/field_types.h"

// What the storage engine needs to know about one keyed record file. Record
// layouts declare a FileSchema as constexpr data (see app/records/).
namespace paltrix::storage {

inline constexpr std::size_t kMaxKeyComponents = 4;

struct KeyDef {
  std::string_view label;  // e.g. "PRO:IDKey", shown in messages
  // Field names of the components, most significant first; unused slots empty.
  // All components ascend; text compares without regard to case.
  std::array<std::string_view, kMaxKeyComponents> components{};
  bool unique = false;       // a second record with an equal key value is refused
  bool skipsBlanks = false;  // a record whose components are all blank or zero is left out
  bool primary = false;

  constexpr std::size_t componentCount() const {
    std::size_t count = 0;
    while (count < components.size() && !components[count].empty()) ++count;
    return count;
  }
};

struct MemoDef {
  std::string_view label;  // e.g. "HIS:Bem"
  std::uint32_t maxLength;
};

struct FileSchema {
  std::string_view label;     // e.g. "Produkt"
  std::string_view prefix;    // e.g. "PRO"
  std::string_view diskName;  // as the program names it, e.g. "Data\\PRODUKT.dat"
  std::uint32_t recordLength;
  std::span<const fields::FieldDef> fields;
  std::span<const KeyDef> keys;
  std::span<const MemoDef> memos;
};

// True when every key component names a field of the layout.
constexpr bool KeysReferToFields(std::span<const KeyDef> keys,
                                 std::span<const fields::FieldDef> fieldDefs) {
  for (const KeyDef& key : keys) {
    if (key.componentCount() == 0) return false;
    for (std::size_t i = 0; i < key.componentCount(); ++i) {
      if (!fields::HasField(fieldDefs, key.components[i])) return false;
    }
  }
  return true;
}

}  // namespace paltrix::storage
