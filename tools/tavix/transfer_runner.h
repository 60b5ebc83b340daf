#pragma once

#include <string_view>

#include "transfer_request.h"

namespace tavix::cli {

// Runs the requested transfer on an open, configured port and returns the library's result
// code: the transfer results of Upload/Download (0..12) or of the Zmodem exports (0..7).
int RunTransfer(int port, const TransferRequest& request);

// What a non-zero result code of the transfer means, for the closing message.
std::string_view TransferResultText(const TransferRequest& request, int result);

}  // namespace tavix::cli
