// Reads Zmodem data subpackets (CRC-16 and CRC-32 by the first byte) from arbitrary bytes
// into a 1024-byte buffer until the input ends.
#include <array>

#include "replay_line.h"
#include "zmodem_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const bool crc32 = data[0] & 1;
  tavix::ReplayLine line(data + 1, size - 1);
  tavix::SilentProgress progress;
  tavix::TransferSession session{line, progress};
  tavix::zmodem::FrameReader reader(session);
  std::array<std::uint8_t, tavix::zmodem::kMaxSubpacket> buffer{};
  while (line.HasInput()) {
    const tavix::zmodem::Subpacket packet = reader.ReadSubpacket(buffer, crc32);
    if (packet.length > buffer.size()) __builtin_trap();
  }
  return 0;
}
