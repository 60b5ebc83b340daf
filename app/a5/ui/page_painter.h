#pragma once

#include <memory>
#include <vector>

#include "app/a5/a5_report.h"
#include "app/a5/page_plan.h"
#include "app/a5/ui/page_barcode_target.h"
#include "barcode/barcode.h"

class QPainter;

namespace paltrix::a5::ui {

// Paints A5 pages of one report with a QPainter whose device is an A5 page
// (QPrinter, QPdfWriter, a preview, a QImage) with its origin at the paper's
// top left. Texts in Arial; each barcode control of the report has its own
// Barcode object, bound when the painter is made (symbols without text,
// module widths from the layout) and handed each page's data as Code 128
// with automatic code sets, which the leading FNC1 makes GS1-128.
// REQUIRES: `painter` is active and, with `errors`, outlives this object.
class PagePainter {
 public:
  PagePainter(A5Report report, QPainter& painter, errors::ErrorManager& errors);
  PagePainter(const PagePainter&) = delete;
  PagePainter& operator=(const PagePainter&) = delete;
  ~PagePainter();

  // Paints `page` on the painter's current page.
  void Paint(const PagePlan& page);

 private:
  QPainter& painter_;
  PageBarcodeTarget target_;
  std::vector<std::unique_ptr<barcode::Barcode>> barcodes_;  // one per layout control
};

}  // namespace paltrix::a5::ui
