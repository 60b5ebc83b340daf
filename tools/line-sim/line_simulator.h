#pragma once

// A simulated serial line for tests and benchmarks: two pseudo-terminals joined by a relay.
// Whatever a program writes to one end's device arrives at the other end's device, paced to
// a bit rate with 8N1 framing (10 bits per byte), after a latency, and with bytes corrupted,
// dropped or duplicated at given rates drawn from a seeded generator, so a run can be repeated.

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "pseudo_terminal.h"

namespace tavix::linesim {

struct LineSettings {
  // 0 relays as fast as the pseudo-terminals allow; otherwise 300 to 115200.
  std::uint32_t bitsPerSecond = 0;
  std::chrono::microseconds latency{0};
  // Probabilities per relayed byte, each 0.0 to 1.0.
  double corruptRate = 0.0;
  double dropRate = 0.0;
  double duplicateRate = 0.0;
  std::uint64_t seed = 1;
};

// What the relay did, per direction (0: from end A to end B, 1: from B to A).
struct LineReport {
  std::array<std::uint64_t, 2> received{};   // bytes read from the sending end
  std::array<std::uint64_t, 2> delivered{};  // bytes written to the receiving end
  std::uint64_t corrupted = 0;
  std::uint64_t dropped = 0;
  std::uint64_t duplicated = 0;
};

// Text of a report, one line per count, for the command line and test failure messages.
std::string DescribeReport(const LineReport& report);

class LineSimulator {
 public:
  // Starts the relay; throws std::invalid_argument for settings out of range and
  // std::system_error when no pseudo-terminal can be had.
  explicit LineSimulator(const LineSettings& settings);
  ~LineSimulator();
  LineSimulator(const LineSimulator&) = delete;
  LineSimulator& operator=(const LineSimulator&) = delete;

  const std::string& endA() const { return ends_[0].devicePath(); }
  const std::string& endB() const { return ends_[1].devicePath(); }

  LineReport report() const;

  // Stops the relay (bytes still on the line are lost); the destructor does it too.
  void stop();

 private:
  struct Relay;
  void run();

  LineSettings settings_;
  std::array<PseudoTerminal, 2> ends_;
  std::unique_ptr<Relay> relay_;
  mutable std::mutex reportMutex_;
  LineReport report_;
  int stopDescriptor_ = -1;
  std::atomic<bool> stopping_{false};
  std::thread thread_;
};

}  // namespace tavix::linesim
