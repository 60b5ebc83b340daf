#include "framework/console.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace paltrix::console {
namespace {

std::atomic<bool> failed{false};

bool WriteAll(int fd, std::string_view text) {
  while (!text.empty()) {
    const ssize_t written = ::write(fd, text.data(), text.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      failed = true;
      return false;
    }
    text.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

}  // namespace

bool WriteOut(std::string_view text) {
  return WriteAll(STDOUT_FILENO, text);
}

bool WriteErr(std::string_view text) {
  return WriteAll(STDERR_FILENO, text);
}

bool OutputFailed() {
  return failed;
}

}  // namespace paltrix::console
