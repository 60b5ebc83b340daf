// The Xmodem and Ymodem engines against each other and against a scripted peer, in memory.
#include <gtest/gtest.h>

#include <future>

#include "memory_line.h"
#include "transfer_fixture.h"
#include "xymodem_receiver.h"
#include "xymodem_sender.h"
#include "ymodem_header.h"

namespace tavix::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

class BlockEngines : public TransferFolders {
 protected:
  // Runs our sender of `sendProtocol` on end A and our receiver of `receiveProtocol` on end B.
  std::pair<int, int> Transfer(int sendProtocol, int receiveProtocol,
                               const std::vector<std::string>& names,
                               const std::string& target = "") {
    auto receiving = std::async(std::launch::async, [&] {
      return ReceiveXymodem(receiver_, *DescribeBlockProtocol(receiveProtocol), in_.string(),
                            target);
    });
    // The receiver's last word after the batch end is not awaited for long in memory.
    XymodemSender sender(
        sender_, *DescribeBlockProtocol(sendProtocol),
        {std::chrono::seconds(60), std::chrono::seconds(60), std::chrono::milliseconds(50)});
    int sent = kTransferOk;
    for (const std::string& name : names) {
      FileToSend file = OpenFileToSend((out_ / name).string());
      sent = sender.SendFile(file, name);
      if (sent != kTransferOk) break;
    }
    if (sent == kTransferOk && sender.Protocol().batch) sent = sender.EndBatch();
    finalSendProtocol_ = sender.Protocol().number;
    return {sent, receiving.get()};
  }

  MemoryLinePair pair_;
  SilentProgress senderProgress_, receiverProgress_;
  TransferSession sender_{pair_.A(), senderProgress_};
  TransferSession receiver_{pair_.B(), receiverProgress_};
  int finalSendProtocol_ = -1;
};

TEST_F(BlockEngines, YmodemSends1500BytesAsOneLongAndFourShortBlocks) {
  const std::string bytes = MakeOutgoing("f.bin", 1500, 1);
  EXPECT_EQ(Transfer(kProtocolYmodem, kProtocolYmodem, {"f.bin"}), std::make_pair(0, 0));
  EXPECT_TRUE(SameBytes(Contents(in_ / "f.bin"), bytes));

  const Bytes wire = pair_.Written(true);
  // Header (133), STX block (1029), four SOH blocks (4 x 133), EOT, batch end (133).
  ASSERT_EQ(wire.size(), 133u + 1029 + 4 * 133 + 1 + 133);
  EXPECT_EQ(wire[0], kSoh);
  EXPECT_EQ(wire[1], 0);
  EXPECT_EQ(std::string(wire.begin() + 3, wire.begin() + 9), std::string("f.bin\0", 6));
  EXPECT_EQ(wire[133], kStx);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(wire[133 + 1029 + i * 133], kSoh);
  EXPECT_EQ(wire[133 + 1029 + 3 * 133 + 3 + 127], kSub);  // the last block is padded
  EXPECT_EQ(wire[133 + 1029 + 4 * 133], kEot);
}

TEST_F(BlockEngines, Xmodem1KKeepsTheFillBytesAndSendsOneByteAsAShortBlock) {
  const std::string bytes = MakeOutgoing("f.bin", 1500, 2);
  EXPECT_EQ(Transfer(kProtocolXmodem1K, kProtocolXmodem1K, {"f.bin"}, "got.bin"),
            std::make_pair(0, 0));
  EXPECT_TRUE(SameBytes(Contents(in_ / "got.bin"), bytes + std::string(36, '\x1A')));

  const std::string one = MakeOutgoing("one.bin", 1, 3);
  pair_.PurgeWritten();
  EXPECT_EQ(Transfer(kProtocolXmodem1K, kProtocolXmodem1K, {"one.bin"}, "one.bin"),
            std::make_pair(0, 0));
  const Bytes wire = pair_.Written(true);
  ASSERT_EQ(wire.size(), 133u + 1);
  EXPECT_EQ(wire[0], kSoh);
  EXPECT_EQ(wire[3], static_cast<std::uint8_t>(one[0]));
  EXPECT_EQ(std::count(wire.begin() + 4, wire.begin() + 131, kSub), 127);
}

