#pragma once

// The terminal's display: draws the screen model with the colour table and a block caret,
// scrolls over the 100 × 88 buffer, reads received bytes on each receive notification, and
// sends typed keys (DoorWay keys as NUL and scan code while DoorWay mode is on).

#include <QAbstractScrollArea>
#include <QFont>

#include "terminal/terminal_session.h"

namespace tavix::terminal {

class TerminalDisplay final : public QAbstractScrollArea {
  Q_OBJECT

 public:
  TerminalDisplay(TerminalSession& session, QWidget* parent);

  // Reads and shows everything queued on the port, then checks carrier detect.
  void ReadPort();
  // Shows a typed character (echo) or sends it.
  void Type(std::uint8_t character);
  // Redraws the whole buffer after the model changed outside ReadPort (Clear Screen).
  void RefreshAll();
  int CharWidth() const { return charWidth_; }
  int CharHeight() const { return charHeight_; }
  // The cell rectangle of (row, column) in viewport coordinates.
  QRect CellRect(int row, int column) const;

 signals:
  void ZmodemDownloadRequested();
  void CarrierChanged(bool on);
  void DoorwayMenuChanged(bool checked);

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  void ApplyModelEffects();
  void UpdateScrollRanges();
  void KeepCursorVisible();
  bool SendDoorwayKey(const QKeyEvent& event);

  TerminalSession& session_;
  QFont font_;
  int charWidth_ = 8;
  int charHeight_ = 16;
};

}  // namespace tavix::terminal
