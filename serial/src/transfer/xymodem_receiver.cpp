#include "xymodem_receiver.h"

#include <fcntl.h>
#include <unistd.h>

#include "file_io.h"
#include "received_name.h"
#include "xymodem_block.h"
#include "ymodem_header.h"

namespace tavix {

namespace {

constexpr std::chrono::seconds kFirstByteWait{10};
constexpr std::chrono::seconds kQuietAfterNoise{1};
constexpr int kMaxAttempts = 10;

class XymodemReceiver {
 public:
  XymodemReceiver(TransferSession& session, const BlockProtocol& protocol)
      : session_(session), protocol_(protocol) {}

  int Run(const std::optional<std::string>& directory, const std::string& fileName);

 private:
  enum class Step { kGood, kEndOfFile, kFailed };

  std::uint8_t Request() const { return protocol_.streaming ? kStreamRequest : kCrcRequest; }
  Step ReceiveFirst(std::uint8_t expected, bool allowEndOfFile);
  Step ReceiveNext(std::uint8_t expected);
  bool HandleCommonOutcome(BlockOutcome outcome);
  bool WriteBlock(std::size_t size);
  void FailWriting();

  TransferSession& session_;
  const BlockProtocol& protocol_;
  bool crc_ = true;
  std::optional<std::uint64_t> remaining_;
  std::uint64_t received_ = 0;
  ReceivedBlock block_;
  FileWriteBuffer fileBuffer_;
  std::array<std::uint8_t, kLongBlock> data_{};
};

// Handles the outcomes that end the transfer wherever they happen; true when it ended.
bool XymodemReceiver::HandleCommonOutcome(BlockOutcome outcome) {
  if (outcome == BlockOutcome::kUserCancel) {
    session_.SendCancelSequence();
    session_.Fail(kTransferReceiverCancelled, TransferStatus::kReceiverCancelled);
    session_.progress.Pause(72, true);
    session_.line.PurgeInput();
    return true;
  }
  if (outcome == BlockOutcome::kCancelled) {
    session_.Fail(kTransferSenderCancelled, TransferStatus::kSenderCancelled);
    return true;
  }
  if (session_.CarrierLost()) {
    session_.Fail(kTransferLostCarrier, TransferStatus::kLostCarrier);
    return true;
  }
  return false;
}

// The first block of a file (header or data) with up to ten requests. Xmodem asks for CRC three
// times and then settles for checksums.
XymodemReceiver::Step XymodemReceiver::ReceiveFirst(std::uint8_t expected, bool allowEndOfFile) {
  for (int attempt = 1;; ++attempt) {
    block_ = ReceiveXmodemBlock(session_, expected, crc_, kFirstByteWait, data_);
    if (HandleCommonOutcome(block_.outcome)) return Step::kFailed;
    if (block_.outcome == BlockOutcome::kGood) return Step::kGood;
    if (block_.outcome == BlockOutcome::kEndOfFile && allowEndOfFile) return Step::kEndOfFile;
    if (protocol_.streaming && expected == 0 && block_.outcome == BlockOutcome::kBadNumber) {
      // The file's data streams past: the sender took our request for its header again as the
      // start of the data, and the damaged header cannot come back. Waiting on would end in
      // the next header, even the end of the batch, as if nothing had been sent.
      session_.SendCancelSequence();
      session_.Fail(kTransferTooManyErrors, TransferStatus::kBadBlock);
      return Step::kFailed;
    }
    if (attempt == kMaxAttempts) {
      session_.SendCancelSequence();
      session_.Fail(kTransferTimeOut, TransferStatus::kTimeOut);
      return Step::kFailed;
    }
    if (block_.outcome == BlockOutcome::kRepeated) {
      session_.WriteByte(kAck);  // the sender missed our ACK of the block before
    } else if (block_.outcome != BlockOutcome::kTimeOut) {
      session_.DrainUntilQuiet(kQuietAfterNoise);
    }
    if (protocol_.number == kProtocolXmodem && attempt >= 3) {
      crc_ = false;
      session_.WriteByte(kNak);
    } else {
      session_.WriteByte(Request());
    }
  }
}

// Every block after the first. A lost byte or a damaged block is asked for again with NAK, so
// the sender does not wait out its own time-out; a repeat of the previous block means our ACK
// was lost and is acknowledged again.
XymodemReceiver::Step XymodemReceiver::ReceiveNext(std::uint8_t expected) {
  for (int attempt = 1;; ++attempt) {
    block_ = ReceiveXmodemBlock(session_, expected, crc_, kFirstByteWait, data_);
    if (HandleCommonOutcome(block_.outcome)) return Step::kFailed;
    switch (block_.outcome) {
      case BlockOutcome::kGood:
        return Step::kGood;
      case BlockOutcome::kEndOfFile:
        return Step::kEndOfFile;
      case BlockOutcome::kRepeated:
        if (!protocol_.streaming) session_.WriteByte(kAck);
        --attempt;
        continue;
      case BlockOutcome::kTimeOut:
        session_.progress.ShowStatus(TransferStatus::kTimeOut);
        break;
      case BlockOutcome::kBadNumber:
        session_.progress.ShowStatus(TransferStatus::kBadBlock);
        break;
      case BlockOutcome::kCheckError:
        session_.progress.ShowStatus(crc_ ? TransferStatus::kCrcError
                                          : TransferStatus::kChecksumError);
        break;
      default:
        session_.progress.ShowStatus(TransferStatus::kUnknownError);
        break;
    }
    if (protocol_.streaming) {
      session_.SendCancelSequence();
      session_.result = kTransferTooManyErrors;
      return Step::kFailed;
    }
    if (attempt == kMaxAttempts) {
      session_.SendCancelSequence();
      session_.Fail(kTransferTimeOut, TransferStatus::kTimeOut);
      return Step::kFailed;
    }
    if (block_.outcome != BlockOutcome::kTimeOut) session_.DrainUntilQuiet(kQuietAfterNoise);
    session_.WriteByte(kNak);
  }
}

void XymodemReceiver::FailWriting() {
  session_.SendCancelSequence();
  session_.Fail(kTransferWriteError, TransferStatus::kErrorWritingToFile);
}

bool XymodemReceiver::WriteBlock(std::size_t size) {
  if (remaining_) {
    size = static_cast<std::size_t>(std::min<std::uint64_t>(size, *remaining_));
    *remaining_ -= size;
  }
  if (!fileBuffer_.Append(std::span(data_.data(), size))) {
    FailWriting();
    return false;
  }
  received_ += size;
  session_.progress.ShowBytes(received_);
  return true;
}

int XymodemReceiver::Run(const std::optional<std::string>& directory, const std::string& fileName) {
  for (;;) {
    crc_ = true;
    remaining_.reset();
    received_ = 0;
    std::string name = fileName;
    session_.progress.ShowFile(protocol_.batch ? "" : name, std::nullopt);
    session_.WriteByte(Request());

    Step step;
    if (protocol_.batch) {
      if (ReceiveFirst(0, false) == Step::kFailed) return session_.result;
      const auto header = ParseYmodemHeader(std::span(data_.data(), block_.size));
      if (!header) {
        session_.WriteByte(kAck);
        return kTransferOk;
      }
      const auto confined = ConfineReceivedName(header->name);
      if (!confined) {
        session_.SendCancelSequence();
        session_.Fail(kTransferCannotOpenFile, TransferStatus::kCouldNotOpenFile);
        session_.progress.Pause(72, false);
        return session_.result;
      }
      name = confined->name;
      remaining_ = header->size;
      session_.progress.ShowFile(name, header->size);
      const std::uint8_t ack[] = {kAck, Request()};
      session_.Write(ack);
      step = ReceiveFirst(1, true);
    } else {
      step = ReceiveFirst(1, true);
    }
    if (step == Step::kFailed) return session_.result;

    const std::string path = directory ? JoinPath(*directory, name) : name;
    UniqueFd file(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (!file.Valid()) {
      session_.SendCancelSequence();
      session_.Fail(kTransferCannotOpenFile, TransferStatus::kCouldNotOpenFile);
      session_.progress.Pause(72, false);
      return session_.result;
    }
    fileBuffer_.Attach(file.Get());
    session_.progress.ShowStatus(TransferStatus::kReceivingFile);
    session_.progress.StartFileClock();

    for (std::uint8_t expected = 2; step == Step::kGood; ++expected) {
      if (!WriteBlock(block_.size)) return session_.result;
      if (!protocol_.streaming) session_.WriteByte(kAck);
      step = ReceiveNext(expected);
    }
    // The blocks received before a failure stay in the file, as they did block by block.
    const bool flushed = fileBuffer_.Flush();
    if (step == Step::kFailed) return session_.result;
    if (!flushed) {
      FailWriting();
      return session_.result;
    }
    session_.progress.ShowStatus(TransferStatus::kTransferCompleted);
    session_.WriteByte(kAck);
    if (!protocol_.batch) return kTransferOk;
  }
}

}  // namespace

int ReceiveXymodem(TransferSession& session, const BlockProtocol& protocol,
                   const std::optional<std::string>& directory, const std::string& fileName) {
  return XymodemReceiver(session, protocol).Run(directory, fileName);
}

}  // namespace tavix
