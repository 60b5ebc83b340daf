#pragma once

#include <QImage>
#include <string>
#include <vector>

#include "barcode/barcode.h"
#include "barcode/code128_encoder.h"

namespace paltrix::barcode::testing {

// What an independent decoder read from an image.
struct Decoded {
  bool valid = false;
  std::string format;
  std::string text;                 // UTF-8; GS1 separators as byte 29
  std::string symbologyIdentifier;  // "]C1" for GS1-128
};

// Options of one decode; the format is ZXing's name ("Code128", "EAN-13" ...).
struct DecodeOptions {
  std::string format;
  bool code39FullAscii = false;
  bool code39CheckDigit = false;
};

// Decodes the first barcode of `image` with ZXing-C++.
Decoded Decode(const QImage& image, const DecodeOptions& options);

struct RenderOptions {
  int controlWidth = 6000;  // thousandths of an inch
  int xWidth = 20;          // module width in thousandths; 0 derives it from the control
  int dpi = 300;
  bool addCheckDigit = false;
};

// Draws `data` with the barcode engine as a report on a `dpi` printer would:
// the control one inch from the left edge of a white page, no text.
QImage RenderSymbol(int symbology, const std::string& data, const RenderOptions& options = {});

// Draws the Code 128 symbol of exactly `values` (start to STOP) the same way,
// through the barcode object's layout and drawing.
QImage RenderCode128Values(const std::vector<Code128Record>& values,
                           const RenderOptions& options = {});

// Keeps the image under the build folder, named after the running test.
void SaveForInspection(const QImage& image);

}  // namespace paltrix::barcode::testing
