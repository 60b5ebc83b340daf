#include "tests/support/loopback_http_listener.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>
#include <string_view>

namespace paltrix::testing {
namespace {

int BoundLoopbackSocket(int& port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) throw std::runtime_error("socket failed");
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof address;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    ::close(fd);
    throw std::runtime_error("bind failed");
  }
  port = ntohs(address.sin_port);
  return fd;
}

// Waits for `fd` or the stop pipe; false when stopped.
bool WaitReadable(int fd, int stopFd) {
  pollfd fds[2] = {{fd, POLLIN, 0}, {stopFd, POLLIN, 0}};
  while (::poll(fds, 2, -1) < 0) {
  }
  return (fds[1].revents & POLLIN) == 0;
}

}  // namespace

LoopbackHttpListener::LoopbackHttpListener(Mode mode) : mode_(mode) {
  listenSocket_ = BoundLoopbackSocket(port_);
  if (::listen(listenSocket_, 4) != 0 || ::pipe2(stopPipe_, O_CLOEXEC) != 0) {
    throw std::runtime_error("listen failed");
  }
  thread_ = std::thread([this] { Serve(); });
}

LoopbackHttpListener::~LoopbackHttpListener() {
  static_cast<void>(::write(stopPipe_[1], "x", 1));
  thread_.join();
  ::close(listenSocket_);
  ::close(stopPipe_[0]);
  ::close(stopPipe_[1]);
}

int LoopbackHttpListener::UnusedPort() {
  int port = 0;
  ::close(BoundLoopbackSocket(port));
  return port;
}

std::string LoopbackHttpListener::Request(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  requestComplete_.wait_for(lock, timeout, [this] { return complete_; });
  return request_;
}

int LoopbackHttpListener::connections() {
  std::lock_guard lock(mutex_);
  return connections_;
}

void LoopbackHttpListener::Serve() {
  if (!WaitReadable(listenSocket_, stopPipe_[0])) return;
  const int connection = ::accept4(listenSocket_, nullptr, nullptr, SOCK_CLOEXEC);
  if (connection < 0) return;
  {
    std::lock_guard lock(mutex_);
    ++connections_;
  }
  std::string received;
  char buffer[4096];
  while (received.find("\r\n\r\n") == std::string::npos && WaitReadable(connection, stopPipe_[0])) {
    const ssize_t count = ::read(connection, buffer, sizeof buffer);
    if (count <= 0) break;
    received.append(buffer, static_cast<std::size_t>(count));
  }
  {
    std::lock_guard lock(mutex_);
    request_ = received;
    complete_ = true;
  }
  requestComplete_.notify_all();
  if (mode_ == Mode::kReply) {
    constexpr std::string_view kReply = "HTTP/1.0 200 OK\r\nContent-Length: 2\r\n\r\nOK";
    static_cast<void>(::write(connection, kReply.data(), kReply.size()));
  } else {
    pollfd stop{stopPipe_[0], POLLIN, 0};
    while (::poll(&stop, 1, -1) < 0) {
    }
  }
  ::close(connection);
}

}  // namespace paltrix::testing
