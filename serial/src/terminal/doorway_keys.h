#pragma once

// DoorWay mode of bulletin-board systems: keys without a character are sent as NUL followed by
// the key's PC keyboard scan code, so the remote program sees the PC keyboard itself.

#include <array>
#include <cstdint>

namespace tavix::terminal {

enum class DoorwayKey : std::uint8_t {
  F1,
  F2,
  F3,
  F4,
  F5,
  F6,
  F7,
  F8,
  F9,
  F10,
  Home,
  Up,
  PageUp,
  Left,
  Right,
  End,
  Down,
  PageDown,
  Insert,
  Delete,
};

// The two bytes a key sends in DoorWay mode, with Ctrl held or not.
std::array<std::uint8_t, 2> DoorwayBytes(DoorwayKey key, bool ctrl);

}  // namespace tavix::terminal
