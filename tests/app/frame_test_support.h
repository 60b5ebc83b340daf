#pragma once

#include <QApplication>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace paltrix::testing {

// While alive, waits for a modal window to open, hands it to `inspect` and
// closes it, so a test can press a key that opens a modal window (whose event
// loop would otherwise block the test).
class ModalWindowWatcher {
 public:
  explicit ModalWindowWatcher(std::function<void(QWidget&)> inspect)
      : inspect_(std::move(inspect)) {
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      QWidget* modal = QApplication::activeModalWidget();
      if (modal == nullptr) return;
      timer_.stop();
      seen_ = true;
      inspect_(*modal);
      modal->close();
    });
    timer_.start();
  }

  bool seen() const { return seen_; }

 private:
  std::function<void(QWidget&)> inspect_;
  QTimer timer_;
  bool seen_ = false;
};

// Saves a picture of a window under the build folder, for people to look at.
inline void SaveScreenshot(QWidget& window, const QString& name) {
  window.grab().save(QStringLiteral(PALTRIX_SCREENSHOT_DIR "/") + name + QStringLiteral(".png"));
}

}  // namespace paltrix::testing
