#include "zmodem_sender.h"

#include <unistd.h>

#include <cstdio>
#include <string>

namespace tavix {

using namespace zmodem;

namespace {

constexpr std::size_t kStartSubpacket = 1024;
// Each ZRPOS quarters the subpackets down to this. With one byte in a hundred damaged, a 32-byte
// subpacket and the header before it arrive whole three times in five, so the receiver's eleven
// errors in a row stay out of reach; at 64 bytes it is two in five, and such a run ends about
// one batch of a few kilobytes in five.
constexpr std::size_t kMinSubpacket = 32;
constexpr std::size_t kFlushAt = 16384;
constexpr int kInitAnswers = 10;
constexpr int kMaxSyncErrors = 7;
constexpr int kMaxJunk = 5;
// Good subpackets needed before the length doubles grow with each ZRPOS; on a line that
// stays bad they stop here rather than overflow.
constexpr int kMaxGrowthGoal = 65535;
// Subpackets that may travel unacknowledged while the sender recovers from a ZRPOS.
constexpr std::uint32_t kRecoveryWindow = 4;

}  // namespace

ZmodemSender::ZmodemSender(TransferSession& session, ZmodemSenderWaits waits)
    : session_(session), waits_(waits), reader_(session) {}

void ZmodemSender::Flush() {
  if (!out_.empty()) session_.Write(out_);
  out_.clear();
}

void ZmodemSender::SendHexHeader(int type, const HeaderData& data) {
  writer_.AppendHexHeader(out_, type, std::span(data.data(), reader_.HeaderLength()),
                          variableHeaders_);
  Flush();
}

void ZmodemSender::SendBinaryHeader(int type, const HeaderData& data) {
  writer_.AppendBinaryHeader(out_, type, std::span(data.data(), reader_.HeaderLength()), useCrc32_,
                             variableHeaders_);
}

bool ZmodemSender::Seek(std::uint32_t position) {
  txPosition_ = position;
  return fileReader_.Seek(position);
}

void ZmodemSender::StartBatch() {
  session_.progress.ShowStatus(TransferStatus::kWaitingForReceiver);
  session_.progress.Pause(72, false);
  static constexpr std::uint8_t kStartCommand[] = {'r', 'z', '\r'};
  session_.Write(kStartCommand);
  variableHeaders_ = false;
}

// ZRQINIT until the receiver answers ZRINIT; its flags choose the CRC, the header format and
// the window.
bool ZmodemSender::AwaitReceiverInit() {
  session_.progress.ResetErrors();
  txPosition_ = 0;
  session_.progress.ShowStatus(TransferStatus::kSendingZrqinit);
  SendHexHeader(kZrqinit, {});
  reader_.SetTimeout(waits_.receiverInit);
  for (int answers = 0; answers < kInitAnswers;) {
    const int header = reader_.ReadHeader();
    if (header == kHeaderTimeOut) {
      session_.progress.ShowStatus(TransferStatus::kTimeOut);
      break;
    }
    if (header == kZrinit) {
      const HeaderData& data = reader_.Data();
      useCrc32_ = (data[kZf0] & kCanCrc32) != 0;
      variableHeaders_ = (data[kZf1] & kCanVariableHeaders) != 0;
      writer_.SetEscapeControls((data[kZf0] & kEscapeControls) != 0);
      rxBufferSize_ = std::min<std::size_t>(data[0] | (data[1] << 8), kStartSubpacket);
      reader_.SetTimeout(waits_.answer);
      return true;
    }
    if (header == kZcan) {
      session_.progress.ShowStatus(TransferStatus::kReceiverCancelled);
      break;
    }
    ++answers;
    if (header == kZrqinit && reader_.Data()[kZf0] == kZcommand) continue;
    if (header == kZchallenge) {
      SendHexHeader(kZack, reader_.Data());
    } else if (header == kZcommand) {
      SendHexHeader(kZrqinit, {});
    } else {
      SendHexHeader(kZnak, {});
    }
  }
  session_.result = kTransferReceiverCancelled;
  session_.SendCancelSequence();
  session_.progress.Pause(72, false);
  session_.line.PurgeInput();
  return false;
}

int ZmodemSender::SendFileInfo(FileToSend& file, std::string_view name) {
  std::string info(name);
  info.push_back('\0');
  char numbers[96];
  const int length = std::snprintf(numbers, sizeof numbers, "%llu %llo 0 16200 1 %llu",
                                   static_cast<unsigned long long>(file.size),
                                   static_cast<unsigned long long>(file.modified),
                                   static_cast<unsigned long long>(file.size));
  info.append(numbers, static_cast<std::size_t>(length));
  info.push_back('\0');
  const std::span<const std::uint8_t> infoBytes(reinterpret_cast<const std::uint8_t*>(info.data()),
                                                info.size());
  HeaderData options{};
  options[0] = 5;
  session_.progress.ShowStatus(TransferStatus::kSendingFilename);
  for (;;) {
    if (session_.progress.Cancelled()) {
      session_.SendCancelSequence();
      return session_.Fail(kTransferSenderCancelled, TransferStatus::kTransferCancelled);
    }
    if (session_.CarrierLost()) {
      return session_.Fail(kTransferLostCarrier, TransferStatus::kLostCarrier);
    }
    // Stale answers (repeated ZRINITs) are dropped before, not after, the ZFILE goes out, so
    // a quick receiver's ZRPOS cannot be lost.
    session_.line.PurgeInput();
    SendBinaryHeader(kZfile, options);
    writer_.AppendSubpacket(out_, infoBytes, kZcrcw, useCrc32_);
    Flush();
    int header = reader_.ReadHeader();
    if (header == kZrinit) {
      // A ZRINIT sent before the receiver saw the ZFILE: skip to the next header it sends.
      // Should that be a ZRINIT too, the ZFILE was lost on the way and goes out again.
      int byte;
      do {
        byte = session_.Read(waits_.skipToHeader);
      } while (byte >= 0 && (byte & 0x7F) != kZpad);
      if (byte < 0)
        return session_.Fail(kTransferReceiverCancelled, TransferStatus::kTransferCancelled);
      header = reader_.ReadHeader();
    }
    switch (header) {
      case kZrpos:
        if (!Seek(reader_.Position())) {
          return session_.Fail(kTransferReceiverCancelled, TransferStatus::kBadFilePosition);
        }
        return kTransferOk;
      case kZskip:
      case kZabort:
      case kZfin:
      case kZcrc:
      case kZcan:
      case kHeaderTimeOut:
        return session_.Fail(kTransferReceiverCancelled, TransferStatus::kTransferCancelled);
      default:
        break;
    }
  }
}

int ZmodemSender::SendFile(FileToSend& file, std::string_view name) {
  if (!AwaitReceiverInit()) return session_.result;
  fileReader_.Attach(file.fd.Get());
  if (const int result = SendFileInfo(file, name); result != kTransferOk) return result;
  session_.progress.ShowStatus(TransferStatus::kSendingFile);
  session_.progress.ShowBytes(txPosition_);
  session_.progress.StartFileClock();
  const int result = SendData();
  if (result != kTransferOk) session_.progress.Pause(72, false);
  return result;
}

int ZmodemSender::SynchroniseHeader(bool frameOpen) {
  for (int errors = 0;;) {
    if (session_.progress.Cancelled()) {
      session_.SendCancelSequence();
      return session_.Fail(kTransferSenderCancelled, TransferStatus::kTransferCancelled);
    }
    const int header = reader_.ReadHeader();
    switch (header) {
      case kZack:
        receiverHolds_ = std::max(receiverHolds_, std::min(reader_.Position(), txPosition_));
        return header;
      case kZrinit:
      case kZskip:
      case kZabort:
      case kZfin:
      case kZcan:
        return header;
      case kZrpos:
        // The receiver's position only grows: a ZRPOS behind what it has acknowledged was
        // sent before it saw the frame that answered it, and asks for nothing new.
        if (reader_.Position() < receiverHolds_) return kZack;
        if (!Seek(reader_.Position())) {
          session_.progress.ShowStatus(TransferStatus::kBadFilePosition);
          break;
        }
        receiverHolds_ = txPosition_;
        return header;
      case kHeaderTimeOut:
        session_.progress.ShowStatus(TransferStatus::kTimeOut);
        break;
      default:
        session_.progress.ShowStatus(TransferStatus::kUnknownError);
        // Inside an open frame a ZNAK would land in the receiver's subpacket and spoil it.
        if (frameOpen) break;
        SendBinaryHeader(kZnak, PositionData(txPosition_));
        Flush();
        break;
    }
    if (++errors == kMaxSyncErrors) {
      session_.SendCancelSequence();
      return session_.Fail(kTransferReceiverCancelled, TransferStatus::kTooManyErrors);
    }
  }
}

int ZmodemSender::SendData() {
  const std::size_t startLength =
      rxBufferSize_ != 0 && rxBufferSize_ < kStartSubpacket ? rxBufferSize_ : kStartSubpacket;
  std::size_t length = startLength;
  int goal = 1;
  int goodCount = 0;
  int junk = 0;
  receiverHolds_ = txPosition_;
  bool windowed = false;
  std::array<std::uint8_t, kStartSubpacket> data{};

  if (session_.progress.Cancelled()) {
    session_.SendCancelSequence();
    return session_.Fail(kTransferSenderCancelled, TransferStatus::kTransferCancelled);
  }
  session_.line.PurgeInput();

  // After a ZRPOS the line is known to be bad. From then on each subpacket asks for a ZACK
  // and no more than a few of them travel unacknowledged: whatever is still on its way when
  // the next error strikes must be sent again, and the receiver has to wade through it before
  // it sees the new ZDATA header. A clean line streams without waiting.
  const auto windowFull = [&] {
    return windowed && txPosition_ - receiverHolds_ >= kRecoveryWindow * length;
  };

  // Acts on a header read while data flows; returns kZdata to send a new frame, kZrinit when
  // the file is complete, kZskip when it was skipped, or a negative value on failure.
  auto actOn = [&](int header) -> int {
    switch (header) {
      case kZrinit:
        session_.progress.ShowBytes(txPosition_);
        return kZrinit;
      case kZack:
        return kZdata;
      case kZskip:
        return kZskip;
      case kZrpos:
        windowed = true;
        length = std::max(std::min(kMinSubpacket, startLength), length / 4);
        goal = std::min(goal * 2 + 1, kMaxGrowthGoal);
        goodCount = 0;
        return kZdata;
      case kZabort:
      case kZcan:
        session_.Fail(kTransferReceiverCancelled, TransferStatus::kReceiverCancelled);
        return -1;
      default:
        if (session_.result == kTransferOk) {
          session_.Fail(kTransferReceiverCancelled, TransferStatus::kTimeOut);
        }
        return -1;
    }
  };
  // After a header: drop what follows up to the next "*" or until nothing is waiting.
  auto skipJunk = [&]() {
    while (session_.line.HasInput()) {
      const int byte = session_.line.ReadByte(std::chrono::milliseconds{0});
      if ((byte & 0x7F) == kZpad) return;
      if (byte == kZdle) ++junk;
    }
  };

  for (;;) {
    if (junk >= kMaxJunk) {
      session_.SendCancelSequence();
      return session_.Fail(kTransferReceiverCancelled, TransferStatus::kReceiverCancelled);
    }
    if (session_.line.HasInput()) {
      const int next = actOn(SynchroniseHeader(false));
      if (next < 0) return session_.result;
      if (next == kZrinit || next == kZskip) return kTransferOk;
      skipJunk();
    }

    SendBinaryHeader(kZdata, PositionData(txPosition_));
    junk = 0;
    std::size_t frameBytes = 0;
    std::uint8_t frameEnd = kZcrcg;
    while (frameEnd == kZcrcg || frameEnd == kZcrcq) {
      if (session_.progress.Cancelled()) {
        session_.SendCancelSequence();
        return session_.Fail(kTransferSenderCancelled, TransferStatus::kTransferCancelled);
      }
      if (session_.CarrierLost()) {
        return session_.Fail(kTransferLostCarrier, TransferStatus::kLostCarrier);
      }
      if (windowFull()) {
        // Wait for the receiver to catch up; a ZRPOS instead starts a new frame.
        Flush();
        const int header = SynchroniseHeader(true);
        const int next = actOn(header);
        if (next < 0) return session_.result;
        if (next == kZrinit || next == kZskip) return kTransferOk;
        if (header != kZack) {
          skipJunk();
          break;
        }
        continue;
      }
      const std::size_t got = fileReader_.Read(std::span(data.data(), length));
      frameBytes += got;
      if (got < length) {
        frameEnd = kZcrce;
      } else if (rxBufferSize_ != 0 && frameBytes + length > rxBufferSize_) {
        frameEnd = kZcrcw;
      } else {
        frameEnd = windowed ? kZcrcq : kZcrcg;
      }
      writer_.AppendSubpacket(out_, std::span(data.data(), got), frameEnd, useCrc32_);
      txPosition_ += static_cast<std::uint32_t>(got);
      session_.progress.ShowBytes(txPosition_);
      if (length < startLength && ++goodCount > goal) {
        length = std::min(startLength, length * 2);
        goodCount = 0;
      }
      if (frameEnd != kZcrcg || out_.size() >= kFlushAt) Flush();
      if ((frameEnd != kZcrcg && frameEnd != kZcrcq) || !session_.line.HasInput()) continue;

      // The receiver speaks while we stream: a cancel, an acknowledgement, or (usually) a
      // ZRPOS on its way.
      const int byte = session_.line.ReadByte(std::chrono::milliseconds{0});
      if (byte == kZdle && session_.Read(kTick) == kZdle) {
        Flush();
        return session_.Fail(kTransferReceiverCancelled, TransferStatus::kReceiverCancelled);
      }
      if ((byte & 0x7F) != kZpad && byte != kZdle) continue;
      Flush();
      const int header = SynchroniseHeader(true);
      if (header == kZack) {
        actOn(header);
        continue;
      }
      session_.progress.ShowStatus(TransferStatus::kUnknownError);
      writer_.AppendSubpacket(out_, {}, kZcrce, useCrc32_);
      Flush();
      const int next = actOn(header);
      if (next < 0) return session_.result;
      if (next == kZrinit || next == kZskip) return kTransferOk;
      skipJunk();
      frameEnd = 0;  // a new ZDATA frame follows
    }
    if (frameEnd == kZcrcw) {
      const int next = actOn(SynchroniseHeader(false));
      if (next < 0) return session_.result;
      if (next == kZrinit || next == kZskip) return kTransferOk;
      skipJunk();
      continue;
    }
    if (frameEnd != kZcrce) continue;

    // End of file: ZEOF until the receiver confirms with ZRINIT.
    for (;;) {
      SendBinaryHeader(kZeof, PositionData(txPosition_));
      Flush();
      const int header = SynchroniseHeader(false);
      if (header == kZrinit || header == kZskip) return kTransferOk;
      if (header == kZack) continue;
      if (header == kZrpos) {
        // The receiver missed data before the end: resend it in shorter subpackets, as for a
        // ZRPOS that arrives while data flows.
        actOn(header);
        skipJunk();
        break;
      }
      if (session_.result == kTransferOk) {
        session_.SendCancelSequence();
        session_.Fail(kTransferSenderCancelled, TransferStatus::kTransferCancelled);
      }
      return session_.result;
    }
  }
}

int ZmodemSender::EndBatch() {
  if (!AwaitReceiverInit()) return session_.result;
  for (int attempt = 0; attempt < kInitAnswers; ++attempt) {
    SendHexHeader(kZfin, {});
    const int header = reader_.ReadHeader();
    if (header == kZfin) {
      static constexpr std::uint8_t kOverAndOut[] = {'O', 'O'};
      session_.Write(kOverAndOut);
      return kTransferOk;
    }
    if (header == kHeaderTimeOut || header == kZcan) return kTransferOk;
  }
  return kTransferOk;
}

}  // namespace tavix
