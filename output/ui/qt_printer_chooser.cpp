#include "output/ui/qt_printer_chooser.h"

#include "output/ui/printer_selection_dialog.h"

namespace paltrix::output {

std::optional<std::size_t> QtPrinterChooser::Choose(const PrinterList& printers,
                                                    std::size_t preselectedRow) {
  PrinterSelectionDialog dialog(printers, preselectedRow, parent_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.chosenRow();
}

}  // namespace paltrix::output
