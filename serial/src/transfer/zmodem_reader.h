#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "transfer_session.h"
#include "zmodem_wire.h"

namespace tavix::zmodem {

// What ReadHeader reports besides a frame type (0..18 and whatever else the peer sends).
inline constexpr int kHeaderTimeOut = -2;
inline constexpr int kHeaderError = -1;  // garbage, too many characters
inline constexpr int kHeaderCrcError = -3;

// What ReadSubpacket reports besides a frame end (kZcrce..kZcrcw).
enum class SubpacketError : int {
  kNone = 0,
  kTimeOut,
  kCrcError,
  kLongPacket,
  kCancelled,  // five CANs: the other side cancelled
  kGarbage,    // a ZDLE sequence that means nothing
  kUserCancel,
};

struct Subpacket {
  std::uint8_t frameEnd = 0;  // set when error is kNone
  SubpacketError error = SubpacketError::kNone;
  std::size_t length = 0;
};

// Reads Zmodem headers and data subpackets from the session's line.
class FrameReader {
 public:
  explicit FrameReader(TransferSession& session) : session_(session) {}

  // Per-byte wait (the sender waits 90 s for ZRINIT, 60 s otherwise; the receiver 10 s).
  void SetTimeout(std::chrono::milliseconds timeout) { timeout_ = timeout; }

  // Reads the next header: its frame type, kZcan after five CANs or a user cancel (with
  // `userCancelled` set), or kHeaderTimeOut / kHeaderError / kHeaderCrcError. The header's data
  // bytes land in Data() and its CRC kind in LastWasCrc32().
  int ReadHeader();
  // Reads one data subpacket into `buffer` (at most its size, else kLongPacket).
  Subpacket ReadSubpacket(std::span<std::uint8_t> buffer, bool crc32);

  const HeaderData& Data() const { return data_; }
  std::uint32_t Position() const { return DataPosition(data_); }
  std::size_t HeaderLength() const { return headerLength_; }
  bool LastWasCrc32() const { return lastCrc32_; }
  bool LastWasVariable() const { return lastVariable_; }
  bool UserCancelled() const { return userCancelled_; }
  bool CarrierLost() const { return carrierLost_; }

 private:
  // A decoded byte (0..255), a frame end (0x100 | end), or a negative error.
  int ReadEscaped();
  // Moves the line's buffered bytes that need no decoding into `room`, up to the first that
  // does; returns how many it moved.
  std::size_t TakePlainRun(std::span<std::uint8_t> room);
  int ReadRaw();
  int ReadHexByte();
  int ReadBinaryHeader(bool crc32, bool variable);
  int ReadHexHeader(bool variable);

  TransferSession& session_;
  std::chrono::milliseconds timeout_{10000};
  HeaderData data_{};
  std::size_t headerLength_ = 4;
  bool lastCrc32_ = false;
  bool lastVariable_ = false;
  bool userCancelled_ = false;
  bool carrierLost_ = false;
};

}  // namespace tavix::zmodem
