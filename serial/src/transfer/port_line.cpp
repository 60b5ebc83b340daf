#include "port_line.h"

#include <algorithm>

#include "port/port_access.h"

namespace tavix {

PortLine::PortLine(int port, TavixWindow window)
    : port_(port), window_(window), buffer_(std::max<std::size_t>(ReceiveQueueSize(port), 1)) {}

PortLine::~PortLine() {
  ReturnReadAhead(port_, std::span(buffer_).subspan(head_, tail_ - head_));
}

int PortLine::ReadByte(std::chrono::milliseconds timeout) {
  if (head_ == tail_) {
    head_ = 0;
    tail_ = ReadAvailable(port_, buffer_, timeout, window_);
    if (tail_ == 0) return kLineTimeout;
  }
  return buffer_[head_++];
}

bool PortLine::Write(std::span<const std::uint8_t> bytes) {
  return WriteBlock(port_, bytes, window_) == bytes.size();
}

bool PortLine::HasInput() {
  return head_ != tail_ || QueuedInput(port_) > 0;
}

void PortLine::PurgeInput() {
  head_ = tail_ = 0;
  tavix::PurgeInput(port_);
}

bool PortLine::Carrier() {
  return CarrierDetected(port_);
}

bool PortLine::PutBack(std::uint8_t byte) {
  if (head_ == 0 || buffer_[head_ - 1] != byte) return false;
  --head_;
  return true;
}

}  // namespace tavix
