#include "app/a5/ui/page_painter.h"

#include <QFont>
#include <QPainter>
#include <QPen>
#include <QRectF>
#include <QString>
#include <cmath>

#include "app/a5/report_layout.h"
#include "barcode/symbology.h"
#include "framework/text/windows1252.h"

namespace paltrix::a5::ui {
namespace {

constexpr double kMmPerInch = 25.4;
constexpr double kRuleWidthMm = 0.3;

barcode::Box ThousandthsOf(const MmRect& rect) {
  const auto thou = [](double mm) {
    return static_cast<std::int32_t>(std::lround(mm * 1000.0 / kMmPerInch));
  };
  return {thou(rect.x), thou(rect.y), thou(rect.width), thou(rect.height)};
}

}  // namespace

PagePainter::PagePainter(A5Report report, QPainter& painter, errors::ErrorManager& errors)
    : painter_(painter), target_(painter, errors) {
  for (const BarcodeItem& item : LayoutOf(report).barcodes) {
    MmRect onPage = item.rect;
    onPage.y += kBandTopMm;
    const barcode::ControlId control = target_.AddControl(ThousandthsOf(onPage));
    auto bound = std::make_unique<barcode::Barcode>(errors);
    bound->XWIDTH = item.moduleWidthThousandths;
    bound->Init(&target_, control, kDetailBand, static_cast<int>(barcode::Symbology::kEan13));
    bound->DRAWTEXT = 0;
    barcodes_.push_back(std::move(bound));
  }
}

PagePainter::~PagePainter() = default;

void PagePainter::Paint(const PagePlan& page) {
  const double pixelsPerMm = painter_.device()->logicalDpiX() / kMmPerInch;
  const auto toDevice = [pixelsPerMm](const MmRect& rect) {
    return QRectF(rect.x * pixelsPerMm, rect.y * pixelsPerMm, rect.width * pixelsPerMm,
                  rect.height * pixelsPerMm);
  };

  painter_.save();
  painter_.setPen(Qt::black);
  for (const PlacedText& text : page.texts) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(text.pointSize);
    font.setBold(text.bold);
    painter_.setFont(QFont(font, painter_.device()));
    painter_.drawText(toDevice(text.rect), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip,
                      QString::fromStdString(text::ToUtf8(text.text)));
  }
  QPen rule(Qt::black);
  rule.setWidthF(kRuleWidthMm * pixelsPerMm);
  painter_.setPen(rule);
  for (const double y : page.rulesY) {
    painter_.drawLine(QPointF(kRuleLeftMm * pixelsPerMm, y * pixelsPerMm),
                      QPointF(kRuleRightMm * pixelsPerMm, y * pixelsPerMm));
  }
  painter_.restore();

  for (const PlacedBarcode& placed : page.barcodes) {
    barcodes_.at(placed.control)
        ->Print(static_cast<int>(barcode::Symbology::kCode128Auto),
                /*keepCurrent=*/false, placed.data);
  }
}

}  // namespace paltrix::a5::ui
