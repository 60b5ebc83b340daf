#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace paltrix::testing {

// A one-connection HTTP peer on 127.0.0.1 that records the raw request
// bytes (up to the empty line that ends the header block). In kReply mode it
// then answers "HTTP/1.0 200 OK" and closes; in kSilent mode it keeps the
// connection open and never answers, until the listener goes away.
class LoopbackHttpListener {
 public:
  enum class Mode { kReply, kSilent };

  explicit LoopbackHttpListener(Mode mode = Mode::kReply);
  LoopbackHttpListener(const LoopbackHttpListener&) = delete;
  LoopbackHttpListener& operator=(const LoopbackHttpListener&) = delete;
  ~LoopbackHttpListener();

  int port() const { return port_; }

  // The request received so far; waits up to `timeout` for a complete one.
  std::string Request(std::chrono::milliseconds timeout = std::chrono::seconds(10));
  // Connections accepted so far.
  int connections();

  // A loopback port on which nobody listens (bound, then released).
  static int UnusedPort();

 private:
  void Serve();

  Mode mode_;
  int listenSocket_ = -1;
  int port_ = 0;
  int stopPipe_[2] = {-1, -1};
  std::mutex mutex_;
  std::condition_variable requestComplete_;
  std::string request_;
  bool complete_ = false;
  int connections_ = 0;
  std::thread thread_;
};

}  // namespace paltrix::testing
