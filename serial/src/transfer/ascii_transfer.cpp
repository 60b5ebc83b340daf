#include "ascii_transfer.h"

#include <fcntl.h>

#include <array>
#include <vector>

#include "xymodem_block.h"

namespace tavix {

namespace {
constexpr std::chrono::seconds kEchoWait{1};
constexpr std::chrono::seconds kSilenceEndsFile{2};
constexpr std::size_t kChunk = 1024;
}  // namespace

int SendAscii(TransferSession& session, FileToSend& file) {
  auto finish = [&session](int result) {
    session.DrainUntilQuiet(kEchoWait);
    return result;
  };
  std::array<std::uint8_t, kChunk> chunk{};
  std::uint64_t sent = 0;
  for (;;) {
    const std::size_t got = ReadFull(file.fd.Get(), chunk);
    for (std::size_t i = 0; i < got; ++i) {
      session.WriteByte(chunk[i]);
      const int echo = session.Read(kEchoWait);
      if (echo == kCan) {
        return finish(session.Fail(kTransferReceiverCancelled, TransferStatus::kReceiverCancelled));
      }
      if (echo == kUserCancel || session.progress.Cancelled()) {
        session.Fail(kTransferSenderCancelled, TransferStatus::kSenderCancelled);
        session.progress.Pause(72, true);
        session.line.PurgeInput();
        session.WriteByte(kSub);
        return finish(session.result);
      }
      if (session.CarrierLost()) {
        return finish(session.Fail(kTransferLostCarrier, TransferStatus::kLostCarrier));
      }
    }
    sent += got;
    session.progress.ShowBytes(sent);
    if (got < chunk.size()) break;
  }
  session.WriteByte(kSub);
  session.progress.ShowStatus(TransferStatus::kTransferCompleted);
  return finish(kTransferOk);
}

int ReceiveAscii(TransferSession& session, const std::string& path) {
  UniqueFd file(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
  if (!file.Valid()) {
    session.SendCancelSequence();
    session.Fail(kTransferCannotOpenFile, TransferStatus::kCouldNotOpenFile);
    session.progress.Pause(72, false);
    return session.result;
  }
  session.progress.ShowStatus(TransferStatus::kReceivingFile);
  session.progress.StartFileClock();
  session.WriteByte('\r');
  std::vector<std::uint8_t> chunk;
  chunk.reserve(kChunk);
  std::uint64_t received = 0;
  bool ended = false;
  while (!ended) {
    chunk.clear();
    while (chunk.size() < kChunk) {
      const int byte = session.Read(kSilenceEndsFile);
      if (byte == kUserCancel) {
        session.SendCancelSequence();
        session.Fail(kTransferReceiverCancelled, TransferStatus::kReceiverCancelled);
        session.progress.Pause(72, true);
        session.line.PurgeInput();
        ended = true;
        break;
      }
      if (byte == kLineTimeout || byte == kCan) {
        ended = true;
        break;
      }
      chunk.push_back(static_cast<std::uint8_t>(byte));
      if (byte == kSub) {
        ended = true;
        break;
      }
    }
    if (!WriteFull(file.Get(), chunk)) {
      return session.Fail(kTransferWriteError, TransferStatus::kErrorWritingToFile);
    }
    received += chunk.size();
    session.progress.ShowBytes(received);
    if (session.CarrierLost()) {
      return session.Fail(kTransferLostCarrier, TransferStatus::kLostCarrier);
    }
  }
  if (session.result == kTransferOk) {
    session.progress.ShowStatus(TransferStatus::kTransferCompleted);
  }
  return session.result;
}

}  // namespace tavix
