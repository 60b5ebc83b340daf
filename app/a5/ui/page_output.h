#pragma once

#include <QPainter>
#include <memory>
#include <optional>
#include <string_view>

#include "app/a5/report_run.h"
#include "app/a5/ui/page_painter.h"
#include "framework/result.h"

class QPagedPaintDevice;

// Where A5 pages are painted: a CUPS queue through QPrinter, a PDF file
// through QPdfWriter, or any page device the caller holds (a preview).
namespace paltrix::a5::ui {

inline constexpr std::string_view kPdfFilePrefix = "file://";

// Paints the pages of one report on a page device. The device's pages are
// A5 portrait without margins.
class DevicePageOutput : public PagePrinter {
 public:
  // Starts painting on `device`; check ready() before printing.
  // REQUIRES: `device` and `errors` outlive this object.
  DevicePageOutput(A5Report report, QPagedPaintDevice& device, errors::ErrorManager& errors);
  ~DevicePageOutput() override;

  bool ready() const { return painter_.isActive(); }
  Status PrintPage(const PagePlan& page) override;
  // Ends the painting; for a printer this submits the job, for a PDF writer
  // it writes the file.
  Status Finish() override;

 private:
  QPagedPaintDevice& device_;
  QPainter painter_;
  std::optional<PagePainter> pagePainter_;
  bool firstPage_ = true;
};

// Sets A5 portrait, no margins, on `device`.
void UseA5Page(QPagedPaintDevice& device);

// The page printer named by the settings' "Printer" (UTF-8): "file:///path"
// writes a PDF file at /path; any other name is a CUPS queue. Fails with
// kInvalidValue for an empty name or a queue CUPS does not know, and with
// kFileSystemError when the device cannot be opened for painting.
// REQUIRES: a QGuiApplication exists; `errors` outlives the output.
Result<std::unique_ptr<PagePrinter>> OpenPageOutput(A5Report report, std::string_view printerName,
                                                    errors::ErrorManager& errors);

}  // namespace paltrix::a5::ui
