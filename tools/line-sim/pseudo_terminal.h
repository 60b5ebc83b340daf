#pragma once

// One pseudo-terminal for tests and the line simulator: the master side stays with its owner,
// the slave side is a device path any program can open like a serial port.

#include <string>

namespace tavix::linesim {

class PseudoTerminal {
 public:
  // Opens a new pair; throws std::system_error when the system has none to give.
  PseudoTerminal();
  ~PseudoTerminal();
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  // Non-blocking descriptor of the master side.
  int master() const { return master_; }
  // Path of the slave device, e.g. /dev/pts/7.
  const std::string& devicePath() const { return devicePath_; }

 private:
  int master_ = -1;
  // Held open so the master never sees a hang-up while no program has the device open; its
  // settings are raw, so bytes pass unchanged before any program sets the line.
  int slaveHold_ = -1;
  std::string devicePath_;
};

}  // namespace tavix::linesim
