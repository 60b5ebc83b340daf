#include "port/crc.h"

#include <array>

#include "tavix32.h"

namespace tavix {
namespace {

constexpr std::array<std::uint32_t, 256> MakeCrc32Table() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint32_t value = i;
    for (int bit = 0; bit < 8; ++bit) value = (value & 1) ? (value >> 1) ^ 0xEDB88320u : value >> 1;
    table[i] = value;
  }
  return table;
}

constexpr std::array<std::uint16_t, 256> MakeCrc16Table() {
  std::array<std::uint16_t, 256> table{};
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint32_t value = i << 8;
    for (int bit = 0; bit < 8; ++bit) value = (value & 0x8000) ? (value << 1) ^ 0x1021 : value << 1;
    table[i] = static_cast<std::uint16_t>(value);
  }
  return table;
}

constexpr auto kCrc32Table = MakeCrc32Table();
constexpr auto kCrc16Table = MakeCrc16Table();
static_assert(kCrc32Table[1] == 0x77073096u);
static_assert(kCrc16Table[1] == 0x1021u);

}  // namespace

std::uint32_t Crc32Update(std::uint32_t crc, std::span<const std::uint8_t> bytes) {
  for (std::uint8_t byte : bytes) crc = kCrc32Table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
  return crc;
}

std::uint32_t Crc32(std::span<const std::uint8_t> bytes) {
  return Crc32Update(0xFFFFFFFFu, bytes) ^ 0xFFFFFFFFu;
}

std::uint16_t Crc16Xmodem(std::span<const std::uint8_t> bytes, std::uint16_t crc) {
  for (std::uint8_t byte : bytes)
    crc = static_cast<std::uint16_t>((crc << 8) ^ kCrc16Table[((crc >> 8) ^ byte) & 0xFF]);
  return crc;
}

}  // namespace tavix

extern "C" uint32_t GetCRC32(const uint8_t* buffer, int32_t length) {
  if (buffer == nullptr || length <= 0) return 0;
  return tavix::Crc32({buffer, static_cast<std::size_t>(length)});
}
