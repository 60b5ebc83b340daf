// Transfers against lrzsz (sz, rz, sx, rx, sb, rb) as a black-box peer over a pseudo-terminal,
// in both directions; every received file is compared byte for byte.
#include <gtest/gtest.h>

#include <thread>

#include "fd_line.h"
#include "pty_peer.h"
#include "transfer_fixture.h"
#include "xymodem_receiver.h"
#include "xymodem_sender.h"
#include "zmodem_receiver.h"
#include "zmodem_sender.h"

namespace tavix::testing {
namespace {

// lrzsz drops its pending input right after each answer it sends (ACK, NAK, "C"). On a real
// line our reply takes a while to arrive; on a pseudo-terminal it would come at once and be
// dropped, so this line waits a few milliseconds before each write, as a line's latency would.
class LatencyLine : public Line {
 public:
  explicit LatencyLine(Line& inner) : inner_(inner) {}
  int ReadByte(std::chrono::milliseconds timeout) override { return inner_.ReadByte(timeout); }
  bool Write(std::span<const std::uint8_t> bytes) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return inner_.Write(bytes);
  }
  bool HasInput() override { return inner_.HasInput(); }
  void PurgeInput() override { inner_.PurgeInput(); }
  bool Carrier() override { return true; }

 private:
  Line& inner_;
};

class LrzszInterop : public TransferFolders {
 protected:
  LrzszInterop() : line_(pty_.Master()), latency_(line_), session_{latency_, progress_} {}

  PeerProcess StartPeer(std::vector<std::string> words, const std::filesystem::path& folder) {
    return PeerProcess(pty_, words, folder);
  }

  // Sends out/NAME for each name with our sender of `protocol` (batch end included).
  int SendBlockFiles(int protocol, const std::vector<std::string>& names) {
    // lrzsz flushes its terminal as it exits, which on a pseudo-terminal can swallow its last
    // ACK; shorter waits for it keep the test quick (the transfer is complete either way).
    XymodemSender sender(
        session_, *DescribeBlockProtocol(protocol),
        {std::chrono::seconds(60), std::chrono::seconds(1), std::chrono::milliseconds(300)});
    for (const std::string& name : names) {
      FileToSend file = OpenFileToSend((out_ / name).string());
      if (const int result = sender.SendFile(file, name); result != kTransferOk) return result;
    }
    return DescribeBlockProtocol(protocol)->batch ? sender.EndBatch() : kTransferOk;
  }

  int SendZmodemFiles(const std::vector<std::string>& names) {
    ZmodemSender sender(session_);
    sender.StartBatch();
    for (const std::string& name : names) {
      FileToSend file = OpenFileToSend((out_ / name).string());
      if (const int result = sender.SendFile(file, name); result != kTransferOk) return result;
    }
    return sender.EndBatch();
  }

  static std::string Padded(std::string bytes, std::size_t block) {
    if (bytes.size() % block != 0) bytes.append(block - bytes.size() % block, '\x1A');
    return bytes;
  }

