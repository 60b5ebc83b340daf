#include "pty_peer.h"

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <thread>

namespace tavix::testing {

PtyPair::PtyPair() : master_(::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {
  if (!master_.Valid() || ::grantpt(master_.Get()) != 0 || ::unlockpt(master_.Get()) != 0) {
    throw std::runtime_error("no pseudo-terminal");
  }
  slavePath_ = ::ptsname(master_.Get());
  slave_ = UniqueFd(::open(slavePath_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
  termios settings{};
  ::tcgetattr(slave_.Get(), &settings);
  ::cfmakeraw(&settings);
  ::tcsetattr(slave_.Get(), TCSANOW, &settings);
}

PeerProcess::PeerProcess(const std::string& device, const std::vector<std::string>& words,
                         const std::filesystem::path& folder) {
  std::vector<char*> argv;
  for (const std::string& word : words) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  const std::string log = (folder / "peer.log").string();
  pid_ = ::fork();
  if (pid_ < 0) throw std::runtime_error("fork failed");
  if (pid_ == 0) {
    // A session of its own without a controlling terminal: the peer's exit must not hang up
    // the pseudo-terminal, which would drop its last answer still on the way to us.
    ::setsid();
    const int slave = ::open(device.c_str(), O_RDWR | O_NOCTTY);
    const int err = ::open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (slave < 0 || ::chdir(folder.c_str()) != 0) ::_exit(126);
    ::dup2(slave, 0);
    ::dup2(slave, 1);
    if (err >= 0) ::dup2(err, 2);
    ::execvp(argv[0], argv.data());
    ::_exit(127);
  }
}

int PeerProcess::Wait(int limitSeconds) {
  if (pid_ < 0) return -1;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(limitSeconds);
  int status = 0;
  while (::waitpid(pid_, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, &status, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  pid_ = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

PeerProcess::~PeerProcess() {
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
}

}  // namespace tavix::testing
