#include "net/http_client.h"

#include <curl/curl.h>
#include <fmt/format.h>
#include <poll.h>

#include <cerrno>
#include <memory>
#include <mutex>

namespace paltrix::net {
namespace {

using Clock = std::chrono::steady_clock;

// A reply header block longer than this is not a reply from the service.
constexpr std::size_t kMaxReplyHeaderLength = 64 * 1024;

struct CurlEasyDeleter {
  void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
using CurlEasy = std::unique_ptr<CURL, CurlEasyDeleter>;

CURLcode GlobalInit() {
  static std::once_flag once;
  static CURLcode result = CURLE_OK;
  std::call_once(once, [] { result = curl_global_init(CURL_GLOBAL_DEFAULT); });
  return result;
}

class Exchange {
 public:
  Exchange(CURL* curl, const HttpGetRequest& request, Clock::time_point deadline)
      : curl_(curl), request_(request), deadline_(deadline) {}

  Status Fail(CURLcode code, std::string_view detail = {}) const {
    return Status(ErrorCode::kFileSystemError,
                  fmt::format("The request to {}:{} failed: {}", request_.host, request_.port,
                              detail.empty() ? curl_easy_strerror(code) : detail),
                  static_cast<int>(code), curl_easy_strerror(code));
  }

  // Waits until the connection can be read (POLLIN) or written (POLLOUT),
  // at most until the deadline.
  Status Wait(short events) const {
    curl_socket_t socket = CURL_SOCKET_BAD;
    if (curl_easy_getinfo(curl_, CURLINFO_ACTIVESOCKET, &socket) != CURLE_OK ||
        socket == CURL_SOCKET_BAD) {
      return Fail(CURLE_COULDNT_CONNECT, "the connection was lost");
    }
    for (;;) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now());
      if (left.count() <= 0) return Fail(CURLE_OPERATION_TIMEDOUT, "no reply in time");
      pollfd descriptor{socket, events, 0};
      const int ready = ::poll(&descriptor, 1, static_cast<int>(left.count()));
      if (ready > 0) return Status::Ok();
      if (ready < 0 && errno != EINTR) return Fail(CURLE_RECV_ERROR);
    }
  }

  Status Send(std::string_view bytes) const {
    while (!bytes.empty()) {
      std::size_t sent = 0;
      const CURLcode code = curl_easy_send(curl_, bytes.data(), bytes.size(), &sent);
      if (code == CURLE_AGAIN) {
        if (Status waited = Wait(POLLOUT); !waited.ok()) return waited;
        continue;
      }
      if (code != CURLE_OK) return Fail(code);
      bytes.remove_prefix(sent);
    }
    return Status::Ok();
  }

  // Reads until the reply's header block has arrived; the body is not wanted.
  Status ReceiveReplyHeader() const {
    std::string reply;
    char buffer[4096];
    while (reply.find("\r\n\r\n") == std::string::npos) {
      std::size_t received = 0;
      const CURLcode code = curl_easy_recv(curl_, buffer, sizeof buffer, &received);
      if (code == CURLE_AGAIN) {
        if (Status waited = Wait(POLLIN); !waited.ok()) return waited;
        continue;
      }
      if (code != CURLE_OK) return Fail(code);
      if (received == 0) return Fail(CURLE_GOT_NOTHING, "the server closed without a reply");
      reply.append(buffer, received);
      if (reply.size() > kMaxReplyHeaderLength) return Fail(CURLE_WEIRD_SERVER_REPLY);
    }
    if (!reply.starts_with("HTTP/")) return Fail(CURLE_WEIRD_SERVER_REPLY);
    return Status::Ok();
  }

 private:
  CURL* curl_;
  const HttpGetRequest& request_;
  Clock::time_point deadline_;
};

}  // namespace

Status SendHttpGet(const HttpGetRequest& request, const HttpTimeouts& timeouts) {
  const Clock::time_point deadline = Clock::now() + timeouts.total;
  CurlEasy handle(GlobalInit() == CURLE_OK ? curl_easy_init() : nullptr);
  Exchange exchange(handle.get(), request, deadline);
  if (!handle) return exchange.Fail(CURLE_FAILED_INIT);

  // libcurl makes the connection (name lookup, time-outs, TLS for https);
  // the request bytes are written as they are, because libcurl's own HTTP
  // code always puts the Host line first.
  const std::string serverUrl = fmt::format("{}://{}:{}/", request.https ? "https" : "http",
                                            request.host, request.port == 0 ? 80 : request.port);
  char errorText[CURL_ERROR_SIZE] = {};
  CURL* curl = handle.get();
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorText);
  curl_easy_setopt(curl, CURLOPT_URL, serverUrl.c_str());
  curl_easy_setopt(curl, CURLOPT_CONNECT_ONLY, 1L);
  curl_easy_setopt(curl, CURLOPT_PROXY, "");
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS,
                   static_cast<long>(std::min(timeouts.connect, timeouts.total).count()));
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(timeouts.total.count()));

  if (const CURLcode code = curl_easy_perform(curl); code != CURLE_OK) {
    return exchange.Fail(code, errorText);
  }
  if (Status sent = exchange.Send(RequestBytes(request)); !sent.ok()) return sent;
  return exchange.ReceiveReplyHeader();
}

}  // namespace paltrix::net
