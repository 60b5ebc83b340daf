#include "output/cups_spooler.h"

#include <cups/cups.h>
#include <fmt/format.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>

#include <cerrno>
#include <memory>
#include <span>
#include <string>

#include "output/posix_io.h"

namespace paltrix::output {
namespace {

// libcups asks the callback each time a wait has gone this long.
constexpr double kTimeoutTickSeconds = 1.0;

struct HttpCloser {
  void operator()(http_t* http) const { httpClose(http); }
};
using HttpConnection = std::unique_ptr<http_t, HttpCloser>;

class DestinationList {
 public:
  DestinationList(int count, cups_dest_t* destinations) : count_(count), dests_(destinations) {}
  DestinationList(const DestinationList&) = delete;
  DestinationList& operator=(const DestinationList&) = delete;
  ~DestinationList() { cupsFreeDests(count_, dests_); }

  std::span<const cups_dest_t> all() const {
    return {dests_, static_cast<std::size_t>(count_ < 0 ? 0 : count_)};
  }

 private:
  int count_;
  cups_dest_t* dests_;
};

struct DestinationFree {
  void operator()(cups_dest_t* destination) const { cupsFreeDests(1, destination); }
};

Status CupsFailure(std::string_view action) {
  return Status(ErrorCode::kFileSystemError, std::string(action), cupsLastError(),
                cupsLastErrorString());
}

// libcups calls this when a wait on the connection has gone a tick without
// an answer; 0 gives the call up.
int KeepWaiting(http_t*, void* wait) {
  return static_cast<BoundedWait*>(wait)->Over() ? 0 : 1;
}

// The scheduler's address as libcups names it: a local socket path, or a
// host with an optional port (ippPort() otherwise).
Result<FileDescriptor> ConnectToSchedulerSocket(BoundedWait& wait) {
  const std::string server = cupsServer();
  if (server.starts_with('/')) {
    sockaddr_un local{};
    local.sun_family = AF_UNIX;
    if (server.size() >= sizeof local.sun_path) {
      return Status(ErrorCode::kInvalidValue, "the print spooler's socket path is too long");
    }
    server.copy(local.sun_path, server.size());
    addrinfo address{};
    address.ai_family = AF_UNIX;
    address.ai_socktype = SOCK_STREAM;
    address.ai_addr = reinterpret_cast<sockaddr*>(&local);
    address.ai_addrlen = sizeof local;
    return ConnectWithin(address, wait);
  }
  std::string host = server;
  std::string port = std::to_string(ippPort());
  if (const std::size_t colon = host.rfind(':');
      colon != std::string::npos && host.find(':') == colon) {
    port = host.substr(colon + 1);
    host.resize(colon);
  }
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (const int error = ::getaddrinfo(host.c_str(), port.c_str(), &hints, &found); error != 0) {
    return Status(ErrorCode::kFileSystemError, "cannot find the print spooler's host", error,
                  ::gai_strerror(error));
  }
  const std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> addresses(found, &::freeaddrinfo);
  return ConnectWithin(*addresses, wait);
}

// libcups bounds its own waits only in part: a scheduler that accepts
// connections and never answers holds some of its calls for minutes, and it
// reconnects on its own. So before each use the scheduler is asked a trivial
// question on a socket of our own and must answer within the connect limit.
Status ProbeScheduler(const PrinterTimeouts& timeouts, const WaitProgress* progress) {
  BoundedWait wait("the print spooler to answer", timeouts.connect, progress);
  const auto unreachable = [](const Status& why) {
    return Status(ErrorCode::kFileSystemError,
                  fmt::format("the print spooler at {} does not answer", cupsServer()),
                  why.systemCode(), why.systemText().empty() ? why.message() : why.systemText());
  };
  Result<FileDescriptor> socket = ConnectToSchedulerSocket(wait);
  if (!socket.ok()) return unreachable(socket.status());
  constexpr std::string_view kQuestion = "OPTIONS * HTTP/1.0\r\n\r\n";
  if (WriteFully(socket->get(), kQuestion, /*isSocket=*/true, &wait) < kQuestion.size()) {
    return unreachable(ErrnoStatus("cannot ask the print spooler"));
  }
  if (const int error = wait.UntilReady(socket->get(), POLLIN); error != 0) {
    errno = error;
    return unreachable(ErrnoStatus("no answer"));
  }
  return Status::Ok();
}

// A connection to the scheduler whose every wait is bounded by `wait`.
// REQUIRES: `wait` outlives the connection or is replaced by WaitWithin.
Result<HttpConnection> ConnectToScheduler(const PrinterTimeouts& timeouts, BoundedWait& wait) {
  if (Status answering = ProbeScheduler(timeouts, wait.progress()); !answering.ok()) {
    return answering;
  }
  HttpConnection http(httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(),
                                   /*blocking=*/1, static_cast<int>(timeouts.connect.count()),
                                   nullptr));
  if (!http) {
    return CupsFailure(
        fmt::format("cannot reach the print spooler at {}:{}", cupsServer(), ippPort()));
  }
  httpSetTimeout(http.get(), kTimeoutTickSeconds, KeepWaiting, &wait);
  return http;
}

class CupsPrinter final : public PrinterHandle {
 public:
  CupsPrinter(HttpConnection http, std::string queue, const PrinterTimeouts& timeouts,
              const WaitProgress* progress)
      : http_(std::move(http)),
        queue_(std::move(queue)),
        timeouts_(timeouts),
        progress_(progress),
        wait_("the print spooler to take the label", timeouts.write, progress) {
    httpSetTimeout(http_.get(), kTimeoutTickSeconds, KeepWaiting, &wait_);
  }
  CupsPrinter(const CupsPrinter&) = delete;
  CupsPrinter& operator=(const CupsPrinter&) = delete;

