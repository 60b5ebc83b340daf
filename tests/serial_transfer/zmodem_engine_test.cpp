// The Zmodem engines against each other and against a scripted peer, in memory.
#include <gtest/gtest.h>

#include <future>

#include "memory_line.h"
#include "transfer_fixture.h"
#include "zmodem_receiver.h"
#include "zmodem_sender.h"

namespace tavix::testing {
namespace {

using namespace zmodem;
using Bytes = std::vector<std::uint8_t>;

class ZmodemEngines : public TransferFolders {
 protected:
  // Sends out/NAME (announced as the paired sent name) to our receiver on end B.
  std::pair<int, int> Transfer(const std::vector<std::pair<std::string, std::string>>& files,
                               ZmodemReceiveOptions options, ZmodemSenderWaits waits = {}) {
    auto receiving =
        std::async(std::launch::async, [&] { return ReceiveZmodem(receiver_, options); });
    ZmodemSender sender(sender_, waits);
    sender.StartBatch();
    int sent = kTransferOk;
    for (const auto& [file, sentName] : files) {
      FileToSend opened = OpenFileToSend((out_ / file).string());
      sent = sender.SendFile(opened, sentName);
      if (sent != kTransferOk) break;
    }
    if (sent == kTransferOk) sent = sender.EndBatch();
    usedVariableHeaders_ = sender.UsesVariableHeaders();
    return {sent, receiving.get()};
  }

  MemoryLinePair pair_;
  SilentProgress senderProgress_, receiverProgress_;
  TransferSession sender_{pair_.A(), senderProgress_};
  TransferSession receiver_{pair_.B(), receiverProgress_};
  bool usedVariableHeaders_ = false;
};

TEST_F(ZmodemEngines, BatchWithVariableLengthHeadersAndCrc32) {
  const std::string big = MakeOutgoing("big.bin", 100000, 1);
  const std::string empty = MakeOutgoing("empty.bin", 0, 2);
  const std::string one = MakeOutgoing("one.bin", 1, 3);
  EXPECT_EQ(Transfer({{"big.bin", "big.bin"}, {"empty.bin", "empty.bin"}, {"one.bin", "one.bin"}},
                     {in_.string(), false, false}),
            std::make_pair(0, 0));
  EXPECT_TRUE(usedVariableHeaders_);
  EXPECT_TRUE(SameBytes(Contents(in_ / "big.bin"), big));
  EXPECT_TRUE(SameBytes(Contents(in_ / "empty.bin"), empty));
  EXPECT_TRUE(SameBytes(Contents(in_ / "one.bin"), one));
  const Bytes wire = pair_.Written(true);
  const Bytes variableCrc32 = {kZpad, kZdle, kZvbin32, 4, kZfile};
  EXPECT_NE(std::search(wire.begin(), wire.end(), variableCrc32.begin(), variableCrc32.end()),
            wire.end());
}

TEST_F(ZmodemEngines, HostileNamesLandInsideTheDownloadFolder) {
  MakeOutgoing("a.bin", 10, 4);
  for (const bool fullPathNames : {false, true}) {
    SCOPED_TRACE(fullPathNames ? "full path names" : "bare names");
    const std::filesystem::path folder = in_ / (fullPathNames ? "full" : "bare");
    std::filesystem::create_directories(folder);
    EXPECT_EQ(Transfer({{"a.bin", "../x1"}, {"a.bin", "/etc/x2"}, {"a.bin", "C:\\dos\\x3"}},
                       {folder.string(), false, fullPathNames}),
              std::make_pair(0, 0));
    EXPECT_TRUE(std::filesystem::exists(folder / "x1"));
    EXPECT_TRUE(std::filesystem::exists(folder / (fullPathNames ? "etc/x2" : "x2")));
    EXPECT_TRUE(std::filesystem::exists(folder / (fullPathNames ? "dos/x3" : "x3")));
  }
  EXPECT_FALSE(std::filesystem::exists(temp_ / "x1"));
}

TEST_F(ZmodemEngines, ResumesFrom10000Of25000AndRestartsAShorterAnnouncement) {
  const std::string bytes = MakeOutgoing("r.bin", 25000, 5);
  WriteContents(in_ / "r.bin", bytes.substr(0, 10000));
  EXPECT_EQ(Transfer({{"r.bin", "r.bin"}}, {in_.string(), true, false}), std::make_pair(0, 0));
  EXPECT_TRUE(SameBytes(Contents(in_ / "r.bin"), bytes));
  const Bytes answers = pair_.Written(false);
  const std::string fromReceiver(answers.begin(), answers.end());
  EXPECT_NE(fromReceiver.find("0910270000"), std::string::npos);  // hex ZRPOS 10000

  const std::string shorter = MakeOutgoing("s.bin", 5000, 6);
  WriteContents(in_ / "s.bin", bytes.substr(0, 10000));
  EXPECT_EQ(Transfer({{"s.bin", "s.bin"}}, {in_.string(), true, false}), std::make_pair(0, 0));
  EXPECT_TRUE(SameBytes(Contents(in_ / "s.bin"), shorter));
}

// One byte in 500 corrupted or lost, both ways. The waits are cut to suit the in-memory line,
// where a lost header would otherwise cost the receiver's full ten seconds.
TEST_F(ZmodemEngines, CompletesOverADamagedLine) {
  const std::string bytes = MakeOutgoing("d.bin", 20000, 7);
  pair_.SetFaults(true, {0.001, 0.001, 8, 400});
  pair_.SetFaults(false, {0.001, 0.001, 9, 200});
  ZmodemReceiveOptions options{in_.string(), false, false};
  options.headerWait = std::chrono::milliseconds(300);
  using std::chrono::seconds;
  EXPECT_EQ(Transfer({{"d.bin", "d.bin"}}, options, {seconds(1), seconds(1), seconds(1)}),
            std::make_pair(0, 0));
  EXPECT_TRUE(SameBytes(Contents(in_ / "d.bin"), bytes));
  EXPECT_GT(pair_.Damaged(), 10);
}

// A receiver written out by hand: answers ZRQINIT with the given ZRINIT, takes the ZFILE,
// asks for position 0 and records each data subpacket's length and frame end. `rposAt` lists
// the subpacket counts after which it asks for a resend of everything from the start of the
// subpacket just read.
struct ScriptedReceiver {
  std::vector<std::size_t> lengths;
  std::vector<std::uint8_t> ends;
  std::vector<std::uint32_t> frameStarts;

