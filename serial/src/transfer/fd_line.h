#pragma once

#include <functional>
#include <vector>

#include "line.h"

namespace tavix {

// A Line over a file descriptor (a serial device or a pseudo-terminal): reads are buffered in
// blocks, writes go out in one call per block. The descriptor is not owned.
class FdLine : public Line {
 public:
  struct Hooks {
    std::function<void()> processEvents;  // called while a read or write waits
    std::function<bool()> carrier;        // carrier detect; none means always on
  };

  explicit FdLine(int fd, Hooks hooks = {},
                  std::chrono::milliseconds writeTimeout = std::chrono::milliseconds{5000});

  // A line over the device of an open port. The bytes the port layer has already read ahead
  // from the device (ComGetc, ComGets and the like read in blocks) come first, so nothing
  // received before the line was made is lost. The port's write time-out applies.
  static FdLine OverPort(int port, Hooks hooks = {});

  int ReadByte(std::chrono::milliseconds timeout) override;
  bool Write(std::span<const std::uint8_t> bytes) override;
  bool HasInput() override;
  void PurgeInput() override;
  std::span<const std::uint8_t> Buffered() override {
    return std::span(buffer_).subspan(head_, tail_ - head_);
  }
  void Consume(std::size_t count) override { head_ += count; }
  bool Carrier() override { return !hooks_.carrier || hooks_.carrier(); }

 private:
  bool Fill(std::chrono::milliseconds timeout);

  int fd_;
  Hooks hooks_;
  std::chrono::milliseconds writeTimeout_;
  std::vector<std::uint8_t> buffer_;
  std::size_t head_ = 0;
  std::size_t tail_ = 0;
};

}  // namespace tavix
