#include "tests/output/raw_port_listener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace paltrix::output::testing {
namespace {

// A TCP socket bound to 127.0.0.1 on a port the system picks.
int BindLoopback(std::uint16_t& port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) throw std::runtime_error(std::string("socket: ") + std::strerror(errno));
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), length) < 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) < 0) {
    const int error = errno;
    ::close(fd);
    throw std::runtime_error(std::string("bind: ") + std::strerror(error));
  }
  port = ntohs(address.sin_port);
  return fd;
}

}  // namespace

RawPortListener::RawPortListener(bool keepJobs) : keepJobs_(keepJobs) {
  listener_ = BindLoopback(port_);
  if (::listen(listener_, 16) < 0) {
    ::close(listener_);
    throw std::runtime_error(std::string("listen: ") + std::strerror(errno));
  }
  server_ = std::thread([this] { Serve(); });
}

RawPortListener::~RawPortListener() {
  stopping_ = true;
  server_.join();
  ::close(listener_);
}

std::string RawPortListener::uri() const {
  return "socket://127.0.0.1:" + std::to_string(port_);
}

void RawPortListener::Serve() {
  while (!stopping_) {
    pollfd waiting{listener_, POLLIN, 0};
    if (::poll(&waiting, 1, 50) <= 0) continue;
    const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) continue;
    std::string job;
    char buffer[16384];
    for (;;) {
      const ssize_t received = ::recv(connection, buffer, sizeof buffer, 0);
      if (received < 0 && errno == EINTR) continue;
      if (received <= 0) break;
      if (keepJobs_) job.append(buffer, static_cast<std::size_t>(received));
    }
    ::close(connection);
    {
      const std::lock_guard lock(mutex_);
      if (keepJobs_) jobs_.push_back(std::move(job));
      ++jobCount_;
    }
    arrived_.notify_all();
  }
}

std::vector<std::string> RawPortListener::WaitForJobs(std::size_t count,
                                                      std::chrono::seconds wait) {
  std::unique_lock lock(mutex_);
  arrived_.wait_for(lock, wait, [&] { return jobCount_ >= count; });
  return jobs_;
}

std::size_t RawPortListener::jobCount() {
  const std::lock_guard lock(mutex_);
  return jobCount_;
}

RefusingPort::RefusingPort() {
  socket_ = BindLoopback(port_);
}

RefusingPort::~RefusingPort() {
  ::close(socket_);
}

}  // namespace paltrix::output::testing
