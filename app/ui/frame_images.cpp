#include "app/ui/frame_images.h"

#include <QLinearGradient>
#include <QPainter>

#include "app/ui/app_icon.h"

namespace paltrix::app {
namespace {

constexpr int kHeight = 40;

QPixmap Canvas(int width) {
  QPixmap pixmap(width, kHeight);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

}  // namespace

QPixmap FrameHeaderImage() {
  QPixmap pixmap = Canvas(168);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  QLinearGradient band(0, 0, 168, 0);
  band.setColorAt(0, QColor(0x1F, 0x4E, 0x79));
  band.setColorAt(1, QColor(0x5B, 0x9B, 0xD5));
  painter.setPen(Qt::NoPen);
  painter.setBrush(band);
  painter.drawRoundedRect(QRectF(0.5, 0.5, 167, kHeight - 1), 6, 6);
  painter.drawPixmap(4, 4, PaltrixIcon().pixmap(32));
  QFont font = painter.font();
  font.setBold(true);
  font.setPixelSize(18);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(QRectF(42, 0, 124, 26), Qt::AlignLeft | Qt::AlignBottom,
                   QStringLiteral("Paltrix"));
  font.setBold(false);
  font.setPixelSize(10);
  painter.setFont(font);
  painter.drawText(QRectF(42, 25, 124, 14), Qt::AlignLeft | Qt::AlignTop,
                   QStringLiteral("GS1 palleetiketter"));
  return pixmap;
}

QPixmap FrameAddressImage() {
  QPixmap pixmap = Canvas(64);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  // A label with the sender's block: a heading line and three address lines.
  painter.setPen(QPen(QColor(0x60, 0x60, 0x60), 1));
  painter.setBrush(Qt::white);
  painter.drawRoundedRect(QRectF(2.5, 2.5, 59, kHeight - 5), 3, 3);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0x1F, 0x4E, 0x79));
  painter.drawRect(QRectF(8, 8, 30, 5));
  painter.setBrush(QColor(0x80, 0x80, 0x80));
  for (const double y : {17.0, 23.0, 29.0}) painter.drawRect(QRectF(8, y, 40 - (y - 17), 3));
  // The envelope corner that tells it is an address.
  painter.setPen(QPen(QColor(0xB0, 0x7A, 0x3C), 1.5));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(QRectF(46, 8, 11, 9));
  painter.drawLine(QPointF(46, 8), QPointF(51.5, 13));
  painter.drawLine(QPointF(57, 8), QPointF(51.5, 13));
  return pixmap;
}

QPixmap FrameCloseInfoImage() {
  QPixmap pixmap = Canvas(72);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(0xC0, 0x39, 0x2B));
  painter.drawEllipse(QRectF(2, 6, 28, 28));
  painter.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(QPointF(16, 11), QPointF(16, 20));
  painter.drawArc(QRectF(9, 13, 14, 14), 120 * 16, 300 * 16);
  painter.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
  painter.setBrush(QColor(0xF2, 0xF2, 0xF2));
  painter.drawRoundedRect(QRectF(36.5, 10.5, 32, 20), 4, 4);
  QFont font = painter.font();
  font.setBold(true);
  font.setPixelSize(12);
  painter.setFont(font);
  painter.drawText(QRectF(36, 10, 33, 21), Qt::AlignCenter, QStringLiteral("F8"));
  return pixmap;
}

}  // namespace paltrix::app
