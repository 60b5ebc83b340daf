#pragma once

#include <QDialog>

#include "app/a5/report_printing.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace paltrix::a5::ui {

// The progress window "Udskriver...": a thermometer, a status text, the
// percentage and "Cancel". Every tick of its timer (10 hundredths of a
// second) prints queued labels for a part of the tick; "Cancel" (or Escape)
// stops the run after the page being painted, hands the pages printed so far
// to the printer and leaves the rest queued.
class PrintProgressWindow final : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kTickMilliseconds = 100;

  // REQUIRES: run.Start() succeeded; `run` outlives the window.
  PrintProgressWindow(ReportRun& run, A5Report report, QWidget* parent = nullptr);

  // Shows the window modally until the run has ended; the outcome.
  ReportOutcome Run();

  QPushButton* cancelButton() const { return cancel_; }

 public slots:
  void reject() override;

 private:
  void Tick();
  void ShowProgress();
  void End();

  ReportRun& run_;
  A5Report report_;
  QProgressBar* thermometer_;
  QLabel* status_;
  QLabel* percent_;
  QPushButton* cancel_;
  QTimer* timer_;
  ReportOutcome outcome_;
  bool inTick_ = false;
  bool ended_ = false;
};

}  // namespace paltrix::a5::ui
