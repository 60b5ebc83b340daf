#include "convert/ui/progress_window.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>

namespace paltrix::convert {
namespace {

constexpr qint64 kRefreshMilliseconds = 50;

}  // namespace

ProgressWindow::ProgressWindow(QWidget* parent)
    : QDialog(parent),
      recordCaption_(new QLabel(QStringLiteral("Converting Record #:"), this)),
      recordCount_(new QLabel(QStringLiteral("0"), this)),
      buildingKeys_(new QLabel(QStringLiteral("Building Keys"), this)) {
  setWindowTitle(QStringLiteral("Converting File"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  recordCount_->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("0000000")));
  auto* layout = new QGridLayout(this);
  layout->addWidget(recordCaption_, 0, 0);
  layout->addWidget(recordCount_, 0, 1);
  layout->addWidget(buildingKeys_, 1, 0, 1, 2);
  buildingKeys_->hide();
  sinceRefresh_.start();
}

void ProgressWindow::Started() {
  show();
  Refresh();
}

void ProgressWindow::RecordsConverted(std::int64_t count) {
  if (sinceRefresh_.elapsed() < kRefreshMilliseconds) return;
  recordCount_->setText(QString::number(count));
  Refresh();
}

void ProgressWindow::BuildingKeys() {
  recordCaption_->hide();
  recordCount_->hide();
  buildingKeys_->show();
  Refresh();
}

void ProgressWindow::Refresh() {
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  sinceRefresh_.restart();
}

std::unique_ptr<QMessageBox> MakeConversionMessage(const QString& text, QMessageBox::Icon icon) {
  auto box = std::make_unique<QMessageBox>(icon, QStringLiteral("Convert"), text, QMessageBox::Ok);
  box->setDefaultButton(QMessageBox::Ok);
  return box;
}

}  // namespace paltrix::convert
