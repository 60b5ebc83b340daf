#pragma once

#include <cstdint>

#include "port/crc.h"

namespace tavix {

// One byte more into a running CRC-16/XMODEM or CRC-32 register.
inline std::uint16_t Crc16Step(std::uint16_t crc, std::uint8_t byte) {
  return Crc16Xmodem({&byte, 1}, crc);
}
inline std::uint32_t Crc32Step(std::uint32_t reg, std::uint8_t byte) {
  return Crc32Update(reg, {&byte, 1});
}

}  // namespace tavix
