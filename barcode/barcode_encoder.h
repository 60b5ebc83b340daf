#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The base of the encoder family: one class per symbology turns data into the
// element widths of its symbol; the common drawing steps are shared here.
namespace paltrix::barcode {

class Barcode;

// A symbol ready to draw: element widths in modules, alternating bar and
// space, starting with a bar; `moduleCount` is what the layout divides the
// control's width by (for some symbologies it includes the quiet zones).
// An empty symbol draws no bars.
struct Symbol {
  std::vector<double> elements;
  std::int32_t moduleCount = 0;
  bool empty() const { return elements.empty(); }
};

class BarcodeEncoder {
 public:
  BarcodeEncoder() = default;
  BarcodeEncoder(const BarcodeEncoder&) = delete;
  BarcodeEncoder& operator=(const BarcodeEncoder&) = delete;
  virtual ~BarcodeEncoder() = default;

  // Binds the encoder to the barcode that owns it.
  virtual void Init(Barcode& owner) { MYBC = &owner; }
  // Releases what the encoder built; it draws nothing afterwards until Init.
  virtual void Kill() { MYBC = nullptr; }

  // The symbol for `data`. Data the symbology cannot represent gives a
  // partial or empty symbol, never an error.
  virtual Symbol EncodeSymbol(std::string_view data) = 0;

  // The human-readable line shown under the bars.
  virtual std::string HumanReadable(std::string_view data) const { return std::string(data); }

  // Encodes and draws `data` on the owner's target: erase, lay out, bars,
  // text. Returns 0. REQUIRES: Init was called.
  virtual int Draw(std::string_view data);

  // Draws the human-readable line of `data` under the bars.
  virtual void DrawText(std::string_view data, std::int32_t textWidth, std::int32_t textHeight);

  // Layout and drawing state of the current symbol, in the target's drawing
  // unit; set by the owner's LayoutBars and DrawElement.
  Barcode* MYBC = nullptr;
  std::int32_t TH = 0;         // height of the measured text
  std::int32_t TW = 0;         // width of the measured text
  std::int32_t BARCOUNT = 0;   // modules of the whole symbol
  std::int32_t BARWIDTH = 0;   // one module
  std::int32_t BARHEIGHT = 0;  // length of the bars
  std::int32_t XPOS = 0;       // running position along the symbol
  std::int32_t YPOS = 0;       // fixed position across the bars
  bool ISDRAWSTARTED = false;  // the first element of the symbol is drawn
};

// Width factors of drawn elements: bars are printed slightly narrower and
// spaces slightly wider than their module count, which keeps the symbol
// within tolerance where ink or toner spreads.
inline constexpr double kBarWidthFactor = 0.942;
inline constexpr double kSpaceWidthFactor = 1.085;

}  // namespace paltrix::barcode
