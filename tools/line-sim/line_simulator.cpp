#include "line_simulator.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <deque>
#include <random>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace tavix::linesim {
namespace {

using Clock = std::chrono::steady_clock;

// Bytes in flight per direction before the relay stops reading from the sender: the sender
// then feels the line as full, as it would with a real UART and a slow line.
constexpr std::size_t kLineBufferBytes = 4096;
constexpr int kBitsPerByte = 10;  // start bit, 8 data bits, stop bit

struct InFlight {
  Clock::time_point deliverAt;
  std::uint8_t byte;
};

}  // namespace

struct LineSimulator::Relay {
  // One generator per direction, so the faults of each direction follow from its own bytes
  // alone and not from how the two directions' reads happen to interleave.
  std::array<std::mt19937_64, 2> random;
  std::uniform_real_distribution<double> chance{0.0, 1.0};
  std::array<std::deque<InFlight>, 2> queues;
  std::array<Clock::time_point, 2> lineFreeAt{};
  // The receiving end's input was full at the last delivery: wait until it has room.
  std::array<bool, 2> receiverFull{};
};

std::string DescribeReport(const LineReport& report) {
  std::ostringstream text;
  text << "A->B received " << report.received[0] << " delivered " << report.delivered[0] << "\n"
       << "B->A received " << report.received[1] << " delivered " << report.delivered[1] << "\n"
       << "corrupted " << report.corrupted << "\n"
       << "dropped " << report.dropped << "\n"
       << "duplicated " << report.duplicated << "\n";
  return text.str();
}

LineSimulator::LineSimulator(const LineSettings& settings) : settings_(settings) {
  if (settings.bitsPerSecond != 0 &&
      (settings.bitsPerSecond < 300 || settings.bitsPerSecond > 115200))
    throw std::invalid_argument("bit rate must be 0 (unpaced) or 300 to 115200");
  for (double rate : {settings.corruptRate, settings.dropRate, settings.duplicateRate})
    if (!(rate >= 0.0 && rate <= 1.0)) throw std::invalid_argument("rates must be 0.0 to 1.0");
  if (settings.latency.count() < 0) throw std::invalid_argument("latency must not be negative");
  relay_ = std::make_unique<Relay>();
  relay_->random[0].seed(settings.seed);
  relay_->random[1].seed(~settings.seed);
  stopDescriptor_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (stopDescriptor_ < 0) throw std::system_error(errno, std::generic_category(), "eventfd");
  thread_ = std::thread([this] { run(); });
}

LineSimulator::~LineSimulator() {
  stop();
  ::close(stopDescriptor_);
}

void LineSimulator::stop() {
  if (!thread_.joinable()) return;
  stopping_ = true;
  const std::uint64_t one = 1;
  [[maybe_unused]] auto ignored = ::write(stopDescriptor_, &one, sizeof one);
  thread_.join();
}

LineReport LineSimulator::report() const {
  std::lock_guard lock(reportMutex_);
  return report_;
}

void LineSimulator::run() {
  Relay& relay = *relay_;
  const auto byteTime = settings_.bitsPerSecond == 0
                            ? Clock::duration::zero()
                            : std::chrono::duration_cast<Clock::duration>(std::chrono::nanoseconds(
                                  1'000'000'000LL * kBitsPerByte / settings_.bitsPerSecond));
  const bool faulty =
      settings_.dropRate > 0 || settings_.corruptRate > 0 || settings_.duplicateRate > 0;
  std::vector<std::uint8_t> buffer(kLineBufferBytes);
  while (!stopping_) {
    const Clock::time_point now = Clock::now();
    // Deliver what has arrived at the far end, in one write per direction.
    for (int direction = 0; direction < 2; ++direction) {
      auto& queue = relay.queues[direction];
      std::size_t due = 0;
      while (due < queue.size() && due < buffer.size() && queue[due].deliverAt <= now) {
        buffer[due] = queue[due].byte;
        ++due;
      }
      if (due == 0) continue;
      const ssize_t written = ::write(ends_[1 - direction].master(), buffer.data(), due);
      relay.receiverFull[direction] = written < static_cast<ssize_t>(due);
      if (written <= 0) continue;
      queue.erase(queue.begin(), queue.begin() + written);
      std::lock_guard lock(reportMutex_);
      report_.delivered[direction] += static_cast<std::uint64_t>(written);
    }

    // Wait for input from a sender with room on its line, for room at a receiver whose input
    // was full, or until the next delivery is due.
    pollfd waits[5] = {{stopDescriptor_, POLLIN, 0},
                       {-1, POLLIN, 0},
                       {-1, POLLIN, 0},
                       {-1, POLLOUT, 0},
                       {-1, POLLOUT, 0}};
    Clock::time_point wakeAt = Clock::time_point::max();
    for (int direction = 0; direction < 2; ++direction) {
      const auto& queue = relay.queues[direction];
      if (queue.size() < kLineBufferBytes) waits[1 + direction].fd = ends_[direction].master();
      if (queue.empty()) continue;
      if (relay.receiverFull[direction] && queue.front().deliverAt <= now) {
        waits[3 + direction].fd = ends_[1 - direction].master();
      } else {
        wakeAt = std::min(wakeAt, queue.front().deliverAt);
      }
    }
    timespec timeout{};
    timespec* timeoutPointer = nullptr;
    if (wakeAt != Clock::time_point::max()) {
      const auto wait = std::max(Clock::duration::zero(), wakeAt - Clock::now());
      const auto nanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count();
      timeout = {static_cast<time_t>(nanoseconds / 1'000'000'000), nanoseconds % 1'000'000'000};
      timeoutPointer = &timeout;
    }
    if (::ppoll(waits, 5, timeoutPointer, nullptr) < 0 && errno != EINTR) break;

    for (int direction = 0; direction < 2; ++direction) {
      if (!(waits[1 + direction].revents & POLLIN)) continue;
      auto& queue = relay.queues[direction];
      const std::size_t room = kLineBufferBytes - queue.size();
      const ssize_t got = ::read(ends_[direction].master(), buffer.data(), room);
      if (got <= 0) continue;
      const Clock::time_point arrived = Clock::now();
      Clock::time_point& lineFree = relay.lineFreeAt[direction];
      LineReport counts;
      for (ssize_t i = 0; i < got; ++i) {
        std::uint8_t byte = buffer[static_cast<std::size_t>(i)];
        // Each byte takes the line for one byte time, even when it is then lost.
        lineFree = std::max(lineFree, arrived) + byteTime;
        const Clock::time_point deliverAt = lineFree + settings_.latency;
        // A line without faults draws no chances, which would only slow the relay down.
        if (!faulty) {
          queue.push_back({deliverAt, byte});
          continue;
        }
        if (relay.chance(relay.random[direction]) < settings_.dropRate) {
          ++counts.dropped;
          continue;
        }
        if (relay.chance(relay.random[direction]) < settings_.corruptRate) {
          const auto flip = static_cast<std::uint8_t>(1u << (relay.random[direction]() % 8));
          byte ^= flip;
          ++counts.corrupted;
        }
        queue.push_back({deliverAt, byte});
        if (relay.chance(relay.random[direction]) < settings_.duplicateRate) {
          lineFree += byteTime;
          queue.push_back({lineFree + settings_.latency, byte});
          ++counts.duplicated;
        }
      }
      std::lock_guard lock(reportMutex_);
      report_.received[direction] += static_cast<std::uint64_t>(got);
      report_.dropped += counts.dropped;
      report_.corrupted += counts.corrupted;
      report_.duplicated += counts.duplicated;
    }
  }
}

}  // namespace tavix::linesim
