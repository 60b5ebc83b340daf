#include "terminal/doorway_keys.h"

namespace tavix::terminal {
namespace {

struct ScanCodes {
  std::uint8_t plain;
  std::uint8_t withCtrl;  // the same as plain where Ctrl changes nothing
};

// Indexed by DoorwayKey.
constexpr std::array<ScanCodes, 20> kScanCodes = {{
    {0x3B, 0x3B}, {0x3C, 0x3C}, {0x3D, 0x3D}, {0x3E, 0x3E}, {0x3F, 0x3F},  // F1..F5
    {0x40, 0x40}, {0x41, 0x41}, {0x42, 0x42}, {0x43, 0x43}, {0x44, 0x44},  // F6..F10
    {0x47, 0x77},                                                          // Home
    {0x48, 0x48},                                                          // Up
    {0x49, 0x84},                                                          // Page Up
    {0x4B, 0x73},                                                          // Left
    {0x4D, 0x74},                                                          // Right
    {0x4F, 0x75},                                                          // End
    {0x50, 0x50},                                                          // Down
    {0x51, 0x76},                                                          // Page Down
    {0x52, 0x52},                                                          // Insert
    {0x53, 0x53},                                                          // Delete
}};
static_assert(kScanCodes.size() == static_cast<std::size_t>(DoorwayKey::Delete) + 1);

}  // namespace

std::array<std::uint8_t, 2> DoorwayBytes(DoorwayKey key, bool ctrl) {
  const ScanCodes& codes = kScanCodes[static_cast<std::size_t>(key)];
  return {0x00, ctrl ? codes.withCtrl : codes.plain};
}

}  // namespace tavix::terminal
