#pragma once

#include <QStyledItemDelegate>

namespace paltrix::app {

// Paints list cells that hold one line of text: the style paints the cell's
// background, highlight and focus, then the text is drawn once on its
// baseline, cut with "…" when it does not fit. The style's own item text
// painting lays every text out as a paragraph and shapes it twice, which is
// most of what a page of the catalogue costs to repaint.
class SingleLineCellDelegate final : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
};

}  // namespace paltrix::app
