// The simulated line: bytes pass unchanged on a clean line, faults come from the seed and are
// reported exactly.

#include "line_simulator.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace tavix::linesim {
namespace {

class Device {
 public:
  explicit Device(const std::string& path)
      : descriptor_(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK)) {}
  ~Device() { ::close(descriptor_); }
  int descriptor() const { return descriptor_; }

 private:
  int descriptor_;
};

std::vector<std::uint8_t> Pattern(std::size_t size) {
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>((i * 31) ^ (i >> 8));
  return bytes;
}

// Writes everything from `from` while reading at `to` until `expected` bytes came or the
// line has been quiet for half a second.
std::vector<std::uint8_t> Send(const Device& from, const Device& to,
                               const std::vector<std::uint8_t>& bytes, std::size_t expected) {
  std::vector<std::uint8_t> received;
  std::size_t written = 0;
  std::uint8_t buffer[4096];
  int quietRounds = 0;
  while (received.size() < expected && quietRounds < 50) {
    if (written < bytes.size()) {
      const ssize_t sent =
          ::write(from.descriptor(), bytes.data() + written, bytes.size() - written);
      if (sent > 0) written += static_cast<std::size_t>(sent);
    }
    pollfd wait{to.descriptor(), POLLIN, 0};
    ::poll(&wait, 1, 10);
    const ssize_t got = ::read(to.descriptor(), buffer, sizeof buffer);
    if (got > 0) {
      received.insert(received.end(), buffer, buffer + got);
      quietRounds = 0;
    } else if (written == bytes.size()) {
      ++quietRounds;
    }
  }
  return received;
}

TEST(LineSimulatorTest, CleanLineCarriesBothDirectionsUnchanged) {
  LineSimulator line({});
  Device a(line.endA());
  Device b(line.endB());
  const std::vector<std::uint8_t> forward = Pattern(100000);
  EXPECT_EQ(Send(a, b, forward, forward.size()), forward);
  const std::vector<std::uint8_t> back = Pattern(5000);
  EXPECT_EQ(Send(b, a, back, back.size()), back);
  line.stop();  // the counts are final once the relay has stopped
  const LineReport report = line.report();
  EXPECT_EQ(report.received[0], 100000u);
  EXPECT_EQ(report.delivered[0], 100000u);
  EXPECT_EQ(report.received[1], 5000u);
  EXPECT_EQ(report.delivered[1], 5000u);
  EXPECT_EQ(report.corrupted + report.dropped + report.duplicated, 0u);
}

std::vector<std::uint8_t> NoisyRun(std::uint64_t seed, LineReport& report) {
  LineSettings settings;
  settings.corruptRate = 0.01;
  settings.dropRate = 0.01;
  settings.duplicateRate = 0.01;
  settings.seed = seed;
  settings.bitsPerSecond = 115200;
  LineSimulator line(settings);
  Device a(line.endA());
  Device b(line.endB());
  const std::vector<std::uint8_t> bytes = Pattern(8000);
  std::vector<std::uint8_t> received = Send(a, b, bytes, bytes.size() + 1000);
  line.stop();
  report = line.report();
  return received;
}

TEST(LineSimulatorTest, FaultsFollowTheSeedAndAreCountedExactly) {
  LineReport first;
  LineReport again;
  const std::vector<std::uint8_t> received = NoisyRun(42, first);
  EXPECT_EQ(NoisyRun(42, again), received);
  EXPECT_EQ(again.corrupted, first.corrupted);

  SCOPED_TRACE(DescribeReport(first));
  EXPECT_EQ(first.received[0], 8000u);
  EXPECT_EQ(first.delivered[0], received.size());
  EXPECT_EQ(first.delivered[0], first.received[0] - first.dropped + first.duplicated);
  for (std::uint64_t count : {first.corrupted, first.dropped, first.duplicated}) {
    EXPECT_GT(count, 40u);  // about 80 each at 1 % of 8000
    EXPECT_LT(count, 130u);
  }
  LineReport other;
  EXPECT_NE(NoisyRun(7, other), received);
}

TEST(LineSimulatorTest, RefusesSettingsOutOfRange) {
  LineSettings slow;
  slow.bitsPerSecond = 299;
  EXPECT_THROW(LineSimulator{slow}, std::invalid_argument);
  LineSettings fast;
  fast.bitsPerSecond = 115201;
  EXPECT_THROW(LineSimulator{fast}, std::invalid_argument);
  LineSettings rate;
  rate.dropRate = 1.5;
  EXPECT_THROW(LineSimulator{rate}, std::invalid_argument);
}

}  // namespace
}  // namespace tavix::linesim
