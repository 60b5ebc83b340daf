#include "port/crc.h"

#include <array>

#include "tavix32.h"

namespace tavix {
namespace {

// Table k holds the register change of a byte followed by k zero bytes, so that eight bytes
// take eight independent look-ups (slicing by eight) instead of a chain of eight.
constexpr std::array<std::array<std::uint32_t, 256>, 8> MakeCrc32Tables() {
  std::array<std::array<std::uint32_t, 256>, 8> tables{};
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint32_t value = i;
    for (int bit = 0; bit < 8; ++bit) value = (value & 1) ? (value >> 1) ^ 0xEDB88320u : value >> 1;
    tables[0][i] = value;
  }
  for (std::size_t k = 1; k < 8; ++k) {
    for (std::size_t i = 0; i < 256; ++i) {
      tables[k][i] = (tables[k - 1][i] >> 8) ^ tables[0][tables[k - 1][i] & 0xFF];
    }
  }
  return tables;
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

constexpr auto kCrc32Tables = MakeCrc32Tables();
constexpr const auto& kCrc32Table = kCrc32Tables[0];
constexpr auto kCrc16Table = MakeCrc16Table();
static_assert(kCrc32Table[1] == 0x77073096u);
static_assert(kCrc16Table[1] == 0x1021u);

}  // namespace

std::uint32_t Crc32Update(std::uint32_t crc, std::span<const std::uint8_t> bytes) {
  const std::uint8_t* next = bytes.data();
  std::size_t left = bytes.size();
  for (; left >= 8; left -= 8, next += 8) {
    const std::uint32_t low = crc ^ (next[0] | (next[1] << 8) | (next[2] << 16) |
                                     (static_cast<std::uint32_t>(next[3]) << 24));
    crc = kCrc32Tables[7][low & 0xFF] ^ kCrc32Tables[6][(low >> 8) & 0xFF] ^
          kCrc32Tables[5][(low >> 16) & 0xFF] ^ kCrc32Tables[4][low >> 24] ^
          kCrc32Tables[3][next[4]] ^ kCrc32Tables[2][next[5]] ^ kCrc32Tables[1][next[6]] ^
          kCrc32Tables[0][next[7]];
  }
  for (; left > 0; --left, ++next) crc = kCrc32Table[(crc ^ *next) & 0xFF] ^ (crc >> 8);
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
