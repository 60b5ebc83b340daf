// Reading and writing bytes, strings and CRC blocks over a pseudo-terminal.

#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "fake_timebase.h"
#include "fd_line.h"
#include "port/crc.h"
#include "port/port_access.h"
#include "port_fixture.h"
#include "port_line.h"

namespace tavix::testing {
namespace {

std::string Bytes(const std::vector<std::uint8_t>& bytes) {
  return {bytes.begin(), bytes.end()};
}

std::vector<std::uint8_t> BlockWithCrc(std::size_t length) {
  std::vector<std::uint8_t> block(length);
  for (std::size_t i = 0; i < length; ++i) block[i] = static_cast<std::uint8_t>(i * 7 + 3);
  const std::uint32_t crc = GetCRC32(block.data(), static_cast<int32_t>(length));
  for (int i = 0; i < 4; ++i) block.push_back(static_cast<std::uint8_t>(crc >> (8 * i)));
  return block;
}

TEST(CrcTest, CheckValuesAndResidue) {
  const std::uint8_t digits[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
  EXPECT_EQ(GetCRC32(digits, 9), 0xCBF43926u);
  EXPECT_EQ(GetCRC32(digits, 0), 0u);
  EXPECT_EQ(GetCRC32(digits, -5), 0u);
  EXPECT_EQ(Crc16Xmodem(digits), 0x31C3u);
  EXPECT_EQ(Crc16Xmodem({}), 0u);
  const std::vector<std::uint8_t> block = BlockWithCrc(128);
  EXPECT_EQ(Crc32Update(0xFFFFFFFFu, block), kCrc32Residue);
}

// The CRC-32 takes eight bytes a step: every length and every split of a running register must
// give what the plain bit-by-bit definition gives.
TEST(CrcTest, Crc32MatchesTheBitwiseDefinitionForEveryLengthAndSplit) {
  const auto bitwise = [](std::uint32_t reg, std::span<const std::uint8_t> bytes) {
    for (const std::uint8_t byte : bytes) {
      reg ^= byte;
      for (int bit = 0; bit < 8; ++bit) reg = (reg & 1) ? (reg >> 1) ^ 0xEDB88320u : reg >> 1;
    }
    return reg;
  };
  std::vector<std::uint8_t> bytes(41);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 151 + 7);
  for (std::size_t length = 0; length <= bytes.size(); ++length) {
    const std::span<const std::uint8_t> all(bytes.data(), length);
    const std::uint32_t expected = bitwise(0xFFFFFFFFu, all);
    for (std::size_t split = 0; split <= length; ++split) {
      EXPECT_EQ(Crc32Update(Crc32Update(0xFFFFFFFFu, all.first(split)), all.subspan(split)),
                expected)
          << length << " bytes split at " << split;
    }
  }
}

TEST_F(PortTest, GetsStopsAtTheTerminatorAndLeavesTheRestQueued) {
  SendFromPeer("OK\r\n");
  std::uint8_t buffer[16];
  std::memset(buffer, 0xEE, sizeof buffer);
  EXPECT_EQ(ComGets(kPort, buffer, '\r'), 2);
  EXPECT_STREQ(reinterpret_cast<char*>(buffer), "OK");
  EXPECT_EQ(RecvCount(kPort), 1);
  EXPECT_EQ(ComGetc(kPort), '\n');
  EXPECT_EQ(ComGetc(kPort), -1);
  EXPECT_EQ(Rxempty(kPort), 1);
  EXPECT_EQ(ComGets(kPort, buffer, '\r'), 0);
  EXPECT_EQ(buffer[0], 0);
}

TEST_F(PortTest, GetdReturnsAQueuedByteAndTimesOutWithoutOne) {
  EXPECT_EQ(ComGetd(kPort, nullptr, 0), -10);
  SendFromPeer("x");
  EXPECT_EQ(ComGetd(kPort, nullptr, 0), 'x');
  FakeTimebase clock;
  const std::uint64_t start = clock.NowMs();
  EXPECT_EQ(ComGetd(kPort, nullptr, 2), -10);
  EXPECT_EQ(clock.NowMs() - start, 2u * 18 * 55);
}

TEST_F(PortTest, BlockWithCrcIsAcceptedWholeAndRefusedShortOrDamaged) {
  std::vector<std::uint8_t> buffer(200);
  const std::vector<std::uint8_t> good = BlockWithCrc(128);
  SendFromPeer(Bytes(good));
  ASSERT_EQ(ComGetBlockCRC(kPort, buffer.data(), 128), 128);
  EXPECT_EQ(std::memcmp(buffer.data(), good.data(), 128), 0);
  EXPECT_EQ(buffer[128], 0);

  SendFromPeer(Bytes(good).substr(0, 131));
  EXPECT_EQ(ComGetBlockCRC(kPort, buffer.data(), 128), -1);
  EXPECT_EQ(RecvCount(kPort), 0);  // the short block is gone

  std::vector<std::uint8_t> damaged = good;
  damaged[40] ^= 0x10;
  SendFromPeer(Bytes(damaged));
  EXPECT_EQ(ComGetBlockCRC(kPort, buffer.data(), 128), -1);
  EXPECT_EQ(RecvCount(kPort), 0);
}

TEST_F(PortTest, WrittenCrcBlockReadsBackAsGood) {
  std::vector<std::uint8_t> payload(1024);
  for (std::size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<std::uint8_t>(i);
  EXPECT_EQ(ComPutbCRC(kPort, payload.data(), 1024), 1);
  SendFromPeer(ReceivedByPeer(1028));
  std::vector<std::uint8_t> buffer(1029);
  EXPECT_EQ(ComGetBlockCRC(kPort, buffer.data(), 1024), 1024);
  EXPECT_EQ(std::memcmp(buffer.data(), payload.data(), 1024), 0);
}

TEST(ReadLimitTest, NoReadStoresMoreThanTheReceiveQueue) {
  linesim::PseudoTerminal line;
  MapPort(4, line.devicePath());
  ASSERT_EQ(SetPortEx(4, kOwner, 128, 0, 0, 0, 0), TAVIX_PORT_OPENED);
  ASSERT_EQ(InitPort(4, 9600, 0, 8, 1), 0);
  const std::string flood(1000, 'z');
  ASSERT_EQ(::write(line.master(), flood.data(), flood.size()), 1000);
  while (RecvCount(4) < 1000) ::usleep(1000);

  // Each buffer is exactly the queue size plus one, followed by guard bytes.
  std::vector<std::uint8_t> buffer(128 + 1 + 16, 0xA5);
  EXPECT_EQ(ComGetb(4, buffer.data()), 128);
  EXPECT_EQ(ComGets(4, buffer.data(), '\r'), 128);
  EXPECT_EQ(ComGetBlock(4, buffer.data(), 5000), 128);
  EXPECT_EQ(buffer[128], 0);
  for (std::size_t i = 129; i < buffer.size(); ++i) ASSERT_EQ(buffer[i], 0xA5) << i;
  EXPECT_EQ(ReadAvailable(4, buffer, std::chrono::milliseconds(0)), 128u);
  EXPECT_EQ(RecvCount(4), 1000 - 4 * 128);
  ResetPort(4, kOwner);
}

TEST_F(PortTest, WritersPutExactlyTheirBytesOnTheLine) {
  EXPECT_EQ(ComPutc(kPort, 'A'), 1);
  ComPuts(kPort, "BC");
  const std::uint8_t block[] = {0, 1, 2, 0xFF};
  ComPutb(kPort, block, 4);
  CancelTransfer(kPort);
  EXPECT_EQ(ReceivedByPeer(27), std::string("ABC") + std::string("\0\1\2\xFF", 4) +
                                    std::string(10, '\x18') + std::string(10, '\x08'));
}

TEST_F(PortTest, ModemCommandPausesAtTheTilde) {
  FakeTimebase clock;
  std::vector<std::string> sentBeforeEachPause;
  std::uint32_t paused = 0;
  clock.onSleep = [&](std::uint32_t milliseconds) {
    sentBeforeEachPause.push_back(ReceivedByPeer());
    paused += milliseconds;
  };
  ModemPuts(kPort, "ATZ^M~ATDT123^M^X^");
  ASSERT_EQ(sentBeforeEachPause.size(), 1u);
  EXPECT_EQ(sentBeforeEachPause[0], "ATZ\r");
  EXPECT_EQ(paused, 9u * 55);
  EXPECT_EQ(ReceivedByPeer(), "ATDT123\r^X^");
}

TEST_F(PortTest, PutcGivesUpWhenTheLineTakesNothing) {
  FakeTimebase clock;
  // Fill the line: nobody reads the far end. A pseudo-terminal moves written
  // bytes on to the far side's buffer a moment later, so the line is full
  // only once it has refused several writes in a row with pauses between.
  const int device = GetWindowsPort(kPort);
  std::vector<std::uint8_t> chunk(4096, 'f');
  std::size_t filled = 0;
  for (int refusals = 0; refusals < 3;) {
    const ssize_t written = ::write(device, chunk.data(), chunk.size());
    if (written > 0) {
      filled += static_cast<std::size_t>(written);
      refusals = 0;
    } else {
      ++refusals;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
  ASSERT_GT(filled, 0u);
  const std::uint64_t start = clock.NowMs();
  EXPECT_EQ(ComPutc(kPort, 'x'), 0);
  EXPECT_GE(clock.NowMs() - start, 5000u);
  EXPECT_EQ(WriteBlock(kPort, chunk), 0u);

  ReceivedByPeer(filled);  // the far end reads: the line takes bytes again
  EXPECT_EQ(ComPutc(kPort, 'y'), 1);
}

TEST_F(PortTest, ClearingDropsQueuedInputAndReadAhead) {
  SendFromPeer("abcdef");
  EXPECT_EQ(ComGetc(kPort), 'a');  // the rest now waits in the library's read-ahead
  EXPECT_EQ(RecvCount(kPort), 5);
  std::uint8_t handedOver[2];
  EXPECT_EQ(TakeReadAhead(kPort, handedOver), 2u);
  EXPECT_EQ(handedOver[0], 'b');
  EXPECT_EQ(handedOver[1], 'c');
  EXPECT_EQ(RecvCount(kPort), 3);
  ClrRecvBuf(kPort);
  EXPECT_EQ(RecvCount(kPort), 0);
  EXPECT_EQ(ComGetc(kPort), -1);
  EXPECT_EQ(ReadByte(kPort, std::chrono::milliseconds(0)), kReadTimedOut);
}

// A transfer that starts after byte reads gets the bytes those reads fetched ahead, in order,
// before what the device still holds.
TEST_F(PortTest, ALineOverThePortStartsWithTheBytesReadAhead) {
  SendFromPeer("abcdef");
  EXPECT_EQ(ComGetc(kPort), 'a');
  FdLine line = FdLine::OverPort(kPort);
  SendFromPeer("gh");
  std::string got;
  for (int byte; (byte = line.ReadByte(std::chrono::milliseconds(200))) != kLineTimeout;)
    got.push_back(static_cast<char>(byte));
  EXPECT_EQ(got, "bcdefgh");
  EXPECT_EQ(ComGetc(kPort), -1);
}

// The transfers' line takes input in blocks; what it took and did not use (a byte put back
// included) is the port's again when the line ends, ahead of what the device still holds.
TEST_F(PortTest, APortLineHandsBackWhatItReadPastItsEnd) {
  SendFromPeer("abcdef");
  EXPECT_EQ(ComGetc(kPort), 'a');
  {
    PortLine line(kPort, nullptr);
    EXPECT_EQ(line.ReadByte(std::chrono::milliseconds(200)), 'b');
    EXPECT_EQ(line.ReadByte(std::chrono::milliseconds(200)), 'c');
    EXPECT_FALSE(line.PutBack('x'));  // only the byte just read goes back
    EXPECT_TRUE(line.PutBack('c'));
    SendFromPeer("gh");
  }
  std::string rest;
  for (int byte; (byte = ComGetc(kPort)) != -1;) rest.push_back(static_cast<char>(byte));
  EXPECT_EQ(rest, "cdefgh");
}

}  // namespace
}  // namespace tavix::testing

namespace tavix::testing {
namespace {

TEST_F(PortTest, ClosingRightAfterAWriteKeepsTheWrittenBytes) {
  ComPuts(kPort, "final reply");
  ResetPort(kPort, kOwner);
  EXPECT_EQ(ReceivedByPeer(11), "final reply");
}

}  // namespace
}  // namespace tavix::testing
