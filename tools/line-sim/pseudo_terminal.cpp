#include "pseudo_terminal.h"

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace tavix::linesim {
namespace {

[[noreturn]] void ThrowSystemError(const char* what) {
  throw std::system_error(errno, std::generic_category(), what);
}

void MakeRaw(int descriptor) {
  termios settings{};
  if (::tcgetattr(descriptor, &settings) != 0) return;
  ::cfmakeraw(&settings);
  ::tcsetattr(descriptor, TCSANOW, &settings);
}

}  // namespace

PseudoTerminal::PseudoTerminal() {
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master_ < 0) ThrowSystemError("posix_openpt");
  char name[128] = {};
  if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0 ||
      ::ptsname_r(master_, name, sizeof name) != 0) {
    ::close(master_);
    ThrowSystemError("pseudo-terminal slave");
  }
  devicePath_ = name;
  slaveHold_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
  if (slaveHold_ < 0) {
    ::close(master_);
    ThrowSystemError("open pseudo-terminal slave");
  }
  MakeRaw(slaveHold_);
  MakeRaw(master_);
  ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
}

PseudoTerminal::~PseudoTerminal() {
  ::close(slaveHold_);
  ::close(master_);
}

}  // namespace tavix::linesim
