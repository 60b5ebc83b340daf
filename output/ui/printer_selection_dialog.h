#pragma once

#include <QDialog>
#include <cstddef>
#include <optional>

#include "output/printer_list.h"

class QDialogButtonBox;
class QTreeWidget;

namespace paltrix::output {

// The window "Vælg Printer": one list showing each printer's SHOWNAME under
// the heading "Show Name", with OK and Cancel. OK, Enter or a double-click on
// a row confirms that row.
class PrinterSelectionDialog : public QDialog {
  Q_OBJECT

 public:
  // REQUIRES: preselectedRow < printers.size() when printers is not empty.
  PrinterSelectionDialog(const PrinterList& printers, std::size_t preselectedRow,
                         QWidget* parent = nullptr);

  // The row (0-based) that was confirmed; nullopt until the dialog was
  // accepted with a row selected.
  std::optional<std::size_t> chosenRow() const { return chosenRow_; }

  void accept() override;

 private:
  QTreeWidget* list_;
  QDialogButtonBox* buttons_;
  std::optional<std::size_t> chosenRow_;
};

}  // namespace paltrix::output
