#pragma once

#include "output/printer_chooser.h"

class QWidget;

namespace paltrix::output {

// Lets the operator choose in the modal window "Vælg Printer".
// REQUIRES: a QApplication exists while Choose runs.
class QtPrinterChooser final : public PrinterChooser {
 public:
  // parent (may be null) must outlive the chooser.
  explicit QtPrinterChooser(QWidget* parent = nullptr) : parent_(parent) {}

  std::optional<std::size_t> Choose(const PrinterList& printers,
                                    std::size_t preselectedRow) override;

 private:
  QWidget* parent_;
};

}  // namespace paltrix::output
