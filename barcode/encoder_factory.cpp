#include "barcode/encoder_factory.h"

#include "barcode/code128_encoder.h"
#include "barcode/no_symbol_encoder.h"
#include "barcode/symbology.h"

namespace paltrix::barcode {

std::unique_ptr<BarcodeEncoder> CreateEncoder(std::uint8_t code) {
  const auto symbology = static_cast<Symbology>(code);
  switch (symbology) {
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
