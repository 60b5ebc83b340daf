#pragma once

#include <string_view>
#include <vector>

#include "file_io.h"
#include "transfer_session.h"
#include "zmodem_reader.h"
#include "zmodem_wire.h"

namespace tavix {

// How long the sender waits for each byte of the receiver's headers.
struct ZmodemSenderWaits {
  std::chrono::milliseconds receiverInit{90000};  // the ZRINIT answering a ZRQINIT
  std::chrono::milliseconds answer{60000};        // every other header of the batch
  std::chrono::milliseconds skipToHeader{5000};   // to the next "*" after a stale ZRINIT
};

// The sending side of a Zmodem batch: StartBatch once, SendFile for each file, EndBatch.
class ZmodemSender {
 public:
  explicit ZmodemSender(TransferSession& session, ZmodemSenderWaits waits = {});

  void StartBatch();
  // Sends one file under `name` (the bare name or the full path). Returns the result code.
  int SendFile(FileToSend& file, std::string_view name);
  // Ends the batch with the ZFIN exchange and "OO".
  int EndBatch();

  // What the receiver's ZRINIT asked for.
  bool UsesCrc32() const { return useCrc32_; }
  bool UsesVariableHeaders() const { return variableHeaders_; }
  std::size_t ReceiverBufferSize() const { return rxBufferSize_; }

 private:
  bool AwaitReceiverInit();
  int SendFileInfo(FileToSend& file, std::string_view name);
  int SendData();
  // Reads headers until one the data phase acts on; ZRPOS also repositions the file. A stale
  // ZRPOS is reported as kZack. `frameOpen`: a ZDATA frame is still running, so a garbled
  // header is not answered with ZNAK.
  int SynchroniseHeader(bool frameOpen);
  void Flush();
  void SendHexHeader(int type, const zmodem::HeaderData& data);
  void SendBinaryHeader(int type, const zmodem::HeaderData& data);
  bool Seek(std::uint32_t position);

  TransferSession& session_;
  ZmodemSenderWaits waits_;
  zmodem::FrameReader reader_;
  zmodem::FrameWriter writer_;
  std::vector<std::uint8_t> out_;
  FileReadBuffer fileReader_;
  bool useCrc32_ = false;
  bool variableHeaders_ = false;
  std::size_t rxBufferSize_ = 0;
  std::uint32_t txPosition_ = 0;
  // The receiver holds the file up to here: its last ZACK or ZRPOS in this file.
  std::uint32_t receiverHolds_ = 0;
};

}  // namespace tavix
