#pragma once

// What the terminal window tests share: waiting with events processed, answering modal
// windows, finding the open frame.

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <chrono>
#include <functional>
#include <thread>

#include "terminal/terminal_frame.h"

namespace tavix::testing {

// Processes events until `done` holds or `limit` passes; returns whether it held.
inline bool ProcessUntil(const std::function<bool()>& done,
                         std::chrono::seconds limit = std::chrono::seconds(5)) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 20);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

// Runs `act` on the first modal window once it is shown.
inline void WhenModalShows(std::function<void(QWidget*)> act) {
  QTimer::singleShot(0, [act] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) {
      WhenModalShows(act);
      return;
    }
    act(modal);
  });
}

// Answers the next message box with `button`.
inline void AnswerMessageBox(QMessageBox::StandardButton button) {
  WhenModalShows(
      [button](QWidget* modal) { qobject_cast<QMessageBox*>(modal)->button(button)->click(); });
}

inline terminal::TerminalFrame* FrameOf() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* frame = qobject_cast<terminal::TerminalFrame*>(widget);
    if (frame != nullptr && !frame->IsClosed()) return frame;
  }
  return nullptr;
}

}  // namespace tavix::testing
