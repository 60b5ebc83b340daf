#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/result.h"
#include "framework/status.h"
#include "output/bounded_wait.h"

// The operating system's print spooler, reduced to what raw label output and
// the printer list need. The real implementation talks to CUPS
// (cups_spooler.h); tests use a fake that can refuse, fail or cut writes short.
namespace paltrix::output {

// One printer the spooler knows.
struct SpoolerDestination {
  std::string name;       // the spooler's name for it; what jobs are sent to
  std::string deviceUri;  // where the spooler delivers its jobs (the "port"); may be empty
  bool isDefault = false;
};

// An opened printer. At most one document is open at a time. Destroying the
// handle closes the printer; a document that was started but not finished is
// abandoned (the spooler discards it).
class PrinterHandle {
 public:
  virtual ~PrinterHandle() = default;

  // Starts a document whose bytes go to the printer without any conversion.
  virtual Status StartRawDocument(std::string_view documentName) = 0;

  // Returns the number of bytes accepted, which is less than bytes.size() when
  // the printer took only part of them; a failure when it took nothing.
  // REQUIRES: a document has been started.
  virtual Result<std::size_t> Write(std::string_view bytes) = 0;

  // Hands the complete document over for printing. A failure means the
  // document may not be printed.
  virtual Status FinishDocument() = 0;
};

class Spooler {
 public:
  virtual ~Spooler() = default;

  // Opens the printer the spooler calls printerName; a failure when there is
  // no such printer or the spooler cannot be reached.
  virtual Result<std::unique_ptr<PrinterHandle>> Open(std::string_view printerName) = 0;

  // Every printer the spooler offers, in its own order; a failure when the
  // spooler cannot be asked. An empty list is not a failure.
  virtual Result<std::vector<SpoolerDestination>> ListDestinations() = 0;

  // The limits of the calls after this one: Open and ListDestinations wait
  // at most timeouts.connect for the spooler, a document's calls at most
  // timeouts.write without an answer; `progress` (may be empty) hears of
  // every wait. A spooler that cannot wait (a test fake) ignores them.
  virtual void SetTimeouts(const PrinterTimeouts& timeouts, WaitProgress progress) {
    (void)timeouts;
    (void)progress;
  }
};

}  // namespace paltrix::output
