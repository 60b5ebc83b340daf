#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace paltrix::output::testing {

// A network label printer's raw port on 127.0.0.1: accepts one connection at
// a time, reads it to the end and keeps what arrived as one job. Stands in
// for the printer behind socket:// names and behind a CUPS socket queue.
class RawPortListener {
 public:
  // keepJobs = false counts jobs but drops their bytes (for benchmarks).
  explicit RawPortListener(bool keepJobs = true);
  RawPortListener(const RawPortListener&) = delete;
  RawPortListener& operator=(const RawPortListener&) = delete;
  ~RawPortListener();

  std::uint16_t port() const { return port_; }
  std::string uri() const;  // socket://127.0.0.1:<port>

  // The jobs received so far once there are at least count of them, or what
  // there is when the wait runs out.
  std::vector<std::string> WaitForJobs(std::size_t count,
                                       std::chrono::seconds wait = std::chrono::seconds(30));
  std::size_t jobCount();

 private:
  void Serve();

  const bool keepJobs_;
  int listener_ = -1;
  std::uint16_t port_ = 0;
  std::atomic<bool> stopping_{false};
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::vector<std::string> jobs_;
  std::size_t jobCount_ = 0;
  std::thread server_;
};

// A loopback port that is bound but not listening, so that every connection
// to it is refused for as long as the object lives.
class RefusingPort {
 public:
  RefusingPort();
  RefusingPort(const RefusingPort&) = delete;
  RefusingPort& operator=(const RefusingPort&) = delete;
  ~RefusingPort();

  std::uint16_t port() const { return port_; }

 private:
  int socket_ = -1;
  std::uint16_t port_ = 0;
};

}  // namespace paltrix::output::testing
