// Reads Zmodem headers (every encoding, any length byte) from arbitrary bytes until the input
// ends: no crash, no read past a buffer, no endless loop.
#include "replay_line.h"
#include "zmodem_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tavix::ReplayLine line(data, size);
  tavix::SilentProgress progress;
  tavix::TransferSession session{line, progress};
  tavix::zmodem::FrameReader reader(session);
  while (line.HasInput()) {
    const int header = reader.ReadHeader();
    if (header >= 0 && reader.HeaderLength() > tavix::zmodem::kMaxHeaderData) __builtin_trap();
  }
  return 0;
}
