#pragma once

#include <string>

#include "barcode/barcode_encoder.h"

namespace paltrix::barcode {

// Codabar (ANSI/AIM BC3), symbology 13: digits and - $ : / . + between a
// start and a stop letter A to D. Data without its own start and stop
// letters is drawn between A and A.
class CodabarEncoder final : public BarcodeEncoder {
 public:
  Symbol EncodeSymbol(std::string_view data) override;

  // The characters drawn: start letter, data (characters Codabar lacks left
  // out), the optional modulo-16 check character, stop letter.
  std::string Characters(std::string_view data) const;
};

}  // namespace paltrix::barcode
