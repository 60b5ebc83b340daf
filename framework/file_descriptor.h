#pragma once

#include <unistd.h>

#include <utility>

namespace paltrix {

// Owns a POSIX file descriptor and closes it when it goes away.
class FileDescriptor {
 public:
  FileDescriptor() = default;
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  FileDescriptor& operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
      Reset();
      fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() { Reset(); }

  bool valid() const { return fd_ >= 0; }
  int get() const { return fd_; }

  // Closes the descriptor and reports whether the close succeeded (a failed
  // close can mean that written data were lost). Closing nothing succeeds.
  bool Close() {
    if (fd_ < 0) return true;
    return ::close(std::exchange(fd_, -1)) == 0;
  }

 private:
  void Reset() { Close(); }

  int fd_ = -1;
};

}  // namespace paltrix
