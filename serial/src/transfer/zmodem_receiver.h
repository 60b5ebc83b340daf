#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "transfer_session.h"

namespace tavix {

struct ZmodemReceiveOptions {
  // Folder for the received files; empty means names are used as sent (still confined).
  std::optional<std::string> directory;
  bool resume = true;          // crash recovery: append to a shorter file of the same name
  bool fullPathNames = false;  // keep the sender's (relative, confined) folders
  std::chrono::milliseconds headerWait{10000};  // for each byte of the sender's headers
};

// Receives a Zmodem batch until the sender ends it. Returns the result code.
int ReceiveZmodem(TransferSession& session, const ZmodemReceiveOptions& options);

}  // namespace tavix
