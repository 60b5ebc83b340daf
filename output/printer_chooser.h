#pragma once

#include <cstddef>
#include <optional>

#include "output/printer_list.h"

namespace paltrix::output {

// Lets the operator pick one printer from a list (the selection window).
class PrinterChooser {
 public:
  virtual ~PrinterChooser() = default;

  // Shows printers with the row preselectedRow (0-based) highlighted and
  // returns the index of the row the operator confirmed, or nullopt when the
  // choice was abandoned.
  // REQUIRES: !printers.empty() and preselectedRow < printers.size().
  virtual std::optional<std::size_t> Choose(const PrinterList& printers,
                                            std::size_t preselectedRow) = 0;
};

// For programs without windows: every choice is abandoned.
class NoPrinterChooser final : public PrinterChooser {
 public:
  std::optional<std::size_t> Choose(const PrinterList&, std::size_t) override {
    return std::nullopt;
  }
};

}  // namespace paltrix::output
