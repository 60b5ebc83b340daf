#pragma once

// A program of the far end (lrzsz, a shell command) run on a serial device: its standard input
// and output on the device, standard error appended to a log, started in a folder of its own.

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace tavix::testing {

// The one-way delay of a simulated line to lrzsz. Its receivers purge their input right after
// each ACK; with no delay the next block can arrive before that purge and be lost, which costs a
// 5 s time-out each time. A real line's delay keeps the block behind the purge.
inline constexpr std::chrono::milliseconds kLrzszLineLatency{20};

class SerialPeer {
 public:
  // Throws std::runtime_error when the program cannot be started.
  SerialPeer(const std::vector<std::string>& words, const std::filesystem::path& folder,
             const std::string& device, const std::filesystem::path& log);
  // Kills the program if it still runs.
  ~SerialPeer();
  SerialPeer(const SerialPeer&) = delete;
  SerialPeer& operator=(const SerialPeer&) = delete;

  // The exit status (128 + signal when a signal ended it), or -1 when the program was still
  // running after `limit` and had to be killed.
  int Finish(std::chrono::seconds limit = std::chrono::seconds(60));

 private:
  pid_t pid_ = -1;
};

}  // namespace tavix::testing
