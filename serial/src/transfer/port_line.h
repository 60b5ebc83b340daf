#pragma once

#include <vector>

#include "line.h"
#include "tavix32.h"

namespace tavix {

// The Line of an open port. Reads go through the port layer (its read-ahead first, waits that
// process the caller's events) but take everything queued at once into the line's own buffer,
// so a byte costs no call into the port; what the line read and did not use goes back to the
// port when the line ends, for the terminal or the next reader.
class PortLine : public Line {
 public:
  PortLine(int port, TavixWindow window);
  ~PortLine() override;
  PortLine(const PortLine&) = delete;
  PortLine& operator=(const PortLine&) = delete;

  int ReadByte(std::chrono::milliseconds timeout) override;
  bool Write(std::span<const std::uint8_t> bytes) override;
  bool HasInput() override;
  void PurgeInput() override;
  std::span<const std::uint8_t> Buffered() override {
    return std::span(buffer_).subspan(head_, tail_ - head_);
  }
  void Consume(std::size_t count) override { head_ += count; }
  bool Carrier() override;
  bool PutBack(std::uint8_t byte) override;

 private:
  int port_;
  TavixWindow window_;
  std::vector<std::uint8_t> buffer_;
  std::size_t head_ = 0;
  std::size_t tail_ = 0;
};

}  // namespace tavix
