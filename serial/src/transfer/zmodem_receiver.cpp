#include "zmodem_receiver.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string_view>
#include <vector>

#include "file_io.h"
#include "received_name.h"
#include "ymodem_header.h"
#include "zmodem_reader.h"
#include "zmodem_wire.h"

namespace tavix {

using namespace zmodem;

namespace {

constexpr int kInitRounds = 11;
constexpr int kRetries = 10;
constexpr std::size_t kMaxAttention = 32;
constexpr std::size_t kMaxNameLength = 256;
// How long the receiver waits for the answer to a ZRPOS sent after an error.
constexpr std::chrono::milliseconds kRepositionWait{3000};

class ZmodemReceiver {
 public:
  ZmodemReceiver(TransferSession& session, const ZmodemReceiveOptions& options)
      : session_(session), options_(options), reader_(session) {}

  int Run();

 private:
  enum class Announce { kFile, kBatchOver, kFailed };
  enum class FileEnd { kComplete, kBatchOver, kFailed };

  Announce AwaitFile();
  bool AnswerCommand();
  bool OpenTarget(std::string_view sentName);
  FileEnd ReceiveData();
  bool WriteData(std::size_t length);
  bool FlushData();
  void SendHex(int type, const HeaderData& data);
  void SendReceiverInit();
  void EndBatch(bool senderFinished);
  bool ReadSendersLastWords();
  // A ZCAN: the operator's own cancel is answered with the cancel sequence;
  // otherwise the sender gave up.
  void FailCancelled();

  TransferSession& session_;
  const ZmodemReceiveOptions& options_;
  FrameReader reader_;
  FrameWriter writer_;
  std::vector<std::uint8_t> out_;
  std::vector<std::uint8_t> attention_;
  std::array<std::uint8_t, kMaxSubpacket> packet_{};
  std::size_t packetLength_ = 0;

