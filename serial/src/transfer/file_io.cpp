#include "file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

namespace tavix {

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
  if (this != &other) {
    Reset();
    fd_ = other.Release();
  }
  return *this;
}

int UniqueFd::Release() {
  return std::exchange(fd_, -1);
}

void UniqueFd::Reset() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

FileToSend OpenFileToSend(const std::string& path) {
  FileToSend file;
  file.fd = UniqueFd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat info {};
  if (!file.fd.Valid() || ::fstat(file.fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
    file.fd.Reset();
    return file;
  }
  file.size = static_cast<std::uint64_t>(info.st_size);
  file.modified = info.st_mtime;
  return file;
}

std::size_t ReadFull(int fd, std::span<std::uint8_t> buffer) {
  std::size_t done = 0;
  while (done < buffer.size()) {
    const ssize_t n = ::read(fd, buffer.data() + done, buffer.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  return done;
}

bool WriteFull(int fd, std::span<const std::uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

void FileWriteBuffer::Attach(int fd) {
  fd_ = fd;
  pending_.clear();
  pending_.reserve(kCapacity);
}

bool FileWriteBuffer::Append(std::span<const std::uint8_t> bytes) {
  if (pending_.size() + bytes.size() > kCapacity && !Flush()) return false;
  if (bytes.size() >= kCapacity) return WriteFull(fd_, bytes);
  pending_.insert(pending_.end(), bytes.begin(), bytes.end());
  return true;
}

bool FileWriteBuffer::Flush() {
  const bool written = pending_.empty() || WriteFull(fd_, pending_);
  pending_.clear();
  return written;
}

void FileReadBuffer::Attach(int fd) {
  fd_ = fd;
  block_.resize(kCapacity);
  head_ = tail_ = 0;
}

bool FileReadBuffer::Seek(std::uint64_t position) {
  head_ = tail_ = 0;
  return ::lseek(fd_, static_cast<off_t>(position), SEEK_SET) == static_cast<off_t>(position);
}

std::size_t FileReadBuffer::Read(std::span<std::uint8_t> piece) {
  std::size_t done = 0;
  while (done < piece.size()) {
    if (head_ == tail_) {
      head_ = 0;
      tail_ = ReadFull(fd_, block_);
      if (tail_ == 0) break;
    }
    const std::size_t count = std::min(piece.size() - done, tail_ - head_);
    std::copy_n(block_.begin() + static_cast<std::ptrdiff_t>(head_), count,
                piece.begin() + static_cast<std::ptrdiff_t>(done));
    head_ += count;
    done += count;
  }
  return done;
}

}  // namespace tavix
