#include "fd_line.h"

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "port/port_access.h"

namespace tavix {

namespace {

constexpr std::size_t kReadBlock = 16384;
// Longest single poll while events must be processed, so windows stay responsive.
constexpr std::chrono::milliseconds kEventSlice{20};

bool WaitFor(int fd, short events, std::chrono::milliseconds timeout) {
  pollfd entry{fd, events, 0};
  for (;;) {
    const int ready = ::poll(&entry, 1, static_cast<int>(timeout.count()));
    if (ready < 0 && errno == EINTR) continue;
    return ready > 0;
  }
}

}  // namespace

FdLine::FdLine(int fd, Hooks hooks, std::chrono::milliseconds writeTimeout)
    : fd_(fd), hooks_(std::move(hooks)), writeTimeout_(writeTimeout), buffer_(kReadBlock) {}

FdLine FdLine::OverPort(int port, Hooks hooks) {
  FdLine line(PortDescriptor(port), std::move(hooks), kWriteTimeout);
  line.buffer_.resize(std::max(kReadBlock, ReceiveQueueSize(port)));
  line.tail_ = TakeReadAhead(port, line.buffer_);
  return line;
}

bool FdLine::Fill(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    const auto left = std::max(std::chrono::duration_cast<std::chrono::milliseconds>(
                                   deadline - std::chrono::steady_clock::now()),
                               std::chrono::milliseconds{0});
    const auto slice = hooks_.processEvents ? std::min(left, kEventSlice) : left;
    if (WaitFor(fd_, POLLIN, slice)) {
      const ssize_t n = ::read(fd_, buffer_.data(), buffer_.size());
      if (n > 0) {
        head_ = 0;
        tail_ = static_cast<std::size_t>(n);
        return true;
      }
      if (n < 0 && errno != EINTR && errno != EAGAIN) return false;
      if (n == 0) return false;
    }
    if (hooks_.processEvents) hooks_.processEvents();
    if (left.count() == 0) return false;
  }
}

int FdLine::ReadByte(std::chrono::milliseconds timeout) {
  if (head_ == tail_ && !Fill(timeout)) return kLineTimeout;
  return buffer_[head_++];
}

bool FdLine::HasInput() {
  return head_ != tail_ || WaitFor(fd_, POLLIN, std::chrono::milliseconds{0});
}

void FdLine::PurgeInput() {
  head_ = tail_ = 0;
  if (::tcflush(fd_, TCIFLUSH) != 0) {
    while (WaitFor(fd_, POLLIN, std::chrono::milliseconds{0}) &&
           ::read(fd_, buffer_.data(), buffer_.size()) > 0) {
    }
  }
}

bool FdLine::Write(std::span<const std::uint8_t> bytes) {
  auto lastProgress = std::chrono::steady_clock::now();
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
    if (n > 0) {
      bytes = bytes.subspan(static_cast<std::size_t>(n));
      lastProgress = std::chrono::steady_clock::now();
      continue;
    }
    if (n < 0 && errno != EINTR && errno != EAGAIN) return false;
    if (std::chrono::steady_clock::now() - lastProgress >= writeTimeout_) return false;
    WaitFor(fd_, POLLOUT, kEventSlice);
    if (hooks_.processEvents) hooks_.processEvents();
  }
  return true;
}

}  // namespace tavix
