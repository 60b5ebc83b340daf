#include "transfer_session.h"

#include <algorithm>
#include <array>

namespace tavix {

void TransferSession::SendCancelSequence() {
  std::array<std::uint8_t, 20> sequence{};
  sequence.fill(0x08);
  for (int i = 0; i < 10; ++i) sequence[i] = 0x18;
  line.Write(sequence);
}

int TransferSession::ReadWaiting(std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    const int byte = line.ReadByte(std::clamp(left, std::chrono::milliseconds{0}, kTick));
    if (byte != kLineTimeout) return byte;
    if (progress.Cancelled()) return kUserCancel;
    if (left <= kTick) return kLineTimeout;
  }
}

void TransferSession::DrainUntilQuiet(std::chrono::milliseconds quiet) {
  while (line.ReadByte(quiet) != kLineTimeout) {
  }
}

}  // namespace tavix