TEST_F(BlockEngines, YmodemBatchOfEmptyOneByteAndLongerFiles) {
  const std::vector<std::string> names = {"e.bin", "o.bin", "l.bin"};
  const std::vector<std::string> sent = {MakeOutgoing(names[0], 0, 4), MakeOutgoing(names[1], 1, 5),
                                         MakeOutgoing(names[2], 9000, 6)};
  EXPECT_EQ(Transfer(kProtocolYmodem, kProtocolYmodem, names), std::make_pair(0, 0));
  for (std::size_t i = 0; i < names.size(); ++i) {
    EXPECT_TRUE(SameBytes(Contents(in_ / names[i]), sent[i])) << names[i];
  }
}

TEST_F(BlockEngines, YmodemGToAReceiverAskingForCrcFallsBackToYmodem) {
  const std::string bytes = MakeOutgoing("g.bin", 3000, 7);
  EXPECT_EQ(Transfer(kProtocolYmodemG, kProtocolYmodem, {"g.bin"}), std::make_pair(0, 0));
  EXPECT_EQ(finalSendProtocol_, kProtocolYmodem);
  EXPECT_TRUE(SameBytes(Contents(in_ / "g.bin"), bytes));
}

TEST_F(BlockEngines, ElevenNaksInARowEndTheUploadWithTooManyErrors) {
  MakeOutgoing("n.bin", 200, 8);
  auto nakking = std::async(std::launch::async, [&] {
    pair_.B().Write(Bytes{kCrcRequest});
    for (int nak = 0; nak < 11; ++nak) {
      while (pair_.B().ReadByte(std::chrono::seconds(5)) != kSoh) {
      }
      pair_.B().Write(Bytes{kNak});
    }
  });
  XymodemSender sender(sender_, *DescribeBlockProtocol(kProtocolXmodem));
  FileToSend file = OpenFileToSend((out_ / "n.bin").string());
  EXPECT_EQ(sender.SendFile(file, "n.bin"), kTransferTooManyErrors);
  nakking.get();
  EXPECT_EQ(senderProgress_.LastStatus(), TransferStatus::kTooManyErrors);
  EXPECT_EQ(senderProgress_.Errors(), 10 + 1);  // ten "Retransmitting Block", then the failure
}

TEST_F(BlockEngines, ABlockOutOfOrderIsABadBlockAndGetsANak) {
  const std::string payload = TestBytes(128, 9);
  const Bytes data(payload.begin(), payload.end());
  auto receiving = std::async(std::launch::async, [&] {
    return ReceiveXymodem(receiver_, *DescribeBlockProtocol(kProtocolXmodem), in_.string(),
                          "b.bin");
  });
  EXPECT_EQ(pair_.A().ReadByte(std::chrono::seconds(5)), kCrcRequest);
  Bytes wire;
  AppendXmodemBlock(wire, 1, data, true);
  pair_.A().Write(wire);
  EXPECT_EQ(pair_.A().ReadByte(std::chrono::seconds(5)), kAck);
  wire.clear();
  AppendXmodemBlock(wire, 3, data, true);
  pair_.A().Write(wire);
  EXPECT_EQ(pair_.A().ReadByte(std::chrono::seconds(5)), kNak);
  EXPECT_EQ(receiverProgress_.LastStatus(), TransferStatus::kBadBlock);
  wire.clear();
  AppendXmodemBlock(wire, 2, data, true);
  pair_.A().Write(wire);
  EXPECT_EQ(pair_.A().ReadByte(std::chrono::seconds(5)), kAck);
  pair_.A().Write(Bytes{kEot});
  EXPECT_EQ(pair_.A().ReadByte(std::chrono::seconds(5)), kAck);
  EXPECT_EQ(receiving.get(), kTransferOk);
  EXPECT_EQ(Contents(in_ / "b.bin"), payload + payload);
}

