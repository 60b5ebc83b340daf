#pragma once

#include <QDialog>
#include <cstdint>

#include "app/a5/a5_report.h"
#include "app/records/record_context.h"
#include "framework/errors/error_manager.h"

class QPrinter;
class QPrintPreviewWidget;

namespace paltrix::a5::ui {

// Shows the pages the report would print for the queued labels, without
// printing them or taking them off the queue. "Udskriv" (Alt+U) accepts,
// "Fortryd" (Escape) rejects. The preview has its own page device, so
// nothing painted here can reach a printer.
class PreviewWindow final : public QDialog {
  Q_OBJECT

 public:
  // REQUIRES: `context` and `errors` outlive the window.
  PreviewWindow(A5Report report, records::RecordContext& context, std::int32_t today,
                errors::ErrorManager& errors, QWidget* parent = nullptr);
  ~PreviewWindow() override;

  // Pages shown (after the window has been shown once).
  int pageCount() const;

 private:
  void PaintPages(QPrinter* printer);

  A5Report report_;
  records::RecordContext& context_;
  std::int32_t today_;
  errors::ErrorManager& errors_;
  QPrinter* printer_;
  QPrintPreviewWidget* preview_;
};

}  // namespace paltrix::a5::ui
