#include "terminal/capture_record.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>

namespace tavix::terminal {

CaptureRecord::CaptureRecord(int port, CaptureReporter reporter)
    : port_(port), reporter_(std::move(reporter)), buffer_(kCaptureBufferSize) {}

std::string CaptureRecord::FileName() const {
  return fileName_.empty() ? "TERM" + std::to_string(port_ + 4) + ".CAP" : fileName_;
}

void CaptureRecord::Store(std::uint8_t byte) {
  if (count_ == buffer_.size() && !Flush()) {
    ++dropped_;
    return;
  }
  buffer_[count_++] = byte;
  if (count_ >= kCaptureWriteThreshold) Flush();
}

bool CaptureRecord::Flush() {
  if (count_ == 0) return true;
  const std::string name = FileName();
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(name.c_str(), "ab"),
                                                             &std::fclose);
  int error = errno;
  if (file != nullptr) {
    const std::size_t written = std::fwrite(buffer_.data(), 1, count_, file.get());
    error = errno;
    if (written == count_ && std::fflush(file.get()) == 0) {
      count_ = 0;
      failureReported_ = false;
      return true;
    }
    error = errno;
    // Part of the bytes may have reached the file; they are written again on the next try,
    // which duplicates rather than loses text.
  }
  if (!failureReported_) {
    failureReported_ = true;
    reporter_("The capture file \"" + name + "\" cannot be written (" + std::strerror(error) +
              "). The captured text is kept in memory, up to " +
              std::to_string(kCaptureBufferSize) +
              " bytes, and written as soon as the file can be written again.");
  }
  return false;
}

void CaptureRecord::SetFileName(std::string name) {
  Flush();
  fileName_ = std::move(name);
}

}  // namespace tavix::terminal
