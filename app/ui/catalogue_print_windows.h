#pragma once

#include "app/ui/catalogue_printing.h"

namespace paltrix::app {

// The catalogue's prints as the program runs them: the print windows for
// "Print (F4)" and "&Vælg", and the direct print for "PRINT" (F6).
class CataloguePrintWindows final : public CataloguePrinting {
 public:
  void OpenPrintWindow(QWidget& catalogue, records::RecordContext& context,
                       dispatch::LabelType type, const QString& ai90Text) override;
  void PrintDirect(QWidget& catalogue, records::RecordContext& context, dispatch::LabelType type,
                   const QString& ai90Text) override;
};

}  // namespace paltrix::app
