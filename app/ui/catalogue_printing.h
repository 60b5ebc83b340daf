#pragma once

#include <QString>
#include <QWidget>

#include "app/dispatch/label_format.h"
#include "app/records/record_context.h"

namespace paltrix::app {

// How the product catalogue starts a print. The product to print is in the
// context's Produkt buffer, loaded from the highlighted line.
class CataloguePrinting {
 public:
  virtual ~CataloguePrinting() = default;

  // "Print (F4)" and "&Vælg": the print dialog, or the mixed-pallet window
  // for the mixed-pallet label type, modal on `catalogue`, without a request
  // (the product record is not stored). Returns when the window has closed.
  virtual void OpenPrintWindow(QWidget& catalogue, records::RecordContext& context,
                               dispatch::LabelType type, const QString& ai90Text) = 0;

  // "PRINT" (F6): prints the product at once, in the format of the Printer
  // record (direct variant of the dispatch). No print-activity report.
  virtual void PrintDirect(QWidget& catalogue, records::RecordContext& context,
                           dispatch::LabelType type, const QString& ai90Text) = 0;
};

}  // namespace paltrix::app
