#include "barcode/encoder_factory.h"

#include "barcode/codabar_encoder.h"
#include "barcode/code128_encoder.h"
#include "barcode/code39_encoder.h"
#include "barcode/ean13_encoder.h"
#include "barcode/ean8_encoder.h"
#include "barcode/interleaved_2of5_encoder.h"
#include "barcode/no_symbol_encoder.h"
#include "barcode/standard_2of5_encoder.h"
#include "barcode/symbology.h"
#include "barcode/upca_encoder.h"
#include "barcode/upce_encoder.h"

namespace paltrix::barcode {

std::unique_ptr<BarcodeEncoder> CreateEncoder(std::uint8_t code) {
  const auto symbology = static_cast<Symbology>(code);
  switch (symbology) {
    case Symbology::kCode39:
      return std::make_unique<Code39Encoder>(false);
    case Symbology::kCode39FullAscii:
      return std::make_unique<Code39Encoder>(true);
    case Symbology::kEan13:
      return std::make_unique<Ean13Encoder>();
    case Symbology::kUpcE:
      return std::make_unique<UpcEEncoder>();
    case Symbology::kUpcA:
      return std::make_unique<UpcAEncoder>();
    case Symbology::kEan8:
      return std::make_unique<Ean8Encoder>();
    case Symbology::kInterleaved2Of5:
      return std::make_unique<Interleaved2Of5Encoder>();
    case Symbology::kStandard2Of5:
      return std::make_unique<Standard2Of5Encoder>();
    case Symbology::kCodabar:
      return std::make_unique<CodabarEncoder>();
    case Symbology::kCode128Auto:
    case Symbology::kCode128SetA:
    case Symbology::kCode128SetB:
    case Symbology::kCode128SetC:
    case Symbology::kGs1_128:
      return std::make_unique<Code128Encoder>(symbology);
    default:
      return std::make_unique<NoSymbolEncoder>();
  }
}

}  // namespace paltrix::barcode
