#include "port_line.h"

#include "port/port_access.h"

namespace tavix {

int PortLine::ReadByte(std::chrono::milliseconds timeout) {
  const int byte = tavix::ReadByte(port_, timeout, window_);
  return byte == kReadTimedOut ? kLineTimeout : byte;
}

bool PortLine::Write(std::span<const std::uint8_t> bytes) {
  return WriteBlock(port_, bytes, window_) == bytes.size();
}

bool PortLine::HasInput() {
  return QueuedInput(port_) > 0;
}

void PortLine::PurgeInput() {
  tavix::PurgeInput(port_);
}

bool PortLine::Carrier() {
  return CarrierDetected(port_);
}

bool PortLine::PutBack(std::uint8_t byte) {
  return UnreadByte(port_, byte);
}

}  // namespace tavix
