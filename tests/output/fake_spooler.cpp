#include "tests/output/fake_spooler.h"

#include <algorithm>

namespace paltrix::output::testing {
namespace {

Status Injected(std::string_view what) {
  return Status(ErrorCode::kFileSystemError, std::string(what) + " (injected)");
}

class FakePrinter final : public PrinterHandle {
 public:
  FakePrinter(FakeSpooler& spooler, std::string name) : spooler_(spooler), name_(std::move(name)) {}
  ~FakePrinter() override {
    if (document_ && !document()->finished) document()->abandoned = true;
  }

  Status StartRawDocument(std::string_view documentName) override {
    if (spooler_.faults.startFails) return Injected("start failed");
    spooler_.documents.push_back({name_, std::string(documentName), {}, false, false});
    document_ = spooler_.documents.size() - 1;
    return Status::Ok();
  }

  Result<std::size_t> Write(std::string_view bytes) override {
    ++writes_;
    if (spooler_.faults.failWriteNumber == writes_) return Injected("write failed");
    std::size_t taken = bytes.size();
    if (spooler_.faults.shortWriteNumber == writes_ && taken > 0) --taken;
    document()->bytes.append(bytes.substr(0, taken));
    return taken;
  }

  Status FinishDocument() override {
    if (spooler_.faults.finishFails) return Injected("finish failed");
    document()->finished = true;
    return Status::Ok();
  }

 private:
  FakeDocument* document() { return &spooler_.documents.at(*document_); }

  FakeSpooler& spooler_;
  std::string name_;
  std::optional<std::size_t> document_;
  int writes_ = 0;
};

}  // namespace

Result<std::unique_ptr<PrinterHandle>> FakeSpooler::Open(std::string_view printerName) {
  openedNames.emplace_back(printerName);
  const bool known = std::ranges::any_of(
      destinations, [&](const SpoolerDestination& d) { return d.name == printerName; });
  if (!known) return Status(ErrorCode::kFileNotFound, "no such printer");
  return std::unique_ptr<PrinterHandle>(
      std::make_unique<FakePrinter>(*this, std::string(printerName)));
}

Result<std::vector<SpoolerDestination>> FakeSpooler::ListDestinations() {
  if (faults.listFails) return Injected("list failed");
  return destinations;
}

}  // namespace paltrix::output::testing
