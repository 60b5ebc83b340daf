#include "app/a5/ui/preview_window.h"

#include <QDialogButtonBox>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/a5/report_run.h"
#include "app/a5/ui/page_output.h"

namespace paltrix::a5::ui {

PreviewWindow::PreviewWindow(A5Report report, records::RecordContext& context, std::int32_t today,
                             errors::ErrorManager& errors, QWidget* parent)
    : QDialog(parent),
      report_(report),
      context_(context),
      today_(today),
      errors_(errors),
      printer_(new QPrinter(QPrinter::ScreenResolution)) {
  setWindowTitle(QStringLiteral("Vis udskrift - %1")
                     .arg(QString::fromUtf8(ReportName(report).data(),
                                            static_cast<int>(ReportName(report).size()))));
  setObjectName(QStringLiteral("PreviewWindow"));
  UseA5Page(*printer_);
  preview_ = new QPrintPreviewWidget(printer_, this);
  preview_->setViewMode(QPrintPreviewWidget::SinglePageView);
  preview_->setZoomMode(QPrintPreviewWidget::FitInView);
  connect(preview_, &QPrintPreviewWidget::paintRequested, this, &PreviewWindow::PaintPages);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* print = buttons->addButton(QStringLiteral("&Udskriv"), QDialogButtonBox::AcceptRole);
  print->setObjectName(QStringLiteral("print"));
  buttons->addButton(QStringLiteral("&Fortryd"), QDialogButtonBox::RejectRole)
      ->setObjectName(QStringLiteral("cancel"));
  print->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(preview_, 1);
  layout->addWidget(buttons);
  resize(520, 760);
}

PreviewWindow::~PreviewWindow() {
  delete printer_;
}

int PreviewWindow::pageCount() const {
  return preview_->pageCount();
}

void PreviewWindow::PaintPages(QPrinter* printer) {
  DevicePageOutput pages(report_, *printer, errors_);
  ReportRun run(report_, context_, pages, today_);
  if (pages.ready() && run.Start().ok()) {
    while (true) {
      const Result<bool> more = run.PrintNext();
      if (!more.ok() || !*more) break;
    }
  }
  // Only the painting ends here; the run is not finished, so the labels stay
  // queued for the print itself.
  pages.Finish();
}

}  // namespace paltrix::a5::ui
