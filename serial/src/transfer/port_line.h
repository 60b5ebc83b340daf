#pragma once

#include "line.h"
#include "tavix32.h"

namespace tavix {

// The Line of an open port: reads and writes go through the port layer, whose waits process
// the caller's events.
class PortLine : public Line {
 public:
  PortLine(int port, TavixWindow window) : port_(port), window_(window) {}

  int ReadByte(std::chrono::milliseconds timeout) override;
  bool Write(std::span<const std::uint8_t> bytes) override;
  bool HasInput() override;
  void PurgeInput() override;
  bool Carrier() override;
  bool PutBack(std::uint8_t byte) override;

 private:
  int port_;
  TavixWindow window_;
};

}  // namespace tavix
