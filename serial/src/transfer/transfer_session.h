#pragma once

#include <chrono>

#include "line.h"
#include "transfer_progress.h"
#include "transfer_status.h"

namespace tavix {

// One tick of the library's clock.
inline constexpr std::chrono::milliseconds kTick{55};

// Returned by TransferSession::Read when the user cancelled while it waited.
inline constexpr int kUserCancel = -2;

// What every protocol engine works with: the line, the progress it reports to, the port's
// options, and the result of the run so far.
struct TransferSession {
  Line& line;
  TransferProgress& progress;
  bool ignoreCarrier = false;
  int result = kTransferOk;
  bool carrierLost = false;
  std::chrono::steady_clock::time_point nextCarrierCheck{};

  // Records `code`, shows `status` and returns `code`.
  int Fail(int code, TransferStatus status) {
    result = code;
    progress.ShowStatus(status);
    return code;
  }

  // The next byte, kLineTimeout, or kUserCancel when the user cancelled during the wait.
  int Read(std::chrono::milliseconds timeout) {
    const int byte = line.ReadByte(std::chrono::milliseconds{0});
    return byte != kLineTimeout ? byte : ReadWaiting(timeout);
  }

  // Carrier detect costs a system call, so a transfer asks the line at most once a tick: soon
  // enough for a line that drops, and nothing per subpacket.
  bool CarrierLost() {
    if (ignoreCarrier) return false;
    const auto now = std::chrono::steady_clock::now();
    if (now >= nextCarrierCheck) {
      carrierLost = !line.Carrier();
      nextCarrierCheck = now + kTick;
    }
    return carrierLost;
  }
  bool Write(std::span<const std::uint8_t> bytes) { return line.Write(bytes); }
  bool WriteByte(std::uint8_t byte) { return line.Write({&byte, 1}); }

  // Ten CAN bytes and ten backspaces: the cancel sequence every Xmodem/Ymodem/Zmodem peer knows.
  void SendCancelSequence();

  // Read's wait when nothing is queued, in slices of a tick so that a cancel is noticed.
  int ReadWaiting(std::chrono::milliseconds timeout);

  // Reads and drops received bytes until `quiet` passes without any.
  void DrainUntilQuiet(std::chrono::milliseconds quiet);
};

}  // namespace tavix
