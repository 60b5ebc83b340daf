#include "app/ui/single_line_cell_delegate.h"

#include <QApplication>
#include <QPainter>
#include <utility>

namespace paltrix::app {

void SingleLineCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
  QStyleOptionViewItem cell = option;
  initStyleOption(&cell, index);
  const QString text = std::exchange(cell.text, QString());
  const QWidget* widget = cell.widget;
  const QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
  style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);
  // The grid: the cell's right and bottom edge, as filled one-pixel strips.
  const QColor gridColor = QColor::fromRgba(
      static_cast<QRgb>(style->styleHint(QStyle::SH_Table_GridLineColor, &cell, widget)));
  const QRect& bounds = cell.rect;
  painter->fillRect(QRect(bounds.right(), bounds.top(), 1, bounds.height()), gridColor);
  painter->fillRect(QRect(bounds.left(), bounds.bottom(), bounds.width(), 1), gridColor);
  if (text.isEmpty()) return;

  const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
  const QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &cell, widget)
                         .adjusted(margin, 0, -margin, 0);
  const QPalette::ColorGroup group = !(cell.state & QStyle::State_Enabled) ? QPalette::Disabled
                                     : (cell.state & QStyle::State_Active) ? QPalette::Normal
                                                                           : QPalette::Inactive;
  const bool selected = (cell.state & QStyle::State_Selected) != 0;
  const QFontMetrics& metrics = cell.fontMetrics;
  const int baseline = area.top() + (area.height() - metrics.height()) / 2 + metrics.ascent();

  painter->save();
  painter->setClipRect(area);
  painter->setFont(cell.font);
  painter->setPen(cell.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
  painter->drawText(QPoint(area.left(), baseline),
                    metrics.elidedText(text, Qt::ElideRight, area.width()));
  painter->restore();
}

}  // namespace paltrix::app
