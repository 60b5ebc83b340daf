#pragma once

#include <string_view>
#include <vector>

#include "block_protocol.h"
#include "file_io.h"
#include "transfer_session.h"
#include "xymodem_block.h"

namespace tavix {

// How long the block sender waits for the receiver's answers.
struct BlockSenderWaits {
  std::chrono::milliseconds answer{60000};     // start byte, ACK or NAK of a block
  std::chrono::milliseconds endOfFile{60000};  // ACK of each of the (at most two) EOTs
  // The answer to the end-of-batch header, and the receiver's last byte after it.
  std::chrono::milliseconds batchEnd{10000};
};

// The sending side of Xmodem, Xmodem 1K(-G) and Ymodem(-G). One sender serves a whole batch:
// SendFile for each file, then EndBatch for the batch protocols.
class XymodemSender {
 public:
  XymodemSender(TransferSession& session, BlockProtocol protocol, BlockSenderWaits waits = {});

  // Sends one file; `name` is what the Ymodem header carries. Returns the result code.
  int SendFile(FileToSend& file, std::string_view name);
  // Sends the end-of-batch header (batch protocols only).
  int EndBatch();

  // The protocol in force: a streaming protocol falls back when the receiver asks for "C".
  const BlockProtocol& Protocol() const { return protocol_; }
  bool CrcMode() const { return crc_; }

 private:
  enum class Answer { kAck, kNak, kTimeOut, kFailed };

  int WaitForReceiver();
  Answer WaitForAnswer(std::chrono::milliseconds wait, bool startRequestResends);
  // Sends `block`, resending on NAK, until it is acknowledged, `wait` passes without an answer,
  // or the transfer fails (the eleventh NAK in a row, a cancel, lost carrier). `opening`: a
  // header or the first block of a file.
  Answer SendAndConfirm(const std::vector<std::uint8_t>& block, bool opening,
                        std::chrono::milliseconds wait);
  // True for an ACK; records a time-out as the transfer's result.
  bool Acknowledged(Answer answer);
  // Sends a file's header block and waits for the receiver's start byte for the data.
  int SendHeader(const std::array<std::uint8_t, kShortBlock>& header);
  int SendData(FileToSend& file);
  int SendEndOfFile();
  bool ReceiverCancelledWhileStreaming();

  TransferSession& session_;
  BlockProtocol protocol_;
  BlockSenderWaits waits_;
  bool crc_ = true;
  std::vector<std::uint8_t> wire_;
};

}  // namespace tavix
