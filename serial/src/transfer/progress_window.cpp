#include "progress_window.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QVBoxLayout>

namespace tavix {

ProgressWindow::ProgressWindow(QWidget* parent, const QString& title, bool sending)
    : QDialog(parent),
      name_(new QLabel),
      size_(new QLabel),
      bytes_(new QLabel("0")),
      rate_(new QLabel("0")),
      errors_(new QLabel("0")),
      status_(new QLabel),
      bar_(new QProgressBar),
      cancel_(new QPushButton("  Cancel  ")) {
  setObjectName("ZmodemTransfer");
  setWindowTitle(title);
  auto* fields = new QFormLayout;
  fields->addRow("File Name", name_);
  fields->addRow("File Size", size_);
  fields->addRow(sending ? "Bytes Sent" : "Bytes Rcvd", bytes_);
  fields->addRow("CPS", rate_);
  fields->addRow("Errors", errors_);
  fields->addRow("Status", status_);
  for (QLabel* field : {name_, size_, bytes_, rate_, errors_, status_}) {
    field->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    field->setMinimumWidth(260);
  }
  bar_->setRange(0, 100);
  bar_->setFormat("%p%");
  bar_->setVisible(false);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addWidget(bar_);
  layout->addWidget(cancel_, 0, Qt::AlignHCenter);
  cancel_->setDefault(true);
  cancel_->setFocus();
  connect(cancel_, &QPushButton::clicked, this, &ProgressWindow::reject);
  setModal(false);
}

void ProgressWindow::SetFile(const QString& name, std::int64_t size) {
  fileSize_ = size;
  name_->setText(name);
  size_->setText(size >= 0 ? QString::number(size) : QString());
}

void ProgressWindow::SetBytes(std::int64_t bytes, std::int64_t perSecond, bool showBar) {
  bytes_->setText(QString::number(bytes));
  rate_->setText(QString::number(perSecond));
  bar_->setVisible(showBar && fileSize_ > 0);
  if (showBar && fileSize_ > 0) {
    bar_->setValue(static_cast<int>(std::min<std::int64_t>(100, bytes * 100 / fileSize_)));
  }
}

void ProgressWindow::SetErrors(int errors) {
  errors_->setText(QString::number(errors));
}

void ProgressWindow::SetStatus(const QString& status) {
  status_->setText(status);
}

void ProgressWindow::reject() {
  cancelled_ = true;
  QDialog::reject();
}

void ProgressWindow::closeEvent(QCloseEvent* event) {
  cancelled_ = true;
  QDialog::closeEvent(event);
}

}  // namespace tavix
