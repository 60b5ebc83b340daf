#pragma once

// The screen's character set: the PC's code page 437, as bulletin-board ANSI art and DOS
// programs expect it (box drawing, shades and blocks at 0x80..0xFF, symbols below 0x20).

#include <cstdint>

namespace tavix::terminal {

// The Unicode character drawn for a screen byte. 0x00 and 0x20 are blank.
char16_t Cp437ToUnicode(std::uint8_t byte);

}  // namespace tavix::terminal
