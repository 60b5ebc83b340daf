#pragma once

// The terminal's command numbers (menu, button bar and Alt keys).

namespace tavix::terminal {

enum Command : int {
  kCommandUpload = 40001,
  kCommandDownload = 40002,
  kCommandExit = 40003,
  kCommandCapture = 40005,
  kCommandHangUp = 40006,
  kCommandClearScreen = 40007,
  kCommandDoorway = 40008,
  kCommandModemParameters = 40009,
  kCommandEcho = 40010,
  kCommandCommErrors = 40011,
};

}  // namespace tavix::terminal
