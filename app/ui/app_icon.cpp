#include "app/ui/app_icon.h"

#include <QPainter>
#include <QPixmap>
#include <array>

namespace paltrix::app {
namespace {

// Painted on a 64 x 64 grid and scaled to the requested size.
QPixmap PaintIcon(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / 64.0, size / 64.0);

  const QColor wood(0xB0, 0x7A, 0x3C);
  painter.setPen(Qt::NoPen);
  painter.setBrush(wood);
  painter.drawRect(QRectF(4, 50, 56, 4));
  for (const double x : {6.0, 29.0, 52.0}) painter.drawRect(QRectF(x, 54, 6, 6));

  painter.setBrush(QColor(0xD9, 0xB3, 0x82));
  painter.setPen(QPen(QColor(0x7A, 0x52, 0x25), 1.5));
  painter.drawRect(QRectF(8, 10, 48, 40));

  painter.setBrush(Qt::white);
  painter.setPen(QPen(Qt::black, 1));
  painter.drawRect(QRectF(14, 16, 36, 28));

  painter.setPen(Qt::NoPen);
  painter.setBrush(Qt::black);
  constexpr std::array<double, 12> kBarWidths = {2, 1, 1, 3, 1, 2, 1, 1, 2, 3, 1, 2};
  double x = 17;
  for (std::size_t i = 0; i < kBarWidths.size(); ++i) {
    if (i % 2 == 0) painter.drawRect(QRectF(x, 20, kBarWidths[i], 18));
    x += kBarWidths[i] + 1;
  }
  return pixmap;
}

}  // namespace

QIcon PaltrixIcon() {
  QIcon icon;
  for (const int size : {16, 24, 32, 48, 64, 128, 256}) icon.addPixmap(PaintIcon(size));
  return icon;
}

}  // namespace paltrix::app
