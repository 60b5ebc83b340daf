#define ZX_USE_UTF8 1
#include "rendered_symbol.h"

#include <ZXing/ReadBarcode.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QPainter>

#include "barcode/ui/qpainter_surface.h"
#include "fake_target.h"
#include "framework/errors/error_manager.h"
#include "framework/errors/scripted_presenter.h"

namespace paltrix::barcode::testing {

Decoded Decode(const QImage& image, const DecodeOptions& options) {
  const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
  const ZXing::ImageView view(grey.constBits(), grey.width(), grey.height(),
                              ZXing::ImageFormat::Lum, static_cast<int>(grey.bytesPerLine()));
  ZXing::DecodeHints hints;
  hints.setFormats(ZXing::BarcodeFormatFromString(options.format));
  hints.setTryHarder(true);
  hints.setTryCode39ExtendedMode(options.code39FullAscii);
  hints.setValidateCode39CheckSum(options.code39CheckDigit);
  hints.setReturnCodabarStartEnd(true);
  const ZXing::Result result = ZXing::ReadBarcode(view, hints);
  return Decoded{.valid = result.isValid(),
                 .format = ZXing::ToString(result.format()),
                 .text = result.text(),
                 .symbologyIdentifier = result.symbologyIdentifier()};
}

namespace {

// Stands in for an encoder with a symbol fixed in advance.
class FixedSymbolEncoder final : public BarcodeEncoder {
 public:
  explicit FixedSymbolEncoder(Symbol symbol) : symbol_(std::move(symbol)) {}
  Symbol EncodeSymbol(std::string_view) override { return symbol_; }

 private:
  Symbol symbol_;
};

// Draws through a bound barcode; `replacement`, when given, takes the place of
// the symbology's encoder.
QImage Render(int symbology, const std::string& data, const RenderOptions& options,
              std::unique_ptr<BarcodeEncoder> replacement) {
  const int dpi = options.dpi;
  const int controlWidth = options.controlWidth;
  constexpr int kMarginThou = 1000;
  constexpr int kHeightThou = 1000;
  const int pageWidthThou = controlWidth + 2 * kMarginThou;
  QImage page(pageWidthThou * dpi / 1000, kHeightThou * dpi / 1000, QImage::Format_RGB32);
  page.fill(Qt::white);
  QPainter painter(&page);
  ui::QPainterSurface surface(painter, dpi / 1000.0);

  errors::ScriptedPresenter presenter;
  errors::RecordingTerminator terminator;
  errors::ErrorManager errors(presenter, terminator);
  errors.Init();
  FakeTarget target;
  target.UseSurface(surface);
  target.SetResolution(dpi, dpi, (1000 + dpi / 2) / dpi);
  target.AddControl(1, Box{kMarginThou, 100, controlWidth, kHeightThou - 200});
  Barcode barcode(errors);
  barcode.XWIDTH = static_cast<std::int16_t>(options.xWidth);
  barcode.Init(&target, 1, 1, symbology);
  barcode.DRAWTEXT = 0;
  barcode.ADDCHECKDIGIT = options.addCheckDigit ? 1 : 0;
  if (replacement) {
    barcode.BCHANDLER = std::move(replacement);
    barcode.BCHANDLER->Init(barcode);
  }
  barcode.Print(symbology, true, data);
  painter.end();
  return page;
}

}  // namespace

QImage RenderSymbol(int symbology, const std::string& data, const RenderOptions& options) {
  return Render(symbology, data, options, nullptr);
}

QImage RenderCode128Values(const std::vector<Code128Record>& values, const RenderOptions& options) {
  return Render(3, "", options, std::make_unique<FixedSymbolEncoder>(Code128Symbol(values)));
}

void SaveForInspection(const QImage& image) {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  QString name = QString("%1.%2").arg(test->test_suite_name(), test->name());
  name.replace('/', '-');
  QDir().mkpath("barcode-images");
  image.save("barcode-images/" + name + ".png");
}

}  // namespace paltrix::barcode::testing
