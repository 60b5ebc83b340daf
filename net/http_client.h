#pragma once

#include <chrono>

#include "framework/status.h"
#include "net/http_request.h"

namespace paltrix::net {

struct HttpTimeouts {
  std::chrono::milliseconds connect{5000};
  std::chrono::milliseconds total{10000};  // connect, send and the whole reply
};

// Sends RequestBytes(request) over a connection that libcurl makes directly
// to the request's host (no proxy: a proxy would change the request line) and
// waits for the reply's header block, which is not examined further. Blocks
// the calling thread for at most `timeouts.total` (connecting at most
// `timeouts.connect`). OK when a reply arrived, whatever its status;
// otherwise why not (kFileSystemError with curl's code and text). Safe to
// call from any thread.
Status SendHttpGet(const HttpGetRequest& request, const HttpTimeouts& timeouts = {});

}  // namespace paltrix::net
