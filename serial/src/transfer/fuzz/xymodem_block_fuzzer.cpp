// Receives Xmodem/Ymodem blocks (CRC or checksum by the first byte) from arbitrary bytes, and
// parses each good block as a Ymodem header and its name as a received name.
#include <array>

#include "received_name.h"
#include "replay_line.h"
#include "xymodem_block.h"
#include "ymodem_header.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const bool crc = data[0] & 1;
  tavix::ReplayLine line(data + 1, size - 1);
  tavix::SilentProgress progress;
  tavix::TransferSession session{line, progress};
  std::array<std::uint8_t, tavix::kLongBlock> block{};
  for (std::uint8_t expected = 0; line.HasInput(); ++expected) {
    const tavix::ReceivedBlock got =
        tavix::ReceiveXmodemBlock(session, expected, crc, std::chrono::milliseconds(0), block);
    if (got.outcome != tavix::BlockOutcome::kGood) continue;
    if (const auto header = tavix::ParseYmodemHeader(std::span(block.data(), got.size))) {
      if (const auto name = tavix::ConfineReceivedName(header->name)) {
        if (name->name.empty() || name->name == ".." || name->name.find('/') != std::string::npos) {
          __builtin_trap();
        }
      }
    }
  }
  return 0;
}
