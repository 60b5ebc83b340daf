#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "transfer_session.h"

namespace tavix {

// Control bytes of the Xmodem and Ymodem protocols.
inline constexpr std::uint8_t kSoh = 0x01;  // 128-byte block
inline constexpr std::uint8_t kStx = 0x02;  // 1024-byte block
inline constexpr std::uint8_t kEot = 0x04;
inline constexpr std::uint8_t kAck = 0x06;
inline constexpr std::uint8_t kNak = 0x15;
inline constexpr std::uint8_t kCan = 0x18;
inline constexpr std::uint8_t kSub = 0x1A;  // fill byte of short blocks, ASCII end of file
inline constexpr std::uint8_t kCrcRequest = 'C';
inline constexpr std::uint8_t kStreamRequest = 'G';

inline constexpr std::size_t kShortBlock = 128;
inline constexpr std::size_t kLongBlock = 1024;

// Appends one block on the wire: SOH or STX by the data size (128 or 1024), number, its
// complement, the data, then CRC-16 (high byte first) or the 8-bit sum.
void AppendXmodemBlock(std::vector<std::uint8_t>& out, std::uint8_t number,
                       std::span<const std::uint8_t> data, bool crc);

enum class BlockOutcome {
  kGood,        // data holds `size` bytes
  kEndOfFile,   // EOT
  kCancelled,   // the sender sent two CANs
  kRepeated,    // the previous block again (our ACK was lost); already stored
  kBadNumber,   // a block number that is neither expected nor the previous one
  kCheckError,  // CRC or checksum mismatch
  kTimeOut,     // silence where a byte was due
  kNoise,       // a byte that starts no block
  kUserCancel,
};

struct ReceivedBlock {
  BlockOutcome outcome = BlockOutcome::kTimeOut;
  std::size_t size = 0;
};

// Waits for one block numbered `expected`: the first byte within `firstByteWait`, every other
// byte within 2 s. Never writes more than 1024 bytes into `data`.
ReceivedBlock ReceiveXmodemBlock(TransferSession& session, std::uint8_t expected, bool crc,
                                 std::chrono::milliseconds firstByteWait,
                                 std::array<std::uint8_t, kLongBlock>& data);

}  // namespace tavix
