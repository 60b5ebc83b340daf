#include "xymodem_sender.h"

#include "ymodem_header.h"

namespace tavix {

namespace {
constexpr int kMaxNaks = 10;
}  // namespace

XymodemSender::XymodemSender(TransferSession& session, BlockProtocol protocol,
                             BlockSenderWaits waits)
    : session_(session), protocol_(protocol), waits_(waits) {}

int XymodemSender::WaitForReceiver() {
  bool sawCan = false;
  for (;;) {
    const int byte = session_.Read(waits_.answer);
    if (byte == kLineTimeout) return session_.Fail(kTransferTimeOut, TransferStatus::kTimeOut);
    if (byte == kUserCancel) {
      session_.SendCancelSequence();
      return session_.Fail(kTransferSenderCancelled, TransferStatus::kSenderCancelled);
    }
    if (session_.CarrierLost()) {
      return session_.Fail(kTransferLostCarrier, TransferStatus::kLostCarrier);
    }
    if (byte == kCan && sawCan) {
      return session_.Fail(kTransferReceiverCancelled, TransferStatus::kReceiverCancelled);
    }
    sawCan = byte == kCan;
    if (byte == kNak) {
      crc_ = false;
      return kTransferOk;
    }
    if (byte == kCrcRequest) {
      crc_ = true;
      if (protocol_.streaming) {
        protocol_.streaming = false;
        protocol_.number = protocol_.batch ? kProtocolYmodem : kProtocolXmodem1K;
      }
      return kTransferOk;
    }
    if (byte == kStreamRequest && protocol_.streaming) {
      crc_ = true;
      return kTransferOk;
    }
  }
}

// A receiver that asks for the start again ("C") while we wait for the answer to a header or
// the first block never saw that block (it drops its input after each request), so that
// request counts as a NAK there.
XymodemSender::Answer XymodemSender::WaitForAnswer(std::chrono::milliseconds wait,
                                                   bool startRequestResends) {
  bool sawCan = false;
  for (;;) {
    const int byte = session_.Read(wait);
    if (byte == kLineTimeout) {
      session_.Fail(kTransferTimeOut, TransferStatus::kTimeOut);
      return Answer::kFailed;
    }
    if (byte == kUserCancel) {
      session_.SendCancelSequence();
      session_.Fail(kTransferSenderCancelled, TransferStatus::kSenderCancelled);
      return Answer::kFailed;
    }
    if (session_.CarrierLost()) {
      session_.Fail(kTransferLostCarrier, TransferStatus::kLostCarrier);
      return Answer::kFailed;
    }
    if (byte == kAck) return Answer::kAck;
    if (byte == kNak || (startRequestResends && byte == kCrcRequest)) return Answer::kNak;
    if (byte == kCan && sawCan) {
      session_.Fail(kTransferReceiverCancelled, TransferStatus::kReceiverCancelled);
      return Answer::kFailed;
    }
    sawCan = byte == kCan;
  }
}

bool XymodemSender::SendAndConfirm(const std::vector<std::uint8_t>& block, bool opening) {
  for (int naks = 0;; ++naks) {
    if (naks > kMaxNaks) {
      session_.SendCancelSequence();
      session_.Fail(kTransferTooManyErrors, TransferStatus::kTooManyErrors);
      return false;
    }
    if (naks > 0) session_.progress.ShowStatus(TransferStatus::kRetransmittingBlock);
    session_.Write(block);
    const Answer answer = WaitForAnswer(waits_.answer, opening && crc_);
    if (answer == Answer::kAck) return true;
    if (answer == Answer::kFailed) return false;
  }
}

bool XymodemSender::ReceiverCancelledWhileStreaming() {
  if (!session_.line.HasInput() || session_.line.ReadByte(std::chrono::milliseconds{0}) != kCan) {
    return false;
  }
  if (session_.Read(18 * kTick) != kCan) return false;
  session_.Fail(kTransferReceiverCancelled, TransferStatus::kReceiverCancelled);
  return true;
}

int XymodemSender::SendHeader(const std::array<std::uint8_t, kShortBlock>& header,
                              bool fileFollows) {
  wire_.clear();
  AppendXmodemBlock(wire_, 0, header, true);
  if (protocol_.streaming) {
    session_.Write(wire_);
    return kTransferOk;
  }
  if (!SendAndConfirm(wire_, true)) return session_.result;
  if (fileFollows) return WaitForReceiver();
  session_.Read(waits_.batchEnd);  // the receiver's last word, if any, is not needed
  return kTransferOk;
}

int XymodemSender::SendData(FileToSend& file) {
  session_.progress.StartFileClock();
  std::uint64_t sentBytes = 0;
  std::uint64_t counted = 0;
  std::size_t blockSize = protocol_.blockSize;
  std::array<std::uint8_t, kLongBlock> data{};
  for (std::uint8_t number = 1;; ++number) {
    if (blockSize == kLongBlock && file.size - std::min(file.size, sentBytes) < kLongBlock) {
      blockSize = kShortBlock;
    }
    const std::size_t got = ReadFull(file.fd.Get(), std::span(data.data(), blockSize));
    if (got == 0) break;
    std::fill(data.begin() + got, data.begin() + blockSize, kSub);
    sentBytes += got;
    wire_.clear();
    AppendXmodemBlock(wire_, number, std::span(data.data(), blockSize), crc_);
    if (protocol_.streaming) {
      if (session_.progress.Cancelled()) {
        session_.SendCancelSequence();
        return session_.Fail(kTransferSenderCancelled, TransferStatus::kSenderCancelled);
      }
      session_.Write(wire_);
      if (ReceiverCancelledWhileStreaming()) return session_.result;
    } else if (!SendAndConfirm(wire_, number == 1)) {
      return session_.result;
    }
    counted += blockSize;
    session_.progress.ShowBytes(counted);
  }
  return SendEndOfFile();
}

int XymodemSender::SendEndOfFile() {
  for (int attempt = 0; attempt < 2; ++attempt) {
    session_.WriteByte(kEot);
    bool acknowledged = false;
    for (;;) {
      const int byte = session_.Read(waits_.endOfFile);
      if (byte == kAck) acknowledged = true;
      if (byte == kAck || byte == kNak || byte == kLineTimeout || byte == kUserCancel) break;
    }
    if (acknowledged) break;
  }
  session_.progress.ShowStatus(TransferStatus::kTransferCompleted);
  return kTransferOk;
}

int XymodemSender::SendFile(FileToSend& file, std::string_view name) {
  session_.progress.ResetErrors();
  if (const int result = WaitForReceiver(); result != kTransferOk) return result;
  session_.progress.ShowStatus(TransferStatus::kSendingFile);
  if (protocol_.batch) {
    const int result = SendHeader(MakeYmodemHeader(name, file.size, file.modified), true);
    if (result != kTransferOk) return result;
  }
  return SendData(file);
}

int XymodemSender::EndBatch() {
  session_.progress.ResetErrors();
  if (const int result = WaitForReceiver(); result != kTransferOk) return result;
  return SendHeader(MakeYmodemBatchEnd(), false);
}

}  // namespace tavix
