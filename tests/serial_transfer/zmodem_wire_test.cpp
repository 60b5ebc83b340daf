// Zmodem frames and Xmodem blocks as they go over the line, read back by our own readers.
#include "zmodem_wire.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "fd_line.h"
#include "memory_line.h"
#include "transfer_fixture.h"
#include "xymodem_block.h"
#include "zmodem_reader.h"

namespace tavix::testing {
namespace {

using namespace zmodem;
using Bytes = std::vector<std::uint8_t>;

class WireTest : public ::testing::Test {
 protected:
  // Puts `bytes` on the line towards the reader.
  void Send(const Bytes& bytes) { pair_.A().Write(bytes); }

  MemoryLinePair pair_;
  SilentProgress progress_;
  TransferSession session_{pair_.B(), progress_};
  FrameReader reader_{session_};
};

TEST_F(WireTest, EscapesControlBytesAndCarriageReturnAfterAt) {
  FrameWriter writer;
  Bytes out;
  const Bytes data = {0x18, '@', '\r', '\r', 0x11, 0x13, 0x90, 0x7F, 0xC0, 0x8D, 0x01};
  writer.AppendSubpacket(out, data, kZcrcg, false);
  const Bytes expected = {0x18, 0x58, '@',  0x18, 0x4D, '\r', 0x18, 0x51, 0x18,  0x53,
                          0x18, 0xD0, 0x7F, 0xC0, 0x18, 0xCD, 0x01, 0x18, kZcrcg};
  EXPECT_EQ(Bytes(out.begin(), out.begin() + expected.size()), expected);

  // A receiver that asks for it gets every control character escaped.
  Bytes escaped;
  writer.SetEscapeControls(true);
  writer.AppendSubpacket(escaped, Bytes{0x01, 0x1F, 0x81, 'A'}, kZcrcg, false);
  EXPECT_EQ(Bytes(escaped.begin(), escaped.begin() + 7),
            (Bytes{0x18, 0x41, 0x18, 0x5F, 0x18, 0xC1, 'A'}));
}

TEST_F(WireTest, HeadersOfEveryEncodingReadBack) {
  struct Encoding {
    bool hex, crc32, variable;
    std::size_t length;
    std::uint8_t marker;
  };
  const Encoding encodings[] = {
      {true, false, false, 4, kZhex},   {false, false, false, 4, kZbin},
      {false, true, false, 4, kZbin32}, {true, false, true, 8, kZvhex},
      {false, false, true, 16, kZvbin}, {false, true, true, 2, kZvbin32},
  };
  for (const Encoding& e : encodings) {
    SCOPED_TRACE(static_cast<char>(e.marker));
    FrameWriter writer;
    Bytes data(e.length);
    for (std::size_t i = 0; i < data.size(); ++i)
      data[i] = static_cast<std::uint8_t>(0x0D + i * 17);
    data[0] = 0x18;  // needs escaping in binary headers
    Bytes out;
    if (e.hex) {
      writer.AppendHexHeader(out, kZrpos, data, e.variable);
      EXPECT_EQ(out.back(), kXon);
    } else {
      writer.AppendBinaryHeader(out, kZrpos, data, e.crc32, e.variable);
    }
    EXPECT_EQ(out[e.hex ? 3 : 2], e.marker);
    Send(Bytes{'x', 'y', kXon});  // junk before a header is skipped
    Send(out);
    EXPECT_EQ(reader_.ReadHeader(), kZrpos);
    EXPECT_EQ(reader_.HeaderLength(), e.length);
    EXPECT_EQ(Bytes(reader_.Data().begin(), reader_.Data().begin() + e.length), data);
    EXPECT_EQ(reader_.LastWasCrc32(), e.crc32);
    EXPECT_EQ(reader_.LastWasVariable(), e.variable);

    // The same header with one bit flipped fails its check.
    out[out.size() / 2 + 1] ^= 0x01;
    Send(out);
    const int damaged = reader_.ReadHeader();
    EXPECT_TRUE(damaged == kHeaderCrcError || damaged == kHeaderError) << damaged;
    pair_.B().PurgeInput();
  }
}

TEST_F(WireTest, HexHeadersAreLowerCaseAndZfinCarriesNoXon) {
  FrameWriter writer;
  Bytes out;
  writer.AppendHexHeader(out, kZfin, PositionData(0xABCDEF12), false);
  const std::string text(out.begin(), out.end());
  EXPECT_EQ(text.substr(0, 14),
            "**\x18"
            "B0812efcdab");
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
}

TEST_F(WireTest, SubpacketsCheckTheirCrcAndLength) {
  const std::string payload = TestBytes(1024, 3);
  const Bytes data(payload.begin(), payload.end());
  std::array<std::uint8_t, kMaxSubpacket> buffer{};
  for (const bool crc32 : {false, true}) {
    SCOPED_TRACE(crc32 ? "CRC-32" : "CRC-16");
    FrameWriter writer;
    Bytes good;
    writer.AppendSubpacket(good, data, kZcrcw, crc32);
    Send(good);
    Subpacket packet = reader_.ReadSubpacket(buffer, crc32);
    EXPECT_EQ(packet.error, SubpacketError::kNone);
    EXPECT_EQ(packet.frameEnd, kZcrcw);
    EXPECT_EQ(Bytes(buffer.begin(), buffer.end()), data);

    Bytes damaged = good;
    damaged[500] ^= 0x04;
    Send(damaged);
    EXPECT_EQ(reader_.ReadSubpacket(buffer, crc32).error, SubpacketError::kCrcError);

    Bytes tooLong;
    Bytes longer = data;
    longer.push_back(0x42);
    writer.AppendSubpacket(tooLong, longer, kZcrcg, crc32);
    Send(tooLong);
    EXPECT_EQ(reader_.ReadSubpacket(buffer, crc32).error, SubpacketError::kLongPacket);
    pair_.B().PurgeInput();
  }
  Send(Bytes{'a', 0x18, 0x18, 0x18, 0x18, 0x18});
  EXPECT_EQ(reader_.ReadSubpacket(buffer, true).error, SubpacketError::kCancelled);
}

// A line with a buffer of its own hands runs of plain data to the reader in one piece: flow
// control inside them is still dropped, escapes decoded, the buffer's limit kept, and nothing
// after the subpacket taken from the line.
TEST(BufferedLineReads, SubpacketsReadAsOverAByteByByteLine) {
  int pipeEnds[2];
  ASSERT_EQ(::pipe(pipeEnds), 0);
  FdLine line(pipeEnds[0]);
  SilentProgress progress;
  TransferSession session{line, progress};
  FrameReader reader(session);
  const std::string payload = TestBytes(1024, 5);
  const Bytes data(payload.begin(), payload.end());
  FrameWriter writer;
  Bytes wire;
  writer.AppendSubpacket(wire, data, kZcrcg, true);
  for (const std::size_t at : {std::size_t{1}, std::size_t{300}, wire.size() - 3}) {
    wire.insert(wire.begin() + static_cast<std::ptrdiff_t>(at), at == 1 ? kXon : kXoff | 0x80);
  }
  writer.AppendSubpacket(wire, data, kZcrce, true);
  const std::string after = "tail";
  wire.insert(wire.end(), after.begin(), after.end());
  ASSERT_EQ(::write(pipeEnds[1], wire.data(), wire.size()), static_cast<ssize_t>(wire.size()));

  std::array<std::uint8_t, kMaxSubpacket> buffer{};
  for (const std::uint8_t end : {kZcrcg, kZcrce}) {
    const Subpacket packet = reader.ReadSubpacket(buffer, true);
    EXPECT_EQ(packet.error, SubpacketError::kNone);
    EXPECT_EQ(packet.frameEnd, end);
    EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(packet.length)),
              data);
  }
  for (const char expected : after) EXPECT_EQ(line.ReadByte(std::chrono::seconds(1)), expected);

