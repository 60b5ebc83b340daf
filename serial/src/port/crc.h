#pragma once

// The two checksums of the serial protocols.

#include <cstdint>
#include <span>

namespace tavix {

// CRC-32 of IEEE 802.3: reflected polynomial 0xEDB88320, initial value and final XOR 0xFFFFFFFF.
// Check value of "123456789": 0xCBF43926.
std::uint32_t Crc32(std::span<const std::uint8_t> bytes);

// The CRC-32 register before its final XOR, continued from `crc`; a block followed by its
// CRC-32 (least significant byte first) leaves it at kCrc32Residue.
std::uint32_t Crc32Update(std::uint32_t crc, std::span<const std::uint8_t> bytes);
inline constexpr std::uint32_t kCrc32Residue = 0xDEBB20E3;

// CRC-16/XMODEM: polynomial 0x1021, initial value 0, no reflection. Check value 0x31C3.
std::uint16_t Crc16Xmodem(std::span<const std::uint8_t> bytes, std::uint16_t crc = 0);

}  // namespace tavix
