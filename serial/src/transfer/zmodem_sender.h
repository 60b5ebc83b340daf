#pragma once

#include <string_view>
#include <vector>

#include "file_io.h"
#include "transfer_session.h"
#include "zmodem_reader.h"
#include "zmodem_wire.h"

namespace tavix {

// The sending side of a Zmodem batch: StartBatch once, SendFile for each file, EndBatch.
class ZmodemSender {
 public:
  explicit ZmodemSender(TransferSession& session);

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
  // Reads headers until one the data phase acts on; ZRPOS also repositions the file.
  int SynchroniseHeader();
  void Flush();
  void SendHexHeader(int type, const zmodem::HeaderData& data);
  void SendBinaryHeader(int type, const zmodem::HeaderData& data);
  bool Seek(std::uint32_t position);

  TransferSession& session_;
  zmodem::FrameReader reader_;
  zmodem::FrameWriter writer_;
  std::vector<std::uint8_t> out_;
  int fileFd_ = -1;
  bool useCrc32_ = false;
  bool variableHeaders_ = false;
  std::size_t rxBufferSize_ = 0;
  std::uint32_t txPosition_ = 0;
};

}  // namespace tavix