  UniqueFd file_;
  FileWriteBuffer fileBuffer_;
  std::string path_;
  std::optional<std::uint64_t> fileSize_;
  std::uint64_t filePosition_ = 0;
  bool resume_ = false;
};

void ZmodemReceiver::SendHex(int type, const HeaderData& data) {
  out_.clear();
  writer_.AppendHexHeader(out_, type, std::span(data.data(), reader_.HeaderLength()),
                          reader_.LastWasVariable());
  session_.Write(out_);
}

void ZmodemReceiver::SendReceiverInit() {
  HeaderData flags{};
  flags[kZf0] = kCanFullDuplex | kCanCrc32;
  flags[kZf1] = kCanVariableHeaders;
  SendHex(kZrinit, flags);
}

// ZCOMMAND: acknowledged, never run. Returns true when the sender ended with ZFIN.
void ZmodemReceiver::FailCancelled() {
  if (reader_.UserCancelled()) {
    session_.SendCancelSequence();
    session_.Fail(kTransferReceiverCancelled, TransferStatus::kTransferCancelled);
  } else {
    session_.Fail(kTransferSenderCancelled, TransferStatus::kSenderCancelled);
  }
}

bool ZmodemReceiver::AnswerCommand() {
  for (int answer = 0; answer < 10; ++answer) {
    SendHex(kZcompl, {});
    if (reader_.ReadHeader() == kZfin) return true;
  }
  return false;
}

ZmodemReceiver::Announce ZmodemReceiver::AwaitFile() {
  reader_.SetTimeout(options_.headerWait);
  for (int round = 0; round < kInitRounds; ++round) {
    SendReceiverInit();
    for (bool readAgain = true; readAgain;) {
      readAgain = false;
      const int header = reader_.ReadHeader();
      switch (header) {
        case kZsinit: {
          const Subpacket sub = reader_.ReadSubpacket(packet_, reader_.LastWasCrc32());
          if (sub.error == SubpacketError::kNone && sub.frameEnd == kZcrcw) {
            attention_.assign(packet_.begin(),
                              packet_.begin() + std::min(sub.length, kMaxAttention));
            while (!attention_.empty() && attention_.back() == 0) attention_.pop_back();
            SendHex(kZack, {});
          } else {
            SendHex(kZnak, {});
          }
          readAgain = true;
          break;
        }
        case kZfile: {
          const Subpacket sub = reader_.ReadSubpacket(packet_, reader_.LastWasCrc32());
          if (sub.error == SubpacketError::kNone && sub.frameEnd == kZcrcw) {
            packetLength_ = sub.length;
            return Announce::kFile;
          }
          SendHex(kZnak, {});
          readAgain = true;
          break;
        }
        case kZfin:
          return Announce::kBatchOver;
        case kZcompl:
          readAgain = true;
          break;
        case kZcan:
          FailCancelled();
          return Announce::kFailed;
        case kZfreecnt:
          SendHex(kZack, {});
          readAgain = true;
          break;
        case kZcommand: {
          const Subpacket sub = reader_.ReadSubpacket(packet_, reader_.LastWasCrc32());
          if (sub.error == SubpacketError::kNone && sub.frameEnd == kZcrcw) {
            AnswerCommand();
            return Announce::kBatchOver;
          }
          SendHex(kZnak, {});
          readAgain = true;
          break;
        }
        default:
          if (reader_.CarrierLost()) {
            session_.Fail(kTransferLostCarrier, TransferStatus::kLostCarrier);
            return Announce::kFailed;
          }
          break;
      }
    }
  }
  session_.Fail(kTransferTimeOut, TransferStatus::kTimeOut);
  return Announce::kFailed;
}

bool ZmodemReceiver::OpenTarget(std::string_view sentName) {
  if (sentName.size() > kMaxNameLength) sentName = sentName.substr(0, kMaxNameLength);
  const auto confined = ConfineReceivedName(sentName);
  std::string folder = options_.directory.value_or("");
  if (confined && options_.fullPathNames && !confined->directory.empty()) {
    std::error_code error;
    const std::string nested = JoinPath(folder, confined->directory);
    std::filesystem::create_directories(nested, error);
    if (!error) folder = nested;
  }
  if (confined) {
    session_.progress.ShowFile(confined->name, fileSize_);
    path_ = folder.empty() ? confined->name : JoinPath(folder, confined->name);
    resume_ = options_.resume;
    if (resume_) {
      file_ = UniqueFd(::open(path_.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644));
      struct stat info {};
      if (file_.Valid() && ::fstat(file_.Get(), &info) == 0) {
        filePosition_ = static_cast<std::uint64_t>(info.st_size);
        if (!fileSize_ || filePosition_ > *fileSize_) {
          file_.Reset();
          resume_ = false;
          filePosition_ = 0;
        }
      }
    }
    if (!resume_) {
      file_ = UniqueFd(::open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    }
  }
  if (file_.Valid()) {
    fileBuffer_.Attach(file_.Get());
    return true;
  }
  session_.SendCancelSequence();
  session_.Fail(kTransferCannotOpenFile, TransferStatus::kCouldNotOpenFile);
  session_.progress.Pause(72, false);
  return false;
}

bool ZmodemReceiver::WriteData(std::size_t length) {
  if (session_.progress.Cancelled()) {
    session_.SendCancelSequence();
    session_.Fail(kTransferReceiverCancelled, TransferStatus::kTransferCancelled);
    session_.progress.Pause(36, true);
    session_.line.PurgeInput();
    session_.SendCancelSequence();
    return false;
  }
  if (session_.CarrierLost()) {
    session_.Fail(kTransferLostCarrier, TransferStatus::kLostCarrier);
    return false;
  }
  if (!fileBuffer_.Append(std::span(packet_.data(), length))) {
    session_.Fail(kTransferWriteError, TransferStatus::kErrorWritingToFile);
    return false;
  }
  filePosition_ += length;
  session_.progress.ShowBytes(filePosition_);
  return true;
}

// Puts the buffered data into the file. A failure is the run's write error unless the run has
// already failed for another reason.
bool ZmodemReceiver::FlushData() {
  if (fileBuffer_.Flush()) return true;
  if (session_.result == kTransferOk) {
    session_.Fail(kTransferWriteError, TransferStatus::kErrorWritingToFile);
  }
  return false;
}

ZmodemReceiver::FileEnd ZmodemReceiver::ReceiveData() {
  session_.progress.ShowBytes(filePosition_);
  session_.progress.StartFileClock();
  int retries = kRetries;
  // A sender answers a ZRPOS at once, and until the answer arrives the data it sent before
  // keeps the line busy: silence means the ZRPOS or its answer was lost on the way. It is asked
  // again after a short wait rather than the full header wait, and as the same request, not a
  // new error, so that a damaged back channel does not use up the retries twice over. The same
  // holds for the ZACK of a ZCRCQ subpacket, which a sender with a full window waits for. A line
  // that stays silent still ends the transfer: after ten such requests silence counts again.
  const auto repositionWait = std::min(options_.headerWait, kRepositionWait);
  bool repositioning = false;
  int unanswered = 0;
  // The attention string goes before each ZRPOS that follows a fault.
  auto askAgain = [&](TransferStatus status) {
    session_.progress.ShowStatus(status);
    if (!attention_.empty()) session_.Write(attention_);
    reader_.SetTimeout(repositionWait);
    repositioning = true;
  };
  // An error: counted, then ZRPOS again; the eleventh ends the transfer.
  auto error = [&](TransferStatus status) {
    if (retries-- == 0) {
      session_.progress.ShowStatus(status);
      session_.Fail(kTransferSenderCancelled, TransferStatus::kTooManyErrors);
      session_.line.PurgeInput();
      return false;
    }
    askAgain(status);
    return true;
  };
  auto position = [this] { return PositionData(static_cast<std::uint32_t>(filePosition_)); };

  for (;;) {
    SendHex(kZrpos, position());
    bool readHeader = true;
    while (readHeader) {
      const int header = reader_.ReadHeader();
      switch (header) {
        case kZdata: {
          if (reader_.Position() != static_cast<std::uint32_t>(filePosition_)) {
            if (!error(TransferStatus::kBadFilePosition)) return FileEnd::kFailed;
            readHeader = false;
            break;
          }
          reader_.SetTimeout(options_.headerWait);
          repositioning = false;
          unanswered = 0;
          const bool crc32 = reader_.LastWasCrc32();
          bool acknowledged = false;
          for (bool more = true; more;) {
            const Subpacket sub = reader_.ReadSubpacket(packet_, crc32);
            if (sub.error == SubpacketError::kNone) {
              if (!WriteData(sub.length)) return FileEnd::kFailed;
              retries = kRetries;
              unanswered = 0;
              // ZCRCW asks for the data to be safe before the answer; ZCRCQ only paces the sender.
              if (sub.frameEnd == kZcrcw && !FlushData()) return FileEnd::kFailed;
              if (sub.frameEnd == kZcrcq || sub.frameEnd == kZcrcw) SendHex(kZack, position());
              acknowledged = sub.frameEnd == kZcrcq;
              reader_.SetTimeout(acknowledged ? repositionWait : options_.headerWait);
              more = sub.frameEnd == kZcrcg || sub.frameEnd == kZcrcq;
              continue;
            }
            if (sub.error == SubpacketError::kTimeOut && sub.length == 0 && acknowledged &&
                unanswered++ < kRetries) {
              session_.progress.ShowStatus(TransferStatus::kTimeOut);
              SendHex(kZack, position());
              continue;
            }
            if (sub.error == SubpacketError::kCancelled) {
              session_.Fail(kTransferSenderCancelled, TransferStatus::kSenderCancelled);
              return FileEnd::kFailed;
            }
            if (sub.error == SubpacketError::kUserCancel) {
              session_.SendCancelSequence();
              session_.Fail(kTransferReceiverCancelled, TransferStatus::kTransferCancelled);
              session_.progress.Pause(36, true);
              session_.line.PurgeInput();
              session_.SendCancelSequence();
              return FileEnd::kFailed;
            }
            TransferStatus status = TransferStatus::kUnknownError;
            if (sub.error == SubpacketError::kCrcError) status = TransferStatus::kCrcError;
            if (sub.error == SubpacketError::kTimeOut) status = TransferStatus::kTimeOut;
            if (sub.error == SubpacketError::kLongPacket) status = TransferStatus::kLongPacket;
            if (sub.error == SubpacketError::kGarbage) session_.line.PurgeInput();
            if (!error(status)) return FileEnd::kFailed;
            more = false;
            readHeader = false;
          }
          break;
        }
        case kZeof:
          if (reader_.Position() != static_cast<std::uint32_t>(filePosition_)) break;
          if (!FlushData()) return FileEnd::kFailed;
          session_.progress.ShowBytes(filePosition_);
          SendReceiverInit();
          return FileEnd::kComplete;
        case kZfile:
          reader_.ReadSubpacket(packet_, reader_.LastWasCrc32());
          readHeader = false;
          break;
        case kZfin:
          return FileEnd::kBatchOver;
        case kZcan:
          FailCancelled();
          return FileEnd::kFailed;
        case kHeaderTimeOut:
          if (reader_.CarrierLost()) {
            session_.Fail(kTransferLostCarrier, TransferStatus::kLostCarrier);
            return FileEnd::kFailed;
          }
          readHeader = false;
          if (repositioning && unanswered++ < kRetries) {
            askAgain(TransferStatus::kTimeOut);
            break;
          }
          if (!error(TransferStatus::kTimeOut)) return FileEnd::kFailed;
          break;
        case kHeaderCrcError:
          if (!error(TransferStatus::kCrcError)) return FileEnd::kFailed;
          readHeader = false;
          break;
        default:
          if (!error(TransferStatus::kUnknownError)) return FileEnd::kFailed;
          readHeader = false;
          break;
      }
    }
  }
}

// After the sender's ZFIN the line goes back to the peer, whose next text (a shell prompt, a
// board's menu) must reach whoever reads the port next, such as the terminal. After a failure the
// line is drained and purged instead, so that no protocol debris reaches the caller.
void ZmodemReceiver::EndBatch(bool senderFinished) {
  SendHex(kZfin, {});
  if (senderFinished && ReadSendersLastWords()) return;
  session_.progress.Pause(18, false);
  session_.DrainUntilQuiet(2 * kTick);
  session_.line.PurgeInput();
}

// Reads what the sender may still say after its ZFIN: its ZFIN once more (when it took an
// earlier ZRINIT of ours for the answer) and "OO"; either may be missing. The first byte of
// anything else is the peer's own text and goes back to the line. False when that byte could not
// go back or the line carried something longer than a header.
bool ZmodemReceiver::ReadSendersLastWords() {
  constexpr std::chrono::milliseconds kWait = 18 * kTick;
  constexpr int kLongestHeaderLine = 64;
  int overAndOut = 0;
  int headerBytes = -1;  // -1 outside a header
  for (;;) {
    const int byte = session_.line.ReadByte(kWait);
    if (byte == kLineTimeout) return true;
    if (headerBytes >= 0) {
      if (++headerBytes > kLongestHeaderLine) return false;
      if ((byte & 0x7F) == '\n') headerBytes = -1;
    } else if (byte == 'O') {
      if (++overAndOut == 2) return true;
    } else if (byte == '*' && overAndOut == 0) {
      headerBytes = 0;
    } else {
      // An "O" read before it was the text's first letter, not half of "OO".
      return session_.line.PutBack(static_cast<std::uint8_t>(byte)) &&
             (overAndOut == 0 || session_.line.PutBack('O'));
    }
  }
}

int ZmodemReceiver::Run() {
  bool senderFinished = false;
  for (;;) {
    fileSize_.reset();
    filePosition_ = 0;
    file_.Reset();
    session_.progress.ResetErrors();
    session_.progress.ShowFile("", std::nullopt);
    session_.progress.ShowStatus(TransferStatus::kWaitingForFileName);

    const Announce announce = AwaitFile();
    if (announce == Announce::kFailed) break;
    if (announce == Announce::kBatchOver) {
      senderFinished = true;
      break;
    }

    const std::string_view info(reinterpret_cast<const char*>(packet_.data()), packetLength_);
    const std::size_t nameEnd = std::min(info.find('\0'), info.size());
    if (nameEnd < info.size()) {
      const std::string_view rest = info.substr(nameEnd + 1);
      fileSize_ = ParseLeadingDecimal(rest.substr(0, std::min(rest.find('\0'), rest.size())));
    }
    if (!OpenTarget(info.substr(0, nameEnd))) break;

    session_.progress.ShowStatus(TransferStatus::kReceivingFile);
    FileEnd end = ReceiveData();
    // Whatever arrived stays in the file, also after a failure: a later run may resume from it.
    if (!FlushData()) end = FileEnd::kFailed;
    file_.Reset();
    const bool sizeMatches = !fileSize_ || filePosition_ == *fileSize_;
    if (end == FileEnd::kComplete && sizeMatches) continue;
    if (!resume_) ::unlink(path_.c_str());
    if (end != FileEnd::kComplete) break;
  }
  EndBatch(senderFinished);
  return session_.result;
}

}  // namespace

int ReceiveZmodem(TransferSession& session, const ZmodemReceiveOptions& options) {
  return ZmodemReceiver(session, options).Run();
}

}  // namespace tavix
