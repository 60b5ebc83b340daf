#pragma once

// Capture of received text to a file, one record per port while capture is on. Bytes collect
// in a 65 024-byte buffer that is appended to the file when 65 023 bytes are in it, when the
// file name changes and when capture ends.
//
// A file that cannot be written keeps the bytes in the buffer; every stored byte tries again.
// While the buffer is full and the file still cannot be written, further bytes are not stored
// (never past the buffer). The first failure of a run of failures is reported once, through
// the reporter; a successful write ends the run.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tavix::terminal {

inline constexpr std::size_t kCaptureBufferSize = 65024;
inline constexpr std::size_t kCaptureWriteThreshold = kCaptureBufferSize - 1;

using CaptureReporter = std::function<void(const std::string& message)>;

class CaptureRecord {
 public:
  CaptureRecord(int port, CaptureReporter reporter);

  void Store(std::uint8_t byte);
  // Appends the collected bytes to the file; true when the buffer is empty afterwards.
  bool Flush();
  // Flushes to the previous file, then names the next one.
  void SetFileName(std::string name);

  // "TERM<port + 4>.CAP" until a name is set.
  std::string FileName() const;
  std::size_t Count() const { return count_; }
  std::size_t Dropped() const { return dropped_; }

 private:
  int port_;
  CaptureReporter reporter_;
  std::vector<std::uint8_t> buffer_;
  std::size_t count_ = 0;
  std::size_t dropped_ = 0;
  std::string fileName_;
  bool failureReported_ = false;
};

}  // namespace tavix::terminal
