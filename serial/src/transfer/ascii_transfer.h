#pragma once

#include <string>

#include "file_io.h"
#include "transfer_session.h"

namespace tavix {

// Sends a text file byte by byte, each byte paced by up to one second of the other side's echo,
// and ends with one SUB. Returns the result code.
int SendAscii(TransferSession& session, FileToSend& file);

// Stores what arrives in `path` until two seconds of silence, a CAN (not stored) or a SUB
// (stored as the last byte). Returns the result code.
int ReceiveAscii(TransferSession& session, const std::string& path);

}  // namespace tavix
