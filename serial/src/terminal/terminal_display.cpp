#include "terminal/terminal_display.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <array>
#include <optional>

#include "port/port_access.h"
#include "terminal/code_page_437.h"
#include "terminal/doorway_keys.h"
#include "terminal/screen_colours.h"

namespace tavix::terminal {
namespace {

// The most a single read takes; the window is updated between reads.
constexpr int kReadBlock = 176;
// Bytes shown per notification before the display lets other events run; the rest follows
// from a notification it posts to itself, so a fast peer cannot freeze the window.
constexpr int kBytesPerTurn = 64 * 1024;

QColor ColourOf(std::uint32_t rgb) {
  return QColor::fromRgb(rgb);
}

std::optional<DoorwayKey> DoorwayKeyOf(int key) {
  if (key >= Qt::Key_F1 && key <= Qt::Key_F10) {
    return static_cast<DoorwayKey>(static_cast<int>(DoorwayKey::F1) + (key - Qt::Key_F1));
  }
  switch (key) {
    case Qt::Key_Home:
      return DoorwayKey::Home;
    case Qt::Key_Up:
      return DoorwayKey::Up;
    case Qt::Key_PageUp:
      return DoorwayKey::PageUp;
    case Qt::Key_Left:
      return DoorwayKey::Left;
    case Qt::Key_Right:
      return DoorwayKey::Right;
    case Qt::Key_End:
      return DoorwayKey::End;
    case Qt::Key_Down:
      return DoorwayKey::Down;
    case Qt::Key_PageDown:
      return DoorwayKey::PageDown;
    case Qt::Key_Insert:
      return DoorwayKey::Insert;
    case Qt::Key_Delete:
      return DoorwayKey::Delete;
    default:
      return std::nullopt;
  }
}

}  // namespace

TerminalDisplay::TerminalDisplay(TerminalSession& session, QWidget* parent)
    : QAbstractScrollArea(parent), session_(session) {
  setObjectName("TavixTermClient");
  setFocusPolicy(Qt::StrongFocus);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setAutoFillBackground(false);
  font_ = QFont("Fixedsys");
  font_.setStyleHint(QFont::TypeWriter);
  font_.setFixedPitch(true);
  font_.setPixelSize(18);
  const QFontMetrics metrics(font_);
  charWidth_ = std::max(1, metrics.horizontalAdvance(QLatin1Char('M')));
  charHeight_ = std::max(1, metrics.height() + metrics.leading());
  UpdateScrollRanges();
}

QRect TerminalDisplay::CellRect(int row, int column) const {
  return {column * charWidth_ - horizontalScrollBar()->value(),
          row * charHeight_ - verticalScrollBar()->value(), charWidth_, charHeight_};
}

bool TerminalDisplay::event(QEvent* event) {
  if (event->type() == static_cast<QEvent::Type>(TAVIX_COMMNOTIFY_EVENT)) {
    // A notification still queued when a transfer started must not take the transfer's bytes;
    // the frame notifies the display again once the transfer is over.
    if (!session_.transferRunning) ReadPort();
    return true;
  }
  return QAbstractScrollArea::event(event);
}

void TerminalDisplay::ReadPort() {
  std::array<std::uint8_t, kReadBlock + 1> buffer{};
  int shown = 0;
  bool downloadRequested = false;
  while (shown < kBytesPerTurn && !downloadRequested) {
    const int count = ComGetBlock(session_.port, buffer.data(), kReadBlock);
    if (count <= 0) break;
    shown += count;
    downloadRequested =
        session_.screen.Receive(std::span(buffer.data(), static_cast<std::size_t>(count)))
            .zmodemDownloadRequested;
  }
  ApplyModelEffects();
  if (downloadRequested) {
    emit ZmodemDownloadRequested();
    return;
  }
  if (shown >= kBytesPerTurn) {
    QCoreApplication::postEvent(this, new QEvent(static_cast<QEvent::Type>(TAVIX_COMMNOTIFY_EVENT)),
                                Qt::LowEventPriority);
  }
  const bool carrier = Iscd(session_.port) != 0;
  if (carrier != session_.carrier) {
    session_.carrier = carrier;
    emit CarrierChanged(carrier);
  }
}

void TerminalDisplay::Type(std::uint8_t character) {
  ComPutc(session_.port, character);
  if (session_.echo) {
    session_.screen.Put(character);
    ApplyModelEffects();
  }
}

void TerminalDisplay::ApplyModelEffects() {
  ScreenModel& screen = session_.screen;
  if (const std::string reply = screen.TakeReply(); !reply.empty()) {
    WriteBlock(session_.port,
               std::span(reinterpret_cast<const std::uint8_t*>(reply.data()), reply.size()));
  }
  for (int beeps = screen.TakeBeeps(); beeps > 0; --beeps) QApplication::beep();
  if (const int change = screen.TakeDoorwayMenuChange(); change >= 0) {
    emit DoorwayMenuChanged(change == 1);
  }
  if (screen.TakeCleared()) {
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
  }
  screen.TakeLinesScrolled();
  const auto [first, last] = screen.TakeDirtyRows();
  if (first <= last) {
    viewport()->update(QRect(0, first * charHeight_ - verticalScrollBar()->value(),
                             viewport()->width(), (last - first + 1) * charHeight_));
  }
  KeepCursorVisible();
  // The caret cell moves with the cursor.
  viewport()->update(CellRect(screen.Row(), screen.Column()).adjusted(-charWidth_, 0, 0, 0));
}

void TerminalDisplay::RefreshAll() {
  session_.screen.TakeDirtyRows();
  session_.screen.TakeCleared();
  horizontalScrollBar()->setValue(0);
  verticalScrollBar()->setValue(0);
  viewport()->update();
}

void TerminalDisplay::KeepCursorVisible() {
  QScrollBar* vertical = verticalScrollBar();
  const int cursorTop = session_.screen.Row() * charHeight_;
  const int visibleRows = std::max(1, viewport()->height() / charHeight_ - 2);
  if (cursorTop >= vertical->value() + visibleRows * charHeight_) {
    vertical->setValue(cursorTop - (visibleRows - 1) * charHeight_);
  } else if (cursorTop < vertical->value()) {
    vertical->setValue(cursorTop);
  }
}

void TerminalDisplay::UpdateScrollRanges() {
  const QSize size = viewport()->size();
  verticalScrollBar()->setRange(0, std::max(0, kRows * charHeight_ - size.height()));
  verticalScrollBar()->setSingleStep(charHeight_);
  verticalScrollBar()->setPageStep(size.height());
  horizontalScrollBar()->setRange(0, std::max(0, kColumns * charWidth_ - size.width()));
  horizontalScrollBar()->setSingleStep(charWidth_);
  horizontalScrollBar()->setPageStep(size.width());
}

void TerminalDisplay::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollRanges();
}

