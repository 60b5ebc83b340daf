#include "terminal/button_bar.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include "terminal/terminal_commands.h"

namespace tavix::terminal {
namespace {

struct ButtonSpec {
  int x;
  int command;
  const char* tip;
};

constexpr std::array<ButtonSpec, ButtonBar::kButtonCount> kButtons = {{
    {6, kCommandExit, "Exit Terminal"},
    {61, kCommandHangUp, "Hang Up (Drop Carrier)"},
    {122, kCommandClearScreen, "Clear Screen"},
    {183, kCommandDownload, "Download"},
    {244, kCommandUpload, "Upload"},
    {305, kCommandModemParameters, "Modem Parameters"},
    {366, kCommandCapture, "Capture Session To Disk"},
}};
constexpr int kButtonTop = 6;

enum State { kNormal, kPressed, kGrey };

// Draws the symbol of a button in a 37 × 38 square.
void DrawSymbol(QPainter& painter, int command, const QColor& ink) {
  painter.setPen(QPen(ink, 2));
  painter.setBrush(Qt::NoBrush);
  switch (command) {
    case kCommandExit:  // an open door
      painter.drawRect(11, 7, 14, 24);
      painter.setBrush(ink);
      painter.drawPolygon(QPolygon({{11, 7}, {19, 10}, {19, 34}, {11, 31}}));
      break;
    case kCommandHangUp:  // a handset over its cradle
      painter.drawArc(8, 8, 21, 14, 0, 180 * 16);
      painter.drawRect(10, 22, 17, 8);
      break;
    case kCommandClearScreen:  // an empty screen
      painter.drawRect(8, 8, 21, 16);
      painter.drawLine(14, 29, 23, 29);
      break;
    case kCommandDownload:
    case kCommandUpload: {  // an arrow towards or away from a tray
      painter.drawLine(9, 30, 28, 30);
      const bool down = command == kCommandDownload;
      painter.drawLine(18, 7, 18, 25);
      painter.setBrush(ink);
      painter.drawPolygon(down ? QPolygon({{12, 19}, {24, 19}, {18, 26}})
                               : QPolygon({{12, 13}, {24, 13}, {18, 6}}));
      break;
    }
    case kCommandModemParameters:  // three sliders
      for (int i = 0; i < 3; ++i) {
        painter.drawLine(9 + i * 9, 8, 9 + i * 9, 30);
        painter.fillRect(6 + i * 9, 12 + i * 6, 7, 4, ink);
      }
      break;
    default:  // a diskette
      painter.drawRect(9, 8, 19, 22);
      painter.fillRect(13, 8, 11, 7, ink);
      painter.drawRect(13, 21, 11, 9);
      break;
  }
}

QPixmap PaintPicture(int command, State state) {
  QPixmap picture(ButtonBar::kButtonWidth, ButtonBar::kButtonHeight);
  picture.fill(QColor(0xC0, 0xC0, 0xC0));
  QPainter painter(&picture);
  const QRect frame(0, 0, ButtonBar::kButtonWidth - 1, ButtonBar::kButtonHeight - 1);
  const QColor light(Qt::white);
  const QColor dark(0x80, 0x80, 0x80);
  painter.setPen(state == kPressed ? dark : light);
  painter.drawLine(frame.topLeft(), frame.topRight());
  painter.drawLine(frame.topLeft(), frame.bottomLeft());
  painter.setPen(state == kPressed ? light : Qt::black);
  painter.drawLine(frame.bottomLeft(), frame.bottomRight());
  painter.drawLine(frame.topRight(), frame.bottomRight());
  painter.setRenderHint(QPainter::Antialiasing);
  if (state == kPressed) painter.translate(1, 1);
  if (state == kGrey) {
    painter.translate(1, 1);
    DrawSymbol(painter, command, light);
    painter.translate(-1, -1);
  }
  DrawSymbol(painter, command, state == kGrey ? dark : QColor(0x00, 0x33, 0x99));
  return picture;
}

}  // namespace

ButtonBar::ButtonBar(QWidget* parent) : QWidget(parent) {
  setObjectName("TavixTermControl");
  setFixedHeight(kHeight);
  setAutoFillBackground(true);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
  setPalette(colours);
  for (int i = 0; i < kButtonCount; ++i) {
    for (int state = 0; state < 3; ++state) {
      pictures_[i][state] = PaintPicture(kButtons[i].command, static_cast<State>(state));
    }
    enabled_[i] = true;
  }
}

QRect ButtonBar::ButtonRect(int index) const {
  return {kButtons[index].x, kButtonTop, kButtonWidth, kButtonHeight};
}

int ButtonBar::CommandOf(int index) const {
  return kButtons[index].command;
}

void ButtonBar::SetCommandEnabled(int command, bool enabled) {
  for (int i = 0; i < kButtonCount; ++i) {
    if (kButtons[i].command == command && enabled_[i] != enabled) {
      enabled_[i] = enabled;
      if (!enabled && pressed_ == i) pressed_ = -1;
      update(ButtonRect(i));
    }
  }
}

bool ButtonBar::IsCommandEnabled(int command) const {
  for (int i = 0; i < kButtonCount; ++i) {
    if (kButtons[i].command == command) return enabled_[i];
  }
  return false;
}

int ButtonBar::ButtonAt(QPoint point) const {
  for (int i = 0; i < kButtonCount; ++i) {
    if (ButtonRect(i).contains(point)) return i;
  }
  return -1;
}

void ButtonBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  for (int i = 0; i < kButtonCount; ++i) {
    const State state =
        !enabled_[i] ? kGrey : (pressed_ == i && pressedShown_ ? kPressed : kNormal);
    painter.drawPixmap(ButtonRect(i).topLeft(), pictures_[i][state]);
  }
  painter.setPen(QColor(0x80, 0x80, 0x80));
  painter.drawLine(0, height() - 1, width(), height() - 1);
}

void ButtonBar::mousePressEvent(QMouseEvent* event) {
  const int index = ButtonAt(event->position().toPoint());
  if (event->button() != Qt::LeftButton || index < 0 || !enabled_[index]) return;
  pressed_ = index;
  pressedShown_ = true;
  update(ButtonRect(index));
}

void ButtonBar::mouseMoveEvent(QMouseEvent* event) {
  if (pressed_ < 0) return;
  const bool over = ButtonRect(pressed_).contains(event->position().toPoint());
  if (over != pressedShown_) {
    pressedShown_ = over;
    update(ButtonRect(pressed_));
  }
}

void ButtonBar::mouseReleaseEvent(QMouseEvent* event) {
  if (pressed_ < 0 || event->button() != Qt::LeftButton) return;
  const int index = pressed_;
  pressed_ = -1;
  update(ButtonRect(index));
  if (enabled_[index] && ButtonRect(index).contains(event->position().toPoint())) {
    emit CommandIssued(kButtons[index].command);
  }
}

bool ButtonBar::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(event);
    const int index = ButtonAt(help->pos());
    if (index >= 0) {
      QToolTip::showText(help->globalPos(), kButtons[index].tip, this);
    } else {
      QToolTip::hideText();
    }
    return true;
  }
  return QWidget::event(event);
}

}  // namespace tavix::terminal
