#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "output/spooler.h"

namespace paltrix::output::testing {

// What a fake printer received in one document.
struct FakeDocument {
  std::string printer;
  std::string name;
  std::string bytes;
  bool finished = false;
  bool abandoned = false;  // the handle went away before the document was finished
};

// Faults the fake spooler can be told to produce.
struct SpoolerFaults {
  bool listFails = false;
  bool startFails = false;
  bool finishFails = false;
  std::optional<int> failWriteNumber{};   // the n-th write (1-based) of a document fails
  std::optional<int> shortWriteNumber{};  // the n-th write takes one byte less than offered
};

// A spooler in memory: knows the printers in destinations (by exact name),
// records every document, and fails where faults say.
class FakeSpooler final : public Spooler {
 public:
  std::vector<SpoolerDestination> destinations;
  SpoolerFaults faults;
  std::vector<FakeDocument> documents;
  std::vector<std::string> openedNames;

  Result<std::unique_ptr<PrinterHandle>> Open(std::string_view printerName) override;
  Result<std::vector<SpoolerDestination>> ListDestinations() override;
};

}  // namespace paltrix::output::testing