// A receiver that leaves without a word after the end-of-batch header (its ACK flushed away)
// ends the batch as complete; a NAK resends the header, and a cancel there still fails.
TEST_F(BlockEngines, YmodemBatchEndAcceptsSilenceButNotACancel) {
  MakeOutgoing("s.bin", 100, 14);
  const auto readBlock = [&] {
    Bytes block;
    while (block.size() < 133) {
      const int byte = pair_.B().ReadByte(std::chrono::seconds(5));
      if (byte == kLineTimeout) break;
      block.push_back(static_cast<std::uint8_t>(byte));
    }
    return block;
  };
  for (const Bytes& lastWord : {Bytes{}, Bytes{kCan, kCan}}) {
    pair_.PurgeWritten();
    auto receiving = std::async(std::launch::async, [&] {
      pair_.B().Write(Bytes{kCrcRequest});
      readBlock();  // the file's header
      pair_.B().Write(Bytes{kAck, kCrcRequest});
      readBlock();  // its one data block
      pair_.B().Write(Bytes{kAck});
      EXPECT_EQ(pair_.B().ReadByte(std::chrono::seconds(5)), kEot);
      pair_.B().Write(Bytes{kAck, kCrcRequest});
      const Bytes endHeader = readBlock();
      pair_.B().Write(Bytes{kNak});
      EXPECT_EQ(readBlock(), endHeader);
      pair_.B().Write(lastWord);
      return endHeader;
    });
    XymodemSender sender(
        sender_, *DescribeBlockProtocol(kProtocolYmodem),
        {std::chrono::seconds(60), std::chrono::seconds(60), std::chrono::milliseconds(300)});
    FileToSend file = OpenFileToSend((out_ / "s.bin").string());
    ASSERT_EQ(sender.SendFile(file, "s.bin"), kTransferOk);
    const int ended = sender.EndBatch();
    const Bytes endHeader = receiving.get();
    ASSERT_EQ(endHeader.size(), 133u);
    EXPECT_EQ(endHeader[1], 0);
    EXPECT_EQ(std::count(endHeader.begin() + 3, endHeader.begin() + 131, 0), 128);
    EXPECT_EQ(ended, lastWord.empty() ? kTransferOk : kTransferReceiverCancelled);
  }
}

// A Ymodem-G sender streams the file's data once it sees the receiver's "G" again, also when
// that "G" asked for a header that arrived damaged. The file is then lost, and the batch must
// fail rather than end with the next header as an empty batch.
TEST_F(BlockEngines, AYmodemGFileWhoseHeaderWasDamagedFailsTheBatch) {
  auto receiving = std::async(std::launch::async, [&] {
    return ReceiveXymodem(receiver_, *DescribeBlockProtocol(kProtocolYmodemG), in_.string(), "");
  });
  const auto awaitRequest = [&] {
    EXPECT_EQ(pair_.A().ReadByte(std::chrono::seconds(5)), kStreamRequest);
  };
  awaitRequest();
  Bytes wire;
  AppendXmodemBlock(wire, 0, MakeYmodemHeader("lost.bin", 1024, 0), true);
  wire.back() ^= 0x01;
  pair_.A().Write(wire);
  awaitRequest();
  wire.clear();
  AppendXmodemBlock(wire, 1, Bytes(kLongBlock, 'x'), true);
  wire.push_back(kEot);
  pair_.A().Write(wire);
  if (pair_.A().ReadByte(std::chrono::seconds(5)) == kStreamRequest) {
    wire.clear();
    AppendXmodemBlock(wire, 0, MakeYmodemBatchEnd(), true);
    pair_.A().Write(wire);
  }
  EXPECT_EQ(receiving.get(), kTransferTooManyErrors);
  EXPECT_FALSE(std::filesystem::exists(in_ / "lost.bin"));
}

TEST_F(BlockEngines, YmodemCompletesOverADamagedLineAndYmodemGFails) {
  const std::string bytes = MakeOutgoing("d.bin", 20000, 10);
  // About one damaged byte in 2 000, both ways: one block in two needs a second try.
  pair_.SetFaults(true, {0.00025, 0.00025, 11, 200});
  pair_.SetFaults(false, {0.00025, 0.00025, 12});
  EXPECT_EQ(Transfer(kProtocolYmodem, kProtocolYmodem, {"d.bin"}), std::make_pair(0, 0));
  EXPECT_TRUE(SameBytes(Contents(in_ / "d.bin"), bytes));
  EXPECT_GT(pair_.Damaged(), 0);

  // Streaming has no way back: the first damaged block ends it.
  pair_.SetFaults(true, {0.001, 0, 13, 200});
  pair_.SetFaults(false, {});
  EXPECT_EQ(Transfer(kProtocolYmodemG, kProtocolYmodemG, {"d.bin"}).second, kTransferTooManyErrors);
}

}  // namespace
}  // namespace tavix::testing
