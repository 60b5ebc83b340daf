#include "output/socket_printer.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>

#include <cerrno>
#include <charconv>
#include <chrono>

#include "framework/text/windows1252.h"
#include "output/file_descriptor.h"
#include "output/posix_io.h"

namespace paltrix::output {
namespace {

constexpr std::string_view kScheme = "socket://";
constexpr int kConnectTimeoutMs = 10'000;
constexpr int kSendTimeoutSeconds = 30;
// How long finishing waits for the printer to close after the last byte.
constexpr auto kCloseWait = std::chrono::seconds(5);

// Waits for a non-blocking connect; 0 on success, else the errno value.
int AwaitConnect(int fd) {
  pollfd waiting{fd, POLLOUT, 0};
  int ready;
  do {
    ready = ::poll(&waiting, 1, kConnectTimeoutMs);
  } while (ready < 0 && errno == EINTR);
  if (ready < 0) return errno;
  if (ready == 0) return ETIMEDOUT;
  int error = 0;
  socklen_t length = sizeof error;
  if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) < 0) return errno;
  return error;
}

// A connected, blocking socket with a send timeout.
Result<FileDescriptor> Connect(const addrinfo& address) {
  FileDescriptor socket(::socket(
      address.ai_family, address.ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, address.ai_protocol));
  if (!socket.valid()) return ErrnoStatus("cannot create a socket");
  if (::connect(socket.get(), address.ai_addr, address.ai_addrlen) < 0) {
    if (errno != EINPROGRESS) return ErrnoStatus("cannot connect to the printer");
    if (const int error = AwaitConnect(socket.get()); error != 0) {
      errno = error;
      return ErrnoStatus("cannot connect to the printer");
    }
  }
  const int flags = ::fcntl(socket.get(), F_GETFL);
  const timeval sendTimeout{kSendTimeoutSeconds, 0};
  if (flags < 0 || ::fcntl(socket.get(), F_SETFL, flags & ~O_NONBLOCK) < 0 ||
      ::setsockopt(socket.get(), SOL_SOCKET, SO_SNDTIMEO, &sendTimeout, sizeof sendTimeout) < 0) {
    return ErrnoStatus("cannot set up the connection");
  }
  return socket;
}

// Reads and discards what the printer sends back until it closes its side or
// the wait is over; the printer's answers are of no interest, but closing a
// socket with unread data would reset the connection.
void DrainUntilClosed(int fd) {
  const auto deadline = std::chrono::steady_clock::now() + kCloseWait;
  char discard[512];
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return;
    pollfd waiting{fd, POLLIN, 0};
    const int ready = ::poll(&waiting, 1, static_cast<int>(left.count()));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return;
    const ssize_t received = ::recv(fd, discard, sizeof discard, 0);
    if (received < 0 && errno == EINTR) continue;
    if (received <= 0) return;
  }
}

class SocketPrinter final : public PrinterHandle {
 public:
  explicit SocketPrinter(FileDescriptor socket) : socket_(std::move(socket)) {}

  Status StartRawDocument(std::string_view) override { return Status::Ok(); }

  Result<std::size_t> Write(std::string_view bytes) override {
    if (WriteFully(socket_.get(), bytes, /*isSocket=*/true) < bytes.size()) {
      return ErrnoStatus("cannot send to the printer");
    }
    return bytes.size();
  }

  Status FinishDocument() override {
    if (::shutdown(socket_.get(), SHUT_WR) < 0) return ErrnoStatus("cannot end the transmission");
    DrainUntilClosed(socket_.get());
    if (!socket_.Close()) return ErrnoStatus("cannot close the connection");
    return Status::Ok();
  }

 private:
  FileDescriptor socket_;
};

}  // namespace

bool IsSocketPrinterName(std::string_view printerName) {
  return printerName.size() >= kScheme.size() &&
         text::CompareNoCase(printerName.substr(0, kScheme.size()), kScheme) == 0;
}

std::optional<SocketAddress> ParseSocketPrinterName(std::string_view printerName) {
  if (!IsSocketPrinterName(printerName)) return std::nullopt;
  std::string_view rest = printerName.substr(kScheme.size());
  if (rest.ends_with('/')) rest.remove_suffix(1);

  SocketAddress address;
  std::string_view portText;
  if (rest.starts_with('[')) {
    const std::size_t close = rest.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    address.host = rest.substr(1, close - 1);
    rest.remove_prefix(close + 1);
    if (!rest.empty()) {
      if (!rest.starts_with(':')) return std::nullopt;
      portText = rest.substr(1);
    }
  } else {
    const std::size_t colon = rest.find(':');
    address.host = rest.substr(0, colon);
    if (colon != std::string_view::npos) portText = rest.substr(colon + 1);
  }
  if (address.host.empty() || address.host.find_first_of("/?#@ ") != std::string::npos) {
    return std::nullopt;
  }
  if (!portText.empty() || rest.find(':') != std::string_view::npos) {
    unsigned port = 0;
    const auto [end, error] =
        std::from_chars(portText.data(), portText.data() + portText.size(), port);
    if (error != std::errc() || end != portText.data() + portText.size() || port == 0 ||
        port > 65535) {
      return std::nullopt;
    }
    address.port = static_cast<std::uint16_t>(port);
  }
  return address;
}

Result<std::unique_ptr<PrinterHandle>> OpenSocketPrinter(std::string_view printerName) {
  const std::optional<SocketAddress> address = ParseSocketPrinterName(printerName);
  if (!address) {
    return Status(ErrorCode::kInvalidValue, "a network printer is named socket://host:port");
  }
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_NUMERICSERV | AI_ADDRCONFIG;
  addrinfo* found = nullptr;
  const std::string port = std::to_string(address->port);
  if (const int error = ::getaddrinfo(address->host.c_str(), port.c_str(), &hints, &found);
      error != 0) {
    return Status(ErrorCode::kFileSystemError, "cannot find the printer's host", error,
                  ::gai_strerror(error));
  }
  const std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> addresses(found, &::freeaddrinfo);
  Status failure(ErrorCode::kFileSystemError, "cannot connect to the printer");
  for (const addrinfo* candidate = addresses.get(); candidate; candidate = candidate->ai_next) {
    Result<FileDescriptor> socket = Connect(*candidate);
    if (socket.ok()) {
      return std::unique_ptr<PrinterHandle>(
          std::make_unique<SocketPrinter>(std::move(socket).value()));
    }
    failure = socket.status();
  }
  return failure;
}

}  // namespace paltrix::output
