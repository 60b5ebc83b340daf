#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tavix::zmodem {

// Constants of the published Zmodem protocol.
inline constexpr std::uint8_t kZpad = '*';
inline constexpr std::uint8_t kZdle = 0x18;  // also CAN: five in a row cancel
inline constexpr std::uint8_t kZbin = 'A';
inline constexpr std::uint8_t kZhex = 'B';
inline constexpr std::uint8_t kZbin32 = 'C';
inline constexpr std::uint8_t kZvbin = 'a';
inline constexpr std::uint8_t kZvhex = 'b';
inline constexpr std::uint8_t kZvbin32 = 'c';
inline constexpr std::uint8_t kZcrce = 'h';  // end of frame
inline constexpr std::uint8_t kZcrcg = 'i';  // go on
inline constexpr std::uint8_t kZcrcq = 'j';  // go on, acknowledge
inline constexpr std::uint8_t kZcrcw = 'k';  // wait for acknowledge
inline constexpr std::uint8_t kZrub0 = 'l';  // escaped 0x7F
inline constexpr std::uint8_t kZrub1 = 'm';  // escaped 0xFF
inline constexpr std::uint8_t kXon = 0x11;
inline constexpr std::uint8_t kXoff = 0x13;

enum FrameType : int {
  kZrqinit = 0,
  kZrinit = 1,
  kZsinit = 2,
  kZack = 3,
  kZfile = 4,
  kZskip = 5,
  kZnak = 6,
  kZabort = 7,
  kZfin = 8,
  kZrpos = 9,
  kZdata = 10,
  kZeof = 11,
  kZferr = 12,
  kZcrc = 13,
  kZchallenge = 14,
  kZcompl = 15,
  kZcan = 16,
  kZfreecnt = 17,
  kZcommand = 18,
};

// ZRINIT flags: ZF0 is data byte 3, ZF1 data byte 2; bytes 0 and 1 hold the receiver's buffer
// size, low byte first.
inline constexpr std::uint8_t kCanFullDuplex = 0x01;
inline constexpr std::uint8_t kCanCrc32 = 0x20;
inline constexpr std::uint8_t kEscapeControls = 0x40;
inline constexpr std::uint8_t kCanVariableHeaders = 0x01;
inline constexpr std::size_t kZf0 = 3;
inline constexpr std::size_t kZf1 = 2;

inline constexpr std::size_t kMaxHeaderData = 16;
inline constexpr std::size_t kMaxSubpacket = 1024;

using HeaderData = std::array<std::uint8_t, kMaxHeaderData>;

// Header data carrying a file position, least significant byte first.
HeaderData PositionData(std::uint32_t position);
std::uint32_t DataPosition(const HeaderData& data);

// Builds Zmodem frames into a byte buffer, escaping as the protocol requires. The escape rule
// for CR after "@" depends on the byte sent before, so one writer serves one direction.
class FrameWriter {
 public:
  // Escape every control character too (the receiver asked for it with kEscapeControls).
  void SetEscapeControls(bool on);

  void AppendHexHeader(std::vector<std::uint8_t>& out, int type, std::span<const std::uint8_t> data,
                       bool variableLength);
  void AppendBinaryHeader(std::vector<std::uint8_t>& out, int type,
                          std::span<const std::uint8_t> data, bool crc32, bool variableLength);
  // Data, ZDLE, the frame end, the CRC over data and frame end; XON after ZCRCW.
  void AppendSubpacket(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> data,
                       std::uint8_t frameEnd, bool crc32);

 private:
  void AppendEscaped(std::vector<std::uint8_t>& out, std::span<const std::uint8_t> bytes);
  void AppendRaw(std::vector<std::uint8_t>& out, std::uint8_t byte);

  bool escapeControls_ = false;
  std::uint8_t lastSent_ = 0;
};

}  // namespace tavix::zmodem