void TerminalDisplay::scrollContentsBy(int, int) {
  viewport()->update();
}

void TerminalDisplay::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  painter.setFont(font_);
  const int scrollX = horizontalScrollBar()->value();
  const int scrollY = verticalScrollBar()->value();
  const QRect damaged = event->rect();
  // Outside the buffer the display is black.
  painter.fillRect(damaged, Qt::black);
  const int firstRow = std::max(0, (damaged.top() + scrollY) / charHeight_);
  const int lastRow = std::min(kRows - 1, (damaged.bottom() + scrollY) / charHeight_);
  const int firstColumn = std::max(0, (damaged.left() + scrollX) / charWidth_);
  const int lastColumn = std::min(kColumns - 1, (damaged.right() + scrollX) / charWidth_);
  const ScreenModel& screen = session_.screen;
  const bool caret = hasFocus();
  for (int row = firstRow; row <= lastRow; ++row) {
    for (int column = firstColumn; column <= lastColumn; ++column) {
      const Cell& cell = screen.At(row, column);
      QColor foreground = ColourOf(ForegroundColour(cell.attribute));
      QColor background = ColourOf(BackgroundColour(cell.attribute));
      if (caret && row == screen.Row() && column == screen.Column()) {
        std::swap(foreground, background);
        if (foreground == background) background = Qt::white;
      }
      const QRect rect = CellRect(row, column);
      painter.fillRect(rect, background);
      const QChar glyph(Cp437ToUnicode(cell.character));
      if (!glyph.isNull() && !glyph.isSpace()) {
        painter.setPen(foreground);
        painter.drawText(rect, Qt::AlignCenter, QString(glyph));
      }
    }
  }
}

bool TerminalDisplay::SendDoorwayKey(const QKeyEvent& event) {
  const std::optional<DoorwayKey> key = DoorwayKeyOf(event.key());
  if (!key) return false;
  const auto bytes = DoorwayBytes(*key, (event.modifiers() & Qt::ControlModifier) != 0);
  WriteBlock(session_.port, bytes);
  return true;
}

void TerminalDisplay::keyPressEvent(QKeyEvent* event) {
  if (session_.screen.Doorway() && SendDoorwayKey(*event)) return;
  const QByteArray text = event->text().toLatin1();
  if (text.isEmpty()) {
    // Outside DoorWay mode keys without a character send nothing; the scroll keys still scroll.
    QAbstractScrollArea::keyPressEvent(event);
    return;
  }
  for (const char character : text) Type(static_cast<std::uint8_t>(character));
}

void TerminalDisplay::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  viewport()->update(CellRect(session_.screen.Row(), session_.screen.Column()));
}

void TerminalDisplay::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  viewport()->update(CellRect(session_.screen.Row(), session_.screen.Column()));
}

}  // namespace tavix::terminal
