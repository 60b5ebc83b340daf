#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

#include "file_io.h"

namespace tavix::testing {

// A pseudo-terminal in raw mode: our side holds the master, a peer program runs on the slave.
class PtyPair {
 public:
  PtyPair();
  int Master() const { return master_.Get(); }
  const std::string& SlavePath() const { return slavePath_; }

 private:
  UniqueFd master_;
  UniqueFd slave_;  // held open so the master never sees a hang-up between peers
  std::string slavePath_;
};

// Starts `words` with standard input and output on the slave of `pty`, in `folder`, standard
// error to `folder`/peer.log. Waiting or killing is up to the caller (PeerProcess).
class PeerProcess {
 public:
  PeerProcess(const PtyPair& pty, const std::vector<std::string>& words,
              const std::filesystem::path& folder)
      : PeerProcess(pty.SlavePath(), words, folder) {}
  // The same on any terminal device, such as an end of the simulated line.
  PeerProcess(const std::string& device, const std::vector<std::string>& words,
              const std::filesystem::path& folder);
  ~PeerProcess();
  PeerProcess(const PeerProcess&) = delete;
  PeerProcess& operator=(const PeerProcess&) = delete;

  // The exit status, or 128 + signal; kills the peer when it runs past `limitSeconds`.
  int Wait(int limitSeconds = 60);

 private:
  pid_t pid_ = -1;
};

}  // namespace tavix::testing
