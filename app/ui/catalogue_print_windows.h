#pragma once

#include "app/ui/catalogue_printing.h"
#include "app/ui/print/print_windows.h"

namespace paltrix::app {

// The catalogue's prints as the program runs them: "Print (F4)" and "&Vælg"
// open the print dialog, or the mixed-pallet window for the mixed-pallet
// label; "PRINT" (F6) prints directly.
class CataloguePrintWindows final : public CataloguePrinting {
 public:
  // REQUIRES: what `services` points at outlives the object.
  explicit CataloguePrintWindows(const print::PrintServices& services = {}) : services_(services) {}

  void OpenPrintWindow(QWidget& catalogue, records::RecordContext& context,
                       dispatch::LabelType type, const QString& ai90Text) override;
  void PrintDirect(QWidget& catalogue, records::RecordContext& context, dispatch::LabelType type,
                   const QString& ai90Text) override;

 private:
  print::PrintServices services_;
};

}  // namespace paltrix::app
