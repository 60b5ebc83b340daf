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
// request counts as a NAK there. A time-out is left to the caller, which may accept silence.
XymodemSender::Answer XymodemSender::WaitForAnswer(std::chrono::milliseconds wait,
                                                   bool startRequestResends) {
  bool sawCan = false;
  for (;;) {
    const int byte = session_.Read(wait);
    if (byte == kLineTimeout) return Answer::kTimeOut;
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

XymodemSender::Answer XymodemSender::SendAndConfirm(const std::vector<std::uint8_t>& block,
                                                    bool opening, std::chrono::milliseconds wait) {
  for (int naks = 0;; ++naks) {
    if (naks > kMaxNaks) {
      session_.SendCancelSequence();
      session_.Fail(kTransferTooManyErrors, TransferStatus::kTooManyErrors);
      return Answer::kFailed;
    }
    if (naks > 0) session_.progress.ShowStatus(TransferStatus::kRetransmittingBlock);
    session_.Write(block);
    const Answer answer = WaitForAnswer(wait, opening && crc_);
    if (answer != Answer::kNak) return answer;
  }
}

bool XymodemSender::Acknowledged(Answer answer) {
  if (answer == Answer::kTimeOut) session_.Fail(kTransferTimeOut, TransferStatus::kTimeOut);
  return answer == Answer::kAck;
}

bool XymodemSender::ReceiverCancelledWhileStreaming() {
  if (!session_.line.HasInput() || session_.line.ReadByte(std::chrono::milliseconds{0}) != kCan) {
    return false;
  }
  if (session_.Read(18 * kTick) != kCan) return false;
  session_.Fail(kTransferReceiverCancelled, TransferStatus::kReceiverCancelled);
  return true;
}

int XymodemSender::SendHeader(const std::array<std::uint8_t, kShortBlock>& header) {
  wire_.clear();
  AppendXmodemBlock(wire_, 0, header, true);
  if (protocol_.streaming) {
    session_.Write(wire_);
    return kTransferOk;
  }
  if (!Acknowledged(SendAndConfirm(wire_, true, waits_.answer))) return session_.result;
  return WaitForReceiver();
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
    } else if (!Acknowledged(SendAndConfirm(wire_, number == 1, waits_.answer))) {
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
    bool sawCan = false;
    for (;;) {
      const int byte = session_.Read(waits_.endOfFile);
      if (byte == kCan && sawCan) {
        return session_.Fail(kTransferReceiverCancelled, TransferStatus::kReceiverCancelled);
      }
      sawCan = byte == kCan;
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
    const int result = SendHeader(MakeYmodemHeader(name, file.size, file.modified));
    if (result != kTransferOk) return result;
  }
  return SendData(file);
}

// Every file has been acknowledged when the batch ends, so only a cancel or too many NAKs can
// fail it. A receiver that exits right after its ACK of the end header and flushes its terminal
// on the way (as receivers on pseudo-terminals and network logins do) discards that ACK before
// it leaves: silence after the end header therefore also ends the batch.
int XymodemSender::EndBatch() {
  session_.progress.ResetErrors();
  if (const int result = WaitForReceiver(); result != kTransferOk) return result;
  wire_.clear();
  AppendXmodemBlock(wire_, 0, MakeYmodemBatchEnd(), true);
  if (protocol_.streaming) {
    session_.Write(wire_);
    return kTransferOk;
  }
  const Answer answer = SendAndConfirm(wire_, true, waits_.batchEnd);
  if (answer == Answer::kFailed) return session_.result;
  if (answer == Answer::kAck) session_.Read(waits_.batchEnd);  // its last word is not needed
  return kTransferOk;
}

}  // namespace tavix
