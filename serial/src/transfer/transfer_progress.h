#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "transfer_status.h"

namespace tavix {

// What a running transfer reports and asks: the progress window, the command line's progress
// line, or nothing. Implementations count problem statuses (IsProblemStatus) as errors.
class TransferProgress {
 public:
  virtual ~TransferProgress() = default;

  virtual void ShowStatus(TransferStatus status) = 0;
  // The file being transferred; size is empty when the other side did not announce one.
  virtual void ShowFile(std::string_view name, std::optional<std::uint64_t> size) = 0;
  virtual void ShowBytes(std::uint64_t bytes) = 0;
  // Notes the clock: the rate shown counts from here.
  virtual void StartFileClock() = 0;
  virtual void ResetErrors() = 0;
  // True once the user asked to cancel (or closed the progress window).
  virtual bool Cancelled() = 0;
  // Waits `ticks` of 55 ms to let the user read a status. Without a window, or after a cancel,
  // only forced pauses wait.
  virtual void Pause(int ticks, bool forced) = 0;
};

// Progress for transfers that show nothing: never cancelled, pauses only when forced.
class SilentProgress : public TransferProgress {
 public:
  void ShowStatus(TransferStatus status) override;
  void ShowFile(std::string_view, std::optional<std::uint64_t>) override {}
  void ShowBytes(std::uint64_t bytes) override { bytes_ = bytes; }
  void StartFileClock() override {}
  void ResetErrors() override { errors_ = 0; }
  bool Cancelled() override { return false; }
  void Pause(int ticks, bool forced) override;

  TransferStatus LastStatus() const { return last_; }
  int Errors() const { return errors_; }
  std::uint64_t Bytes() const { return bytes_; }

 private:
  TransferStatus last_ = TransferStatus::kWaitingForReceiver;
  int errors_ = 0;
  std::uint64_t bytes_ = 0;
};

}  // namespace tavix
