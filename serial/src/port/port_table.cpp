#include "port/port_table.h"

#include <array>

namespace tavix {
namespace {

std::array<PortRecord, kPortCount>& Table() {
  static std::array<PortRecord, kPortCount> table;
  return table;
}

}  // namespace

PortRecord* PortSlot(int port) {
  if (port < 0 || port >= kPortCount) return nullptr;
  return &Table()[static_cast<std::size_t>(port)];
}

PortRecord* OpenPortRecord(int port) {
  PortRecord* record = PortSlot(port);
  return record != nullptr && record->state.isOpen ? record : nullptr;
}

}  // namespace tavix