  void Run(Line& line, HeaderData init, std::vector<int> rposAt) {
    SilentProgress progress;
    TransferSession session{line, progress};
    FrameReader reader(session);
    FrameWriter writer;
    auto send = [&](int type, const HeaderData& data) {
      Bytes out;
      writer.AppendHexHeader(out, type, std::span(data.data(), 4), false);
      line.Write(out);
    };
    std::array<std::uint8_t, kMaxSubpacket> buffer{};
    std::uint32_t position = 0;
    int count = 0;
    for (;;) {
      const int header = reader.ReadHeader();
      if (header == kZrqinit) send(kZrinit, init);
      if (header == kZfile) {
        reader.ReadSubpacket(buffer, reader.LastWasCrc32());
        send(kZrpos, PositionData(0));
      }
      if (header == kZeof && reader.Position() == position) {
        send(kZrinit, init);
        return;
      }
      if (header != kZdata || reader.Position() != position) continue;
      frameStarts.push_back(position);
      for (bool more = true; more;) {
        const Subpacket packet = reader.ReadSubpacket(buffer, reader.LastWasCrc32());
        if (packet.error != SubpacketError::kNone) return;
        if (packet.length > 0) {
          lengths.push_back(packet.length);
          ends.push_back(packet.frameEnd);
        }
        ++count;
        if (!rposAt.empty() && count == rposAt.front()) {
          rposAt.erase(rposAt.begin());
          send(kZrpos, PositionData(position));
          break;
        }
        position += static_cast<std::uint32_t>(packet.length);
        if (packet.frameEnd == kZcrcw || packet.frameEnd == kZcrcq) {
          send(kZack, PositionData(position));
        }
        more = packet.frameEnd == kZcrcg || packet.frameEnd == kZcrcq;
      }
    }
  }
};

HeaderData ReceiverInit(std::uint16_t bufferSize, std::uint8_t flags) {
  HeaderData init{};
  init[0] = static_cast<std::uint8_t>(bufferSize & 0xFF);
  init[1] = static_cast<std::uint8_t>(bufferSize >> 8);
  init[kZf0] = flags;
  return init;
}

TEST_F(ZmodemEngines, A512ByteReceiverWindowGetsOneZcrcwFramePer512Bytes) {
  MakeOutgoing("w.bin", 3000, 10);
  ScriptedReceiver script;
  auto receiving = std::async(std::launch::async, [&] {
    script.Run(pair_.B(), ReceiverInit(512, kCanFullDuplex | kCanCrc32), {});
  });
  ZmodemSender sender(sender_);
  FileToSend file = OpenFileToSend((out_ / "w.bin").string());
  EXPECT_EQ(sender.SendFile(file, "w.bin"), kTransferOk);
  receiving.get();
  EXPECT_EQ(script.lengths, (std::vector<std::size_t>{512, 512, 512, 512, 512, 440}));
  EXPECT_EQ(script.ends,
            (std::vector<std::uint8_t>{kZcrcw, kZcrcw, kZcrcw, kZcrcw, kZcrcw, kZcrce}));
}

TEST_F(ZmodemEngines, ACrc16ReceiverGetsCrc16HeadersAndData) {
  MakeOutgoing("c.bin", 1000, 11);
  ScriptedReceiver script;
  auto receiving = std::async(std::launch::async,
                              [&] { script.Run(pair_.B(), ReceiverInit(0, kCanFullDuplex), {}); });
  ZmodemSender sender(sender_);
  FileToSend file = OpenFileToSend((out_ / "c.bin").string());
  EXPECT_EQ(sender.SendFile(file, "c.bin"), kTransferOk);
  receiving.get();
  EXPECT_FALSE(sender.UsesCrc32());
  EXPECT_EQ(script.lengths, (std::vector<std::size_t>{1000}));
  const Bytes wire = pair_.Written(true);
  const Bytes crc16File = {kZpad, kZdle, kZbin, kZfile};
  EXPECT_NE(std::search(wire.begin(), wire.end(), crc16File.begin(), crc16File.end()), wire.end());
}

TEST_F(ZmodemEngines, ZrposShrinksTheSubpacketsAndGoodOnesGrowThemBack) {
  MakeOutgoing("p.bin", 200000, 12);
  pair_.SetCapacity(4096);
  ScriptedReceiver script;
  // First resend request after the 2nd subpacket; the second one later, at 256-byte length.
  auto receiving = std::async(std::launch::async, [&] {
    script.Run(pair_.B(), ReceiverInit(0, kCanFullDuplex | kCanCrc32), {2, 14});
  });
  ZmodemSender sender(sender_);
  FileToSend file = OpenFileToSend((out_ / "p.bin").string());
  EXPECT_EQ(sender.SendFile(file, "p.bin"), kTransferOk);
  receiving.get();
  // Frames start at 0, at 1024 (after the first ZRPOS) and at the second ZRPOS.
  ASSERT_GE(script.frameStarts.size(), 3u);
  const auto at = [&](std::size_t first) {
    return std::vector<std::size_t>(script.lengths.begin() + first,
                                    script.lengths.begin() + first + 9);
  };
  // After the first ZRPOS: 256 four times, then 512 four times, then 1024.
  EXPECT_EQ(at(2), (std::vector<std::size_t>{256, 256, 256, 256, 512, 512, 512, 512, 1024}));
  // The second ZRPOS came on a 1024-byte subpacket: 256 from there, now eight per doubling.
  std::vector<std::size_t> tail(script.lengths.begin() + 14, script.lengths.end());
  ASSERT_GE(tail.size(), 17u);
  EXPECT_EQ(std::vector<std::size_t>(tail.begin(), tail.begin() + 17),
            (std::vector<std::size_t>{256, 256, 256, 256, 256, 256, 256, 256, 512, 512, 512, 512,
                                      512, 512, 512, 512, 1024}));
}

// Resend requests in a row quarter the subpackets down to 32 bytes, and never past what a
// receiver with a small buffer can hold.
TEST_F(ZmodemEngines, ResendRequestsInARowStopAt32BytesOrTheReceiversBuffer) {
  MakeOutgoing("r.bin", 5000, 13);
  for (const std::uint16_t buffer : {0, 16}) {
    SCOPED_TRACE(buffer);
    MemoryLinePair pair;
    pair.SetCapacity(4096);
    SilentProgress progress;
    TransferSession session{pair.A(), progress};
    ScriptedReceiver script;
    auto receiving = std::async(std::launch::async, [&] {
      script.Run(pair.B(), ReceiverInit(buffer, kCanFullDuplex | kCanCrc32), {1, 2, 3, 4, 5});
    });
    ZmodemSender sender(session);
    FileToSend file = OpenFileToSend((out_ / "r.bin").string());
    EXPECT_EQ(sender.SendFile(file, "r.bin"), kTransferOk);
    receiving.get();
    // Each subpacket the script refused was a quarter of the one before, or the floor.
    const std::size_t floor = buffer == 0 ? 32 : buffer;
    ASSERT_GE(script.lengths.size(), 6u);
    EXPECT_EQ(std::vector<std::size_t>(script.lengths.begin() + 3, script.lengths.begin() + 6),
              std::vector<std::size_t>(3, floor));
    EXPECT_EQ(*std::min_element(script.lengths.begin(), script.lengths.end() - 1), floor);
    if (buffer != 0) {
      EXPECT_EQ(*std::max_element(script.lengths.begin(), script.lengths.end()), floor);
    }
  }
}

// The receiver writes in large blocks: a disk that takes nothing must still end the transfer
// with the write error, also for a file smaller than one block (the failure shows only when the
// last block is written at ZEOF) and the sender must not see the file as received.
TEST_F(ZmodemEngines, AFullDiskIsAWriteErrorWhateverTheFileSize) {
  for (const std::size_t size : {1000u, 200000u}) {
    SCOPED_TRACE(size);
    MemoryLinePair pair;
    SilentProgress senderProgress, receiverProgress;
    TransferSession sender{pair.A(), senderProgress};
    TransferSession receiver{pair.B(), receiverProgress};
    MakeOutgoing("w.bin", size, 7);
    std::filesystem::remove(in_ / "w.bin");
    std::filesystem::create_symlink("/dev/full", in_ / "w.bin");
    auto receiving = std::async(std::launch::async, [&] {
      return ReceiveZmodem(receiver, {in_.string(), false, false});
    });
    ZmodemSender zmodem(
        sender, {std::chrono::seconds(5), std::chrono::seconds(5), std::chrono::seconds(1)});
    zmodem.StartBatch();
    FileToSend file = OpenFileToSend((out_ / "w.bin").string());
    const int sent = zmodem.SendFile(file, "w.bin");
    EXPECT_EQ(receiving.get(), kTransferWriteError);
    EXPECT_EQ(receiverProgress.LastStatus(), TransferStatus::kErrorWritingToFile);
    EXPECT_NE(sent, kTransferOk);
  }
}

// After the batch the line belongs to the peer again: its text right behind the sender's last
// words (a repeated ZFIN, "OO", either one missing) is left for the next reader of the line.
// A sender written out by hand: announces "s.bin" (`content`), answers the first ZRPOS with a
// damaged subpacket, then stays silent through `ignored` ZRPOS requests, as if each were lost
// on the way, before it answers one properly and ends the file. Returns the ZRPOS count read.
int SendPastLostRequests(Line& line, const std::string& content, int ignored) {
  SilentProgress progress;
  TransferSession session{line, progress};
  FrameReader reader(session);
  reader.SetTimeout(std::chrono::seconds(5));
  FrameWriter writer;
  const std::span<const std::uint8_t> data(reinterpret_cast<const std::uint8_t*>(content.data()),
                                           content.size());
  const std::string info = std::string("s.bin") + '\0' + std::to_string(content.size()) + " 0";
  Bytes out;
  auto send = [&] {
    line.Write(out);
    out.clear();
  };
  if (reader.ReadHeader() != kZrinit) return 0;
  writer.AppendBinaryHeader(out, kZfile, std::span(HeaderData{}.data(), 4), false, false);
  writer.AppendSubpacket(out, {reinterpret_cast<const std::uint8_t*>(info.data()), info.size() + 1},
                         kZcrcw, false);
  send();
  int requests = 0;
  int header = reader.ReadHeader();
  for (; header == kZrpos; header = reader.ReadHeader()) {
    ++requests;
    if (requests > 1 && requests <= 1 + ignored) continue;
    writer.AppendBinaryHeader(out, kZdata, std::span(PositionData(0).data(), 4), false, false);
    writer.AppendSubpacket(out, data, kZcrce, false);
    if (requests == 1) out[out.size() - 1] ^= 0x01;  // the CRC no longer matches
    writer.AppendBinaryHeader(
        out, kZeof, std::span(PositionData(static_cast<std::uint32_t>(content.size())).data(), 4),
        false, false);
    send();
  }
  if (header == kZrinit) {
    writer.AppendHexHeader(out, kZfin, std::span(HeaderData{}.data(), 4), false);
    out.insert(out.end(), {'O', 'O'});
    send();
  }
  return requests;
}

// One damaged subpacket is one error, however often the ZRPOS asking for it again is lost;
// yet a sender that never answers again still ends the transfer rather than hanging it.
TEST_F(ZmodemEngines, LostZrposRequestsAreAskedAgainWithoutUsingUpTheRetries) {
  const std::string content(300, 'z');
  ZmodemReceiveOptions options{in_.string(), false, false};
  options.headerWait = std::chrono::milliseconds(40);
  auto answered =
      std::async(std::launch::async, [&] { return SendPastLostRequests(pair_.A(), content, 10); });
  EXPECT_EQ(ReceiveZmodem(receiver_, options), kTransferOk);
  EXPECT_EQ(answered.get(), 12);
  EXPECT_TRUE(SameBytes(Contents(in_ / "s.bin"), content));

  MemoryLinePair silentPair;
  SilentProgress progress;
  TransferSession receiver{silentPair.B(), progress};
  auto neverAnswered = std::async(
      std::launch::async, [&] { return SendPastLostRequests(silentPair.A(), content, 100); });
  EXPECT_EQ(ReceiveZmodem(receiver, options), kTransferSenderCancelled);
  // The first request, the one after the damaged subpacket, ten asked again as the same and
  // nine after counted time-outs: the tenth time-out is the eleventh error.
  EXPECT_EQ(neverAnswered.get(), 1 + 1 + 10 + 9);
}

TEST_F(ZmodemEngines, ThePeersTextAfterTheBatchStaysOnTheLine) {
  const std::string prompt = "OK login: ";
  constexpr std::chrono::milliseconds kNoWait{0};
  FrameWriter writer;
  Bytes zfin;
  writer.AppendHexHeader(zfin, kZfin, std::span(HeaderData{}.data(), 4), false);
  const auto join = [](std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
  };
  const Bytes overAndOut = {'O', 'O'};
  const Bytes text(prompt.begin(), prompt.end());
  for (const Bytes& lastWords : {join({zfin, overAndOut, text}), join({zfin, zfin, text}),
                                 join({zfin, zfin, overAndOut, text}), join({zfin, text})}) {
    MemoryLinePair pair;
    SilentProgress progress;
    TransferSession session{pair.B(), progress};
    pair.A().Write(lastWords);
    EXPECT_EQ(ReceiveZmodem(session, {in_.string(), false, false}), kTransferOk);
    std::string after;
    for (int byte = pair.B().ReadByte(kNoWait); byte >= 0; byte = pair.B().ReadByte(kNoWait))
      after.push_back(static_cast<char>(byte));
    EXPECT_EQ(after, prompt) << lastWords.size() << " bytes of last words";
  }
}

}  // namespace
}  // namespace tavix::testing
