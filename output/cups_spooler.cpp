#include "output/cups_spooler.h"

#include <cups/cups.h>
#include <fmt/format.h>

#include <memory>
#include <span>
#include <string>

namespace paltrix::output {
namespace {

constexpr int kConnectTimeoutMs = 30'000;

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

Result<HttpConnection> ConnectToScheduler() {
  HttpConnection http(httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(),
                                   /*blocking=*/1, kConnectTimeoutMs, nullptr));
  if (!http) {
    return CupsFailure(
        fmt::format("cannot reach the print spooler at {}:{}", cupsServer(), ippPort()));
  }
  return http;
}

class CupsPrinter final : public PrinterHandle {
 public:
  CupsPrinter(HttpConnection http, std::string queue)
      : http_(std::move(http)), queue_(std::move(queue)) {}
  CupsPrinter(const CupsPrinter&) = delete;
  CupsPrinter& operator=(const CupsPrinter&) = delete;

  ~CupsPrinter() override {
    if (job_ == 0 || finished_) return;
    // The connection may be in the middle of sending the document; a fresh
    // one cancels the job instead of leaving it pending on the scheduler.
    http_.reset();
    if (Result<HttpConnection> fresh = ConnectToScheduler(); fresh.ok()) {
      cupsCancelJob2(fresh->get(), queue_.c_str(), job_, 0);
    }
  }

  Status StartRawDocument(std::string_view documentName) override {
    const std::string name(documentName);
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
    if (cupsWriteRequestData(http_.get(), bytes.data(), bytes.size()) != HTTP_STATUS_CONTINUE) {
      return CupsFailure("cannot send the document to the spooler");
    }
    return bytes.size();
  }

  Status FinishDocument() override {
    const ipp_status_t status = cupsFinishDocument(http_.get(), queue_.c_str());
    finished_ = true;
    if (status > IPP_STATUS_OK_CONFLICTING) return CupsFailure("the spooler refused the document");
    return Status::Ok();
  }

 private:
  HttpConnection http_;
  std::string queue_;
  int job_ = 0;
  bool finished_ = false;
};

}  // namespace

Result<std::unique_ptr<PrinterHandle>> CupsSpooler::Open(std::string_view printerName) {
  if (printerName.empty()) return Status(ErrorCode::kFileNotFound, "no printer name was given");
  Result<HttpConnection> http = ConnectToScheduler();
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
  return std::unique_ptr<PrinterHandle>(
      std::make_unique<CupsPrinter>(std::move(http).value(), destination->name));
}

Result<std::vector<SpoolerDestination>> CupsSpooler::ListDestinations() {
  Result<HttpConnection> http = ConnectToScheduler();
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
