#include "app/a5/ui/print_progress_window.h"

#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace paltrix::a5::ui {
namespace {

// Part of a tick spent printing, so the window still answers "Cancel".
constexpr int kPrintingMillisecondsPerTick = 80;

}  // namespace

PrintProgressWindow::PrintProgressWindow(ReportRun& run, A5Report report, QWidget* parent)
    : QDialog(parent),
      run_(run),
      report_(report),
      thermometer_(new QProgressBar(this)),
      status_(new QLabel(this)),
      percent_(new QLabel(this)),
      cancel_(new QPushButton(QStringLiteral("Cancel"), this)),
      timer_(new QTimer(this)) {
  setWindowTitle(QStringLiteral("Udskriver..."));
  setObjectName(QStringLiteral("PrintProgressWindow"));
  thermometer_->setRange(0, 100);
  thermometer_->setTextVisible(false);
  percent_->setAlignment(Qt::AlignCenter);
  cancel_->setDefault(true);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cancel_);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(status_);
  layout->addWidget(thermometer_);
  layout->addWidget(percent_);
  layout->addLayout(buttons);
  setMinimumWidth(320);

  connect(cancel_, &QPushButton::clicked, this, &PrintProgressWindow::reject);
  connect(timer_, &QTimer::timeout, this, &PrintProgressWindow::Tick);
  timer_->setInterval(kTickMilliseconds);
  ShowProgress();
}

ReportOutcome PrintProgressWindow::Run() {
  timer_->start();
  exec();
  return outcome_;
}

void PrintProgressWindow::reject() {
  if (ended_) return;
  outcome_.cancelled = true;
  // Within a tick the run is in the middle of a page; the tick ends it.
  if (!inTick_) End();
}

void PrintProgressWindow::Tick() {
  inTick_ = true;
  QElapsedTimer elapsed;
  elapsed.start();
  bool more = true;
  while (!outcome_.cancelled && elapsed.elapsed() < kPrintingMillisecondsPerTick) {
    Result<bool> printed = run_.PrintNext();
    if (!printed.ok()) outcome_.status = printed.status();
    more = printed.ok() && *printed;
    if (!more) break;
    ShowProgress();
  }
  inTick_ = false;
  if (!more || outcome_.cancelled) End();
}

void PrintProgressWindow::ShowProgress() {
  const int percent = run_.percent();
  thermometer_->setValue(percent);
  percent_->setText(QStringLiteral("%1%").arg(percent));
  status_->setText(QStringLiteral("%1: %2 af %3")
                       .arg(QString::fromUtf8(ReportName(report_).data(),
                                              static_cast<int>(ReportName(report_).size())))
                       .arg(run_.printed())
                       .arg(run_.total()));
}

void PrintProgressWindow::End() {
  ended_ = true;
  timer_->stop();
  const Status finished = run_.Finish();
  if (outcome_.status.ok()) outcome_.status = finished;
  outcome_.printed = run_.printed();
  outcome_.skipped = run_.skipped();
  done(outcome_.status.ok() && !outcome_.cancelled ? Accepted : Rejected);
}

}  // namespace paltrix::a5::ui
