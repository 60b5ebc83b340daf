#pragma once

#include <optional>
#include <string>

#include "block_protocol.h"
#include "transfer_session.h"

namespace tavix {

// Receives with Xmodem, Xmodem 1K(-G) or Ymodem(-G) until the file (or, for the batch
// protocols, the batch) ends. Non-batch files are stored as `fileName` inside `directory` (or
// as given when no directory is named); batch files take the bare name from their header,
// confined to `directory`. Returns the result code.
int ReceiveXymodem(TransferSession& session, const BlockProtocol& protocol,
                   const std::optional<std::string>& directory, const std::string& fileName);

}  // namespace tavix
