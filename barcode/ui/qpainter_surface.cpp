#include "barcode/ui/qpainter_surface.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <algorithm>
#include <cmath>
#include <string>

#include "framework/text/windows1252.h"

namespace paltrix::barcode::ui {
namespace {

QColor ToQColor(Colour colour) {
  return QColor((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF);
}

QFont ToQFont(const Font& font, QPaintDevice* device) {
  QFont qfont(QString::fromStdString(text::ToUtf8(font.typeface)));
  qfont.setPointSize(font.size > 0 ? font.size : 10);
  qfont.setWeight(static_cast<QFont::Weight>(std::clamp(font.style & Font::kWeightMask, 100, 900)));
  qfont.setItalic((font.style & Font::kItalic) != 0);
  qfont.setUnderline((font.style & Font::kUnderline) != 0);
  qfont.setStrikeOut((font.style & Font::kStrikeOut) != 0);
  return QFont(qfont, device);
}

QString ToQString(std::string_view windows1252) {
  return QString::fromStdString(text::ToUtf8(windows1252));
}

}  // namespace

QPainterSurface::QPainterSurface(QPainter& painter, double scale, QPointF origin)
    : painter_(painter), scale_(scale), origin_(origin) {}

void QPainterSurface::FillRect(const Box& box, Colour colour) {
  const QRectF rect = QRectF(origin_.x() + box.x * scale_, origin_.y() + box.y * scale_,
                             box.width * scale_, box.height * scale_)
                          .normalized();
  painter_.fillRect(rect, ToQColor(colour));
}

void QPainterSurface::Erase(const Box& box) {
  FillRect(box, pageColour_);
}

TextSize QPainterSurface::MeasureText(std::string_view text, const Font& font) {
  const QFontMetricsF metrics(ToQFont(font, painter_.device()));
  const QString line = ToQString(text);
  return TextSize{
      .width = static_cast<std::int32_t>(std::ceil(metrics.horizontalAdvance(line) / scale_)),
      .height = static_cast<std::int32_t>(std::ceil(metrics.height() / scale_))};
}

void QPainterSurface::DrawText(std::int32_t x, std::int32_t y, std::string_view text,
                               const Font& font, Colour colour) {
  const QFont qfont = ToQFont(font, painter_.device());
  const QFontMetricsF metrics(qfont);
  painter_.save();
  painter_.setFont(qfont);
  painter_.setPen(ToQColor(colour));
  painter_.drawText(QPointF(origin_.x() + x * scale_, origin_.y() + y * scale_ + metrics.ascent()),
                    ToQString(text));
  painter_.restore();
}

}  // namespace paltrix::barcode::ui
