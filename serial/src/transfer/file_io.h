#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <span>
#include <string>
#include <vector>

namespace tavix {

// An owned file descriptor, closed on destruction.
class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept;
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  ~UniqueFd() { Reset(); }

  int Get() const { return fd_; }
  bool Valid() const { return fd_ >= 0; }
  int Release();
  void Reset();

 private:
  int fd_ = -1;
};

// A file opened for sending, with what the headers announce.
struct FileToSend {
  UniqueFd fd;
  std::uint64_t size = 0;
  std::time_t modified = 0;
};

// Opens `path` read-only; an invalid fd when it cannot be opened.
FileToSend OpenFileToSend(const std::string& path);

// Reads up to `buffer.size()` bytes, fewer only at the end of the file or on an error.
std::size_t ReadFull(int fd, std::span<std::uint8_t> buffer);

// Writes all bytes; false on a short or failed write.
bool WriteFull(int fd, std::span<const std::uint8_t> bytes);

// A file being sent, read from the disk in large blocks and handed out in pieces of any length.
class FileReadBuffer {
 public:
  static constexpr std::size_t kCapacity = 64 * 1024;

  // Starts reading `fd` (not owned) from its current offset.
  void Attach(int fd);
  // Moves to `position`; false when the file cannot be positioned there.
  bool Seek(std::uint64_t position);
  // Fills `piece`; fewer bytes only at the end of the file or on an error.
  std::size_t Read(std::span<std::uint8_t> piece);

 private:
  int fd_ = -1;
  std::vector<std::uint8_t> block_;
  std::size_t head_ = 0;
  std::size_t tail_ = 0;
};

// A received file's bytes, gathered and written in large blocks rather than one system call per
// block of the protocol. Contract: call Flush before telling the peer that data is safe and before
// the file is closed; a failed write is reported by the Append or Flush that made it.
class FileWriteBuffer {
 public:
  static constexpr std::size_t kCapacity = 64 * 1024;

  // Starts collecting for `fd` (not owned); anything pending for an earlier file is dropped.
  void Attach(int fd);
  // False when a write this call had to make failed.
  bool Append(std::span<const std::uint8_t> bytes);
  // Writes everything pending; false on a short or failed write (the pending bytes are dropped).
  bool Flush();

 private:
  int fd_ = -1;
  std::vector<std::uint8_t> pending_;
};

}  // namespace tavix
