#pragma once

// The terminal's bar of seven picture buttons. The pictures are painted by the library in
// three states (normal, pressed, grey). A button pressed with the mouse shows its pressed
// picture while the mouse is over it; releasing over it sends its command. Grey buttons ignore
// the mouse.

#include <QPixmap>
#include <QWidget>
#include <array>

namespace tavix::terminal {

class ButtonBar final : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kButtonCount = 7;
  static constexpr int kButtonWidth = 37;
  static constexpr int kButtonHeight = 38;
  static constexpr int kHeight = 50;

  explicit ButtonBar(QWidget* parent);

  // Enables or greys the button that issues `command`.
  void SetCommandEnabled(int command, bool enabled);
  bool IsCommandEnabled(int command) const;
  // The button's rectangle, for tests and for drawing.
  QRect ButtonRect(int index) const;
  int CommandOf(int index) const;

 signals:
  void CommandIssued(int command);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  bool event(QEvent* event) override;

 private:
  int ButtonAt(QPoint point) const;

  std::array<bool, kButtonCount> enabled_{};
  std::array<std::array<QPixmap, 3>, kButtonCount> pictures_;
  int pressed_ = -1;  // the button the mouse went down on
  bool pressedShown_ = false;
};

}  // namespace tavix::terminal