  PtyPair pty_;
  FdLine line_;
  LatencyLine latency_;
  SilentProgress progress_;
  TransferSession session_;
};

TEST_F(LrzszInterop, XmodemBothWaysWithChecksumAndCrc) {
  const std::string bytes = MakeOutgoing("x.bin", 3000, 1);
  for (bool crc : {false, true}) {
    SCOPED_TRACE(crc ? "CRC" : "checksum");
    const std::string target = crc ? "crc.bin" : "sum.bin";
    std::vector<std::string> rx = {"rx", "-q"};
    if (crc) rx.push_back("-c");
    rx.push_back(target);
    PeerProcess peer = StartPeer(rx, in_);
    EXPECT_EQ(SendBlockFiles(kProtocolXmodem, {"x.bin"}), kTransferOk);
    EXPECT_EQ(peer.Wait(), 0);
    EXPECT_TRUE(SameBytes(Contents(in_ / target), Padded(bytes, 128)));
  }
  PeerProcess peer = StartPeer({"sx", "-q", "x.bin"}, out_);
  EXPECT_EQ(ReceiveXymodem(session_, *DescribeBlockProtocol(kProtocolXmodem), in_.string(),
                           "from-sx.bin"),
            kTransferOk);
  EXPECT_EQ(peer.Wait(), 0);
  EXPECT_TRUE(SameBytes(Contents(in_ / "from-sx.bin"), Padded(bytes, 128)));
}

TEST_F(LrzszInterop, Xmodem1KBothWays) {
  const std::string bytes = MakeOutgoing("k.bin", 5000, 2);
  PeerProcess rx = StartPeer({"rx", "-q", "-c", "k.bin"}, in_);
  EXPECT_EQ(SendBlockFiles(kProtocolXmodem1K, {"k.bin"}), kTransferOk);
  EXPECT_EQ(rx.Wait(), 0);
  EXPECT_TRUE(SameBytes(Contents(in_ / "k.bin"), Padded(bytes, 128)));

  PeerProcess sx = StartPeer({"sx", "-q", "-k", "k.bin"}, out_);
  EXPECT_EQ(ReceiveXymodem(session_, *DescribeBlockProtocol(kProtocolXmodem1K), in_.string(),
                           "from-sx.bin"),
            kTransferOk);
  EXPECT_EQ(sx.Wait(), 0);
  EXPECT_TRUE(SameBytes(Contents(in_ / "from-sx.bin"), Padded(bytes, 128)));
}

class LrzszYmodem : public LrzszInterop {
 protected:
  const std::vector<std::string> names_ = {"empty.bin", "one.bin", "some.bin", "more.bin"};
  const std::vector<std::string> sent_ = {
      MakeOutgoing(names_[0], 0, 3), MakeOutgoing(names_[1], 1, 4),
      MakeOutgoing(names_[2], 1500, 5), MakeOutgoing(names_[3], 7000, 6)};
};

TEST_F(LrzszYmodem, ReceivesBatchWithEmptyAndOneByteFilesFromSb) {
  std::vector<std::string> sb = {"sb", "-q"};
  sb.insert(sb.end(), names_.begin(), names_.end());
  PeerProcess sender = StartPeer(sb, out_);
  EXPECT_EQ(ReceiveXymodem(session_, *DescribeBlockProtocol(kProtocolYmodem), in_.string(), ""),
            kTransferOk);
  EXPECT_EQ(sender.Wait(), 0);
  for (std::size_t i = 0; i < names_.size(); ++i) {
    EXPECT_TRUE(SameBytes(Contents(in_ / names_[i]), sent_[i])) << names_[i];
  }
}

// rb flushes its terminal as it exits, which on a pseudo-terminal discards its ACK of the
// end-of-batch header: the batch still ends as complete.
TEST_F(LrzszYmodem, SendsBatchWithEmptyAndOneByteFilesToRb) {
  PeerProcess rb = StartPeer({"rb", "-q"}, in_);
  EXPECT_EQ(SendBlockFiles(kProtocolYmodem, names_), kTransferOk);
  EXPECT_EQ(rb.Wait(), 0);
  for (std::size_t i = 0; i < names_.size(); ++i) {
    EXPECT_TRUE(SameBytes(Contents(in_ / names_[i]), sent_[i])) << names_[i];
  }
}

TEST_F(LrzszInterop, ZmodemSendsBatchesToRz) {
  const std::vector<std::string> names = {"a.bin", "b.bin", "c.bin"};
  const std::vector<std::string> sent = {
      MakeOutgoing(names[0], 70000, 7), MakeOutgoing(names[1], 1, 8), MakeOutgoing(names[2], 0, 9)};
  for (const bool escapeAll : {false, true}) {
    SCOPED_TRACE(escapeAll ? "rz -e" : "rz");
    std::vector<std::string> rz = {"rz", "-q", "-y"};
    if (escapeAll) rz.push_back("-e");
    PeerProcess peer = StartPeer(rz, in_);
    EXPECT_EQ(SendZmodemFiles(names), kTransferOk);
    EXPECT_EQ(peer.Wait(), 0);
    for (std::size_t i = 0; i < names.size(); ++i)
      EXPECT_TRUE(SameBytes(Contents(in_ / names[i]), sent[i]));
  }
}

TEST_F(LrzszInterop, ZmodemReceivesFromSzWithEveryCrcAndEscaping) {
  const std::vector<std::string> names = {"a.bin", "b.bin"};
  const std::vector<std::string> sent = {MakeOutgoing(names[0], 50000, 10),
                                         MakeOutgoing(names[1], 3, 11)};
  for (const char* option : {"-q", "-o", "-e"}) {
    SCOPED_TRACE(option);
    std::filesystem::remove_all(in_);
    std::filesystem::create_directories(in_);
    PeerProcess peer = StartPeer({"sz", "-q", option, names[0], names[1]}, out_);
    EXPECT_EQ(ReceiveZmodem(session_, {in_.string(), false, false}), kTransferOk);
    EXPECT_EQ(peer.Wait(), 0);
    for (std::size_t i = 0; i < names.size(); ++i)
      EXPECT_TRUE(SameBytes(Contents(in_ / names[i]), sent[i]));
  }
}

TEST_F(LrzszInterop, ZmodemResumesPartialFilesBothWays) {
  const std::string bytes = MakeOutgoing("big.bin", 25000, 12);
  // Our receiver asks sz to go on from the 10 000 bytes it already holds.
  WriteContents(in_ / "big.bin", bytes.substr(0, 10000));
  PeerProcess sz = StartPeer({"sz", "-q", "big.bin"}, out_);
  EXPECT_EQ(ReceiveZmodem(session_, {in_.string(), true, false}), kTransferOk);
  EXPECT_EQ(sz.Wait(), 0);
  EXPECT_TRUE(SameBytes(Contents(in_ / "big.bin"), bytes));

  // rz -r asks our sender to go on from where its partial file ends.
  WriteContents(in_ / "big.bin", bytes.substr(0, 12345));
  PeerProcess rz = StartPeer({"rz", "-q", "-r"}, in_);
  EXPECT_EQ(SendZmodemFiles({"big.bin"}), kTransferOk);
  EXPECT_EQ(rz.Wait(), 0);
  EXPECT_TRUE(SameBytes(Contents(in_ / "big.bin"), bytes));
}

}  // namespace
}  // namespace tavix::testing
