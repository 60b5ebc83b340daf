#pragma once

#include "output/spooler.h"

namespace paltrix::output {

// The CUPS scheduler that libcups finds: CUPS_SERVER when set, else the
// client configuration, else the local scheduler. Every call opens its own
// connection, so one instance can be shared.
//
// A document is one job holding one raw document (no filters run), created
// with cupsCreateJob and streamed with cupsStartDocument /
// cupsWriteRequestData / cupsFinishDocument. Destinations come from
// cupsGetDests2; a destination's "port" is its device-uri.
//
// Every wait on the scheduler is bounded (SetTimeouts): a scheduler that
// accepts the connection and never answers fails the call, and a job that
// was started is cancelled on a fresh connection.
class CupsSpooler final : public Spooler {
 public:
  Result<std::unique_ptr<PrinterHandle>> Open(std::string_view printerName) override;
  Result<std::vector<SpoolerDestination>> ListDestinations() override;
  void SetTimeouts(const PrinterTimeouts& timeouts, WaitProgress progress) override;

 private:
  PrinterTimeouts timeouts_;
  WaitProgress progress_;
};

// The spooler of this machine, shared by every printer of the process.
Spooler& SystemSpooler();

}  // namespace paltrix::output