  Bytes tooLong;
  writer.AppendSubpacket(tooLong, data, kZcrcg, true);
  ASSERT_EQ(::write(pipeEnds[1], tooLong.data(), tooLong.size()),
            static_cast<ssize_t>(tooLong.size()));
  EXPECT_EQ(reader.ReadSubpacket(std::span(buffer).first(1000), true).error,
            SubpacketError::kLongPacket);
  ::close(pipeEnds[0]);
  ::close(pipeEnds[1]);
}

TEST_F(WireTest, XmodemBlocksAreCheckedAndNumbered) {
  const std::string payload = TestBytes(128, 4);
  const Bytes data(payload.begin(), payload.end());
  std::array<std::uint8_t, kLongBlock> block{};
  const auto receive = [&](std::uint8_t expected, bool crc) {
    return ReceiveXmodemBlock(session_, expected, crc, std::chrono::milliseconds(100), block);
  };
  for (const bool crc : {false, true}) {
    Bytes wire;
    AppendXmodemBlock(wire, 7, data, crc);
    EXPECT_EQ(wire.size(), crc ? 133u : 132u);
    Send(wire);
    const ReceivedBlock good = receive(7, crc);
    EXPECT_EQ(good.outcome, BlockOutcome::kGood);
    EXPECT_EQ(Bytes(block.begin(), block.begin() + good.size), data);

    Send(wire);
    EXPECT_EQ(receive(8, crc).outcome, BlockOutcome::kRepeated);
    Send(wire);
    EXPECT_EQ(receive(9, crc).outcome, BlockOutcome::kBadNumber);
    wire[60] ^= 0x10;
    Send(wire);
    EXPECT_EQ(receive(7, crc).outcome, BlockOutcome::kCheckError);
  }
  Send(Bytes{kCan, kCan});
  EXPECT_EQ(receive(1, true).outcome, BlockOutcome::kCancelled);
  Send(Bytes{kEot});
  EXPECT_EQ(receive(1, true).outcome, BlockOutcome::kEndOfFile);
  Send(Bytes{kSoh, 1, 254, 0x55});  // a block cut short
  EXPECT_EQ(receive(1, true).outcome, BlockOutcome::kTimeOut);
}

}  // namespace
}  // namespace tavix::testing
