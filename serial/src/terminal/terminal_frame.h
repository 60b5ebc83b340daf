#pragma once

// The terminal's top-level window "Terminal": menu, button bar, display and status strip, the
// commands, the carrier rule for the transfer commands, transfers (including the automatic
// Zmodem download) and the close rules. One frame per port; it owns its session.

#include <QAction>
#include <QMainWindow>
#include <map>
#include <memory>

#include "terminal/terminal_session.h"

namespace tavix::terminal {

class ButtonBar;
class TerminalDisplay;

class TerminalFrame final : public QMainWindow {
  Q_OBJECT

 public:
  explicit TerminalFrame(std::unique_ptr<TerminalSession> session);
  ~TerminalFrame() override;

  TerminalSession& Session() { return *session_; }
  // True once the frame has closed (it is deleted later by the event loop).
  bool IsClosed() const { return shutDown_; }
  TerminalDisplay* Display() const { return display_; }
  ButtonBar* Buttons() const { return buttons_; }
  QAction* ActionOf(int command) const { return actions_.at(command); }

  // Greys or enables Hang Up, Upload and Download in the menu and the button bar.
  void SetCarrierCommandsEnabled(bool on);
  void RunCommand(int command);
  // Starts receive notification for the display; false when its thread cannot be started.
  bool StartNotification();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenu();
  QAction* AddCommand(QMenu* menu, const QString& text, int command, const QString& shortcut);
  void SetTransferCommandsEnabled(bool on);
  // Runs a transfer with notification stopped and the caller's top-level window disabled.
  template <typename Transfer>
  void RunTransfer(Transfer transfer);
  void Upload();
  void Download();
  void DownloadAutomatically();
  void ToggleCapture();
  void ShutDown();

  std::unique_ptr<TerminalSession> session_;
  ButtonBar* buttons_ = nullptr;
  TerminalDisplay* display_ = nullptr;
  std::map<int, QAction*> actions_;
  bool shutDown_ = false;
};

// Size of the frame for a screen of the given size.
QSize FrameSizeFor(QSize screen);

}  // namespace tavix::terminal
