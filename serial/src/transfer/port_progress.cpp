#include "port_progress.h"

#include <QWidget>

#include "port/port_access.h"
#include "ui/gui_presence.h"

namespace tavix {

namespace {
// The bytes display is refreshed at most this often; statuses always show at once.
constexpr std::chrono::milliseconds kRefresh{100};
}  // namespace

PortProgress::PortProgress(int port, TavixWindow owner, const std::string& title, bool sending,
                           bool batch)
    : port_(port), batch_(batch) {
  if (title.empty() || !CanShowWindows()) return;
  auto* parent = qobject_cast<QWidget*>(static_cast<QObject*>(owner));
  window_ = new ProgressWindow(parent, QString::fromStdString(title), sending);
  window_->setAttribute(Qt::WA_DeleteOnClose);
  window_->show();
  windowWasShown_ = true;
  ProcessEvents(owner);
}

PortProgress::~PortProgress() {
  ShowPendingBytes();
  if (window_ && !window_->Cancelled()) window_->close();
}

void PortProgress::Report() {
  const std::string status(TransferStatusText(status_));
  const TavixTransferProgress report{fileName_.c_str(), fileSize_,
                                     static_cast<std::int64_t>(bytes_), errors_, status.c_str()};
  ReportTransferProgress(port_, report);
}

void PortProgress::ShowStatus(TransferStatus status) {
  ShowPendingBytes();
  status_ = status;
  if (IsProblemStatus(status)) ++errors_;
  if (window_) {
    window_->SetStatus(QString::fromUtf8(TransferStatusText(status).data(),
                                         static_cast<int>(TransferStatusText(status).size())));
    window_->SetErrors(errors_);
  }
  Report();
}

void PortProgress::ShowFile(std::string_view name, std::optional<std::uint64_t> size) {
  ShowPendingBytes();
  fileName_ = name;
  fileSize_ = size ? static_cast<std::int64_t>(*size) : -1;
  bytes_ = 0;
  if (window_) window_->SetFile(QString::fromStdString(fileName_), fileSize_);
  Report();
}

void PortProgress::ShowBytes(std::uint64_t bytes) {
  bytes_ = bytes;
  bytesPending_ = true;
  const auto now = std::chrono::steady_clock::now();
  if (now - lastShown_ < kRefresh) return;
  lastShown_ = now;
  ShowPendingBytes();
}

// A count held back by the refresh limit is shown before anything else changes, so the last
// one of a file (its 100 %) is never lost.
void PortProgress::ShowPendingBytes() {
  if (!bytesPending_) return;
  bytesPending_ = false;
  const auto now = std::chrono::steady_clock::now();
  if (window_) {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(now - fileStart_).count();
    window_->SetBytes(static_cast<std::int64_t>(bytes_), seconds > 0 ? bytes_ / seconds : 0,
                      batch_);
  }
  Report();
}

void PortProgress::StartFileClock() {
  fileStart_ = std::chrono::steady_clock::now();
}

void PortProgress::ResetErrors() {
  errors_ = 0;
  if (window_) window_->SetErrors(0);
}

bool PortProgress::Cancelled() {
  return windowWasShown_ && (!window_ || window_->Cancelled());
}

void PortProgress::Pause(int ticks, bool forced) {
  if (forced || (window_ && !Cancelled())) ComDelay(nullptr, ticks);
}

}  // namespace tavix
