#include "output/socket_printer.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <charconv>
#include <chrono>

#include "framework/text/windows1252.h"
#include "output/file_descriptor.h"
#include "output/posix_io.h"

namespace paltrix::output {
namespace {

constexpr std::string_view kScheme = "socket://";
// Reads and discards what the printer sends back until it closes its side:
// a raw-port printer closes the connection once it has read the whole job
// after our end of transmission, and that close is the only sign that the
// label was taken (bytes in the socket's buffers may never be read). Closing
// a socket with unread data would also reset the connection. 0 when the
// printer closed, ETIMEDOUT when it neither closed nor answered within the
// wait, else the errno of the failure.
int DrainUntilClosed(int fd, BoundedWait& wait) {
  char discard[512];
  for (;;) {
    if (const int error = wait.UntilReady(fd, POLLIN); error != 0) return error;
    const ssize_t received = ::recv(fd, discard, sizeof discard, 0);
    if (received == 0) return 0;
    if (received > 0) {
      wait.Restart();
    } else if (errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK) {
      return errno;
    }
  }
}

class SocketPrinter final : public PrinterHandle {
 public:
  SocketPrinter(FileDescriptor socket, BoundedWait write)
      : socket_(std::move(socket)), write_(std::move(write)) {}

  Status StartRawDocument(std::string_view) override { return Status::Ok(); }

  Result<std::size_t> Write(std::string_view bytes) override {
    write_.Restart();
    if (WriteFully(socket_.get(), bytes, /*isSocket=*/true, &write_) < bytes.size()) {
      return ErrnoStatus("cannot send to the printer");
    }
    return bytes.size();
  }

  Status FinishDocument() override {
    if (::shutdown(socket_.get(), SHUT_WR) < 0) return ErrnoStatus("cannot end the transmission");
    write_.Restart();
    if (const int error = DrainUntilClosed(socket_.get(), write_); error != 0) {
      errno = error;
      return ErrnoStatus("the printer did not confirm the label by closing the connection");
    }
    if (!socket_.Close()) return ErrnoStatus("cannot close the connection");
    return Status::Ok();
  }

 private:
  FileDescriptor socket_;
  BoundedWait write_;
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

Result<std::unique_ptr<PrinterHandle>> OpenSocketPrinter(std::string_view printerName,
                                                         const PrinterTimeouts& timeouts,
                                                         const WaitProgress* progress) {
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
  BoundedWait connect("the printer to answer", timeouts.connect, progress);
  for (const addrinfo* candidate = addresses.get(); candidate; candidate = candidate->ai_next) {
    Result<FileDescriptor> socket = ConnectWithin(*candidate, connect);
    if (socket.ok()) {
      return std::unique_ptr<PrinterHandle>(std::make_unique<SocketPrinter>(
          std::move(socket).value(),
          BoundedWait("the printer to take the label", timeouts.write, progress)));
    }
    failure = socket.status();
  }
  return failure;
}

}  // namespace paltrix::output