  ~CupsPrinter() override {
    if (job_ == 0 || finished_) return;
    // The connection may be in the middle of sending the document; a fresh
    // one cancels the job instead of leaving it pending on the scheduler.
    http_.reset();
    BoundedWait cancel("the print spooler to cancel the job", timeouts_.connect, progress_);
    if (Result<HttpConnection> fresh = ConnectToScheduler(timeouts_, cancel); fresh.ok()) {
      cupsCancelJob2(fresh->get(), queue_.c_str(), job_, 0);
    }
  }

  Status StartRawDocument(std::string_view documentName) override {
    const std::string name(documentName);
    wait_.Restart();
    job_ = cupsCreateJob(http_.get(), queue_.c_str(), name.c_str(), 0, nullptr);
    if (job_ == 0) return CupsFailure("the spooler did not accept the job");
    if (cupsStartDocument(http_.get(), queue_.c_str(), job_, name.c_str(), CUPS_FORMAT_RAW,
                          /*last_document=*/1) != HTTP_STATUS_CONTINUE) {
      return CupsFailure("the spooler did not accept the document");
    }
    return Status::Ok();
  }

  Result<std::size_t> Write(std::string_view bytes) override {
    // An empty write would end a chunked request early.
    if (bytes.empty()) return std::size_t{0};
    wait_.Restart();
    if (cupsWriteRequestData(http_.get(), bytes.data(), bytes.size()) != HTTP_STATUS_CONTINUE) {
      return CupsFailure("cannot send the document to the spooler");
    }
    return bytes.size();
  }

  Status FinishDocument() override {
    wait_.Restart();
    const ipp_status_t status = cupsFinishDocument(http_.get(), queue_.c_str());
    finished_ = true;
    if (status > IPP_STATUS_OK_CONFLICTING) return CupsFailure("the spooler refused the document");
    return Status::Ok();
  }

 private:
  HttpConnection http_;
  std::string queue_;
  PrinterTimeouts timeouts_;
  const WaitProgress* progress_;
  BoundedWait wait_;
  int job_ = 0;
  bool finished_ = false;
};

}  // namespace

Result<std::unique_ptr<PrinterHandle>> CupsSpooler::Open(std::string_view printerName) {
  if (printerName.empty()) return Status(ErrorCode::kFileNotFound, "no printer name was given");
  BoundedWait wait("the print spooler to answer", timeouts_.connect, &progress_);
  Result<HttpConnection> http = ConnectToScheduler(timeouts_, wait);
  if (!http.ok()) return http.status();
  // The printer list names an instance "queue/instance"; its jobs go to the queue.
  const std::size_t slash = printerName.find('/');
  const std::string queue(printerName.substr(0, slash));
  const std::string instance(slash == std::string_view::npos ? "" : printerName.substr(slash + 1));
  const std::unique_ptr<cups_dest_t, DestinationFree> destination(
      cupsGetNamedDest(http->get(), queue.c_str(), instance.empty() ? nullptr : instance.c_str()));
  if (!destination) {
    return Status(ErrorCode::kFileNotFound, "the spooler has no such printer", cupsLastError(),
                  cupsLastErrorString());
  }
  return std::unique_ptr<PrinterHandle>(std::make_unique<CupsPrinter>(
      std::move(http).value(), destination->name, timeouts_, &progress_));
}

void CupsSpooler::SetTimeouts(const PrinterTimeouts& timeouts, WaitProgress progress) {
  timeouts_ = timeouts;
  progress_ = std::move(progress);
}

Result<std::vector<SpoolerDestination>> CupsSpooler::ListDestinations() {
  BoundedWait wait("the print spooler to list its printers", timeouts_.connect, &progress_);
  Result<HttpConnection> http = ConnectToScheduler(timeouts_, wait);
  if (!http.ok()) return http.status();
  cups_dest_t* found = nullptr;
  const int count = cupsGetDests2(http->get(), &found);
  const DestinationList destinations(count, found);
  if (count == 0 && cupsLastError() > IPP_STATUS_OK_CONFLICTING &&
      cupsLastError() != IPP_STATUS_ERROR_NOT_FOUND) {
    return CupsFailure("cannot list the spooler's printers");
  }

  std::vector<SpoolerDestination> result;
  for (const cups_dest_t& destination : destinations.all()) {
    SpoolerDestination entry;
    entry.name = destination.instance ? fmt::format("{}/{}", destination.name, destination.instance)
                                      : destination.name;
    if (const char* uri =
            cupsGetOption("device-uri", destination.num_options, destination.options)) {
      entry.deviceUri = uri;
    }
    entry.isDefault = destination.is_default != 0;
    result.push_back(std::move(entry));
  }
  return result;
}

Spooler& SystemSpooler() {
  static CupsSpooler spooler;
  return spooler;
}

}  // namespace paltrix::output
