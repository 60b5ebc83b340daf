#pragma once

#include <QPointer>
#include <chrono>
#include <memory>
#include <string>

#include "progress_window.h"
#include "tavix32.h"
#include "transfer_progress.h"

namespace tavix {

// Progress of a transfer on a port: shown in the progress window when the caller runs a
// QApplication, and always handed to the port's progress callback.
class PortProgress : public TransferProgress {
 public:
  // `title` empty: no window (quiet ASCII, or no QApplication).
  PortProgress(int port, TavixWindow owner, const std::string& title, bool sending, bool batch);
  ~PortProgress() override;

  void ShowStatus(TransferStatus status) override;
  void ShowFile(std::string_view name, std::optional<std::uint64_t> size) override;
  void ShowBytes(std::uint64_t bytes) override;
  void StartFileClock() override;
  void ResetErrors() override;
  bool Cancelled() override;
  void Pause(int ticks, bool forced) override;

  bool HasWindow() const { return window_ != nullptr; }

 private:
  void Report();
  void ShowPendingBytes();

  int port_;
  bool batch_;
  QPointer<ProgressWindow> window_;
  bool windowWasShown_ = false;
  std::string fileName_;
  std::int64_t fileSize_ = -1;
  std::uint64_t bytes_ = 0;
  bool bytesPending_ = false;  // bytes_ not yet shown (refresh limit)
  int errors_ = 0;
  TransferStatus status_ = TransferStatus::kWaitingForReceiver;
  std::chrono::steady_clock::time_point fileStart_ = std::chrono::steady_clock::now();
  std::chrono::steady_clock::time_point lastShown_{};
};

}  // namespace tavix
