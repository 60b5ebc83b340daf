#pragma once

#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <cstdint>

namespace tavix {

// The progress window of every transfer (object name "ZmodemTransfer"): file name, size, bytes,
// CPS, errors, status, a progress bar for batches with a known size, and Cancel (also Esc).
class ProgressWindow : public QDialog {
 public:
  ProgressWindow(QWidget* parent, const QString& title, bool sending);

  void SetFile(const QString& name, std::int64_t size);
  void SetBytes(std::int64_t bytes, std::int64_t perSecond, bool showBar);
  void SetErrors(int errors);
  void SetStatus(const QString& status);
  bool Cancelled() const { return cancelled_; }

 protected:
  void reject() override;
  void closeEvent(QCloseEvent* event) override;

 private:
  QLabel* name_;
  QLabel* size_;
  QLabel* bytes_;
  QLabel* rate_;
  QLabel* errors_;
  QLabel* status_;
  QProgressBar* bar_;
  QPushButton* cancel_;
  std::int64_t fileSize_ = -1;
  bool cancelled_ = false;
};

}  // namespace tavix
