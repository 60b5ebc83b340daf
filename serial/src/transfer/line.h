#pragma once

#include <chrono>
#include <cstdint>
#include <span>

namespace tavix {

// Returned by Line::ReadByte when no byte arrived in time.
inline constexpr int kLineTimeout = -1;

// The byte stream a transfer runs over. The protocol engines see the port only through this
// interface, so they run unchanged over a serial port, a pseudo-terminal or an in-memory pair.
class Line {
 public:
  virtual ~Line() = default;

  // The next received byte (0..255), or kLineTimeout when none arrived within `timeout`.
  // A timeout of zero only looks at what is already queued. Waiting keeps the caller's
  // windows responsive.
  virtual int ReadByte(std::chrono::milliseconds timeout) = 0;

  // Queues all bytes for sending; false when the line accepted nothing for its write time-out.
  virtual bool Write(std::span<const std::uint8_t> bytes) = 0;

  // True when a received byte is waiting (does not wait).
  virtual bool HasInput() = 0;

  // Drops everything received but not yet read.
  virtual void PurgeInput() = 0;

  // False when the carrier-detect line is low. Lines without modem-status lines report true.
  virtual bool Carrier() = 0;

  // The bytes already received and not yet read, for readers that take plain runs of data in a
  // block loop instead of a call per byte; Consume(n) then counts the first n of them as read.
  // Lines without a buffer of their own offer nothing and are read byte by byte.
  virtual std::span<const std::uint8_t> Buffered() { return {}; }
  virtual void Consume(std::size_t count) { static_cast<void>(count); }

  // Puts `byte`, the byte just read, back in front of the input, for whoever reads the line after
  // a transfer that read one byte past its own end. False when this line cannot (the byte is then
  // gone).
  virtual bool PutBack(std::uint8_t byte) {
    static_cast<void>(byte);
    return false;
  }
};

}  // namespace tavix
