#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "barcode/barcode_encoder.h"
#include "barcode/barcode_target.h"
#include "barcode/drawing_surface.h"
#include "barcode/symbology.h"
#include "barcode/units.h"

namespace paltrix::errors {
class ErrorManager;
}

// The barcode object: bound to a placeholder control of a report or window,
// it takes over the control's place, size, font and colours, hides it, and
// draws the symbol of the current symbology as filled rectangles in its
// place. Bars are never narrower than one pixel of the output device.
//
// Life cycle: unbound (Print returns 1) -> Init -> bound without a
// symbology (Print with the keep flag returns 2) -> bound with an encoder.
// Binding failures are shown through the error manager's presenter as modal
// information boxes with one OK button.
//
// Fields keep the names the report procedures set directly (DRAWTEXT,
// XWIDTH, CLEARAREALEFT ...). Lengths are in the target's drawing unit:
// thousandths of an inch on a report, pixels on a window.
namespace paltrix::barcode {

inline constexpr std::string_view kBindingErrorTitle = "Barcode Initialization Error!";
inline constexpr std::string_view kMissingBandText =
    "For reports you need to specify the DETAIL BAND where you want the barcode printed";
inline constexpr std::string_view kInvalidTargetText =
    "The Window/Report you specified was invalid!";
inline constexpr std::string_view kInvalidSymbologyTitle = "Invalid Barcode Symbology";

// The four orientations of a symbol, in tenths of a degree.
enum class BarAngle : std::int16_t { k0 = 0, k90 = 900, k180 = 1800, k270 = 2700 };

// Print results besides the encoder's 0.
inline constexpr int kPrintNotBound = 1;
inline constexpr int kPrintNoSymbology = 2;

enum class DrawingStep : std::uint8_t { kStart, kEnd };

class Barcode {
 public:
  // Messages go to `errors`' presenter. REQUIRES: `errors` outlives this.
  Barcode();
  explicit Barcode(errors::ErrorManager& errors);
  Barcode(const Barcode&) = delete;
  Barcode& operator=(const Barcode&) = delete;
  ~Barcode();

  // Binds to `control` of `target` (a report needs its detail band, nonzero)
  // with symbology `code`. Reports a missing band, a missing target or an
  // invalid code with its message and leaves the barcode unbound (first two)
  // or without symbology (third).
  void Init(BarcodeTarget* target, ControlId control, BandId band, int code);

  // Makes `code` current: 0 on success (also when it already is), 1 for 0 or
  // a code above 20, which leaves no symbology.
  int SetSymbology(int code);

  // Draws `data`. With `keepCurrent` the current symbology is used, else
  // `code` is made current first. Returns kPrintNotBound, kPrintNoSymbology
  // or the encoder's result (0).
  int Print(int code, bool keepCurrent, std::string_view data);

  // The steps of binding and drawing, used by the encoders.
  void AttachControl(ControlId control, BandId band);
  void SetDrawingUnits(DrawingStep step);
  // Fits a symbol of `moduleCount` modules to the control; `text` is the
  // human-readable line measured when DRAWTEXT is 1.
  void LayoutBars(std::string_view text, std::int32_t moduleCount);
  void DrawElement(Colour colour, double factor);
  void MeasureText(std::string_view text);
  void DrawTextAt(std::string_view text, std::int32_t textWidth, std::int32_t textHeight);

  // Shows a modal box with one OK button through the error manager's
  // presenter (binding failures, data an encoder cannot take).
  void ShowMessage(std::string_view text, std::string_view title);

  // The encoder of the current symbology; nullptr when there is none.
  BarcodeEncoder* encoder() const { return BCHANDLER.get(); }
  BarAngle angle() const { return static_cast<BarAngle>(BARANGLE); }

  Colour BARCOLOR = kBlack;
  Colour BACKCOLOR = kNoColour;
  ControlId OBJ = 0;
  std::int16_t ORIGINALWIDTH = 0;
  std::int16_t ORIGINALHEIGHT = 0;
  std::int16_t WIDTH = 0;
  std::int16_t HEIGHT = 0;
  BarcodeTarget* MYWINDOW = nullptr;
  BandId MYBAND = 0;
  std::uint8_t BCTYPE = 0;
  std::unique_ptr<BarcodeEncoder> BCHANDLER;
  std::uint8_t BARALIGN = 0;
  std::int16_t BARANGLE = 0;
  std::uint8_t DRAWTEXT = 0;
  std::uint8_t TEXTPOSITION = 0;
  std::uint8_t TEXTALIGN = 0;  // 0 centred, 1 left, 2 right
  std::string MYFONT;
  std::int16_t MYFONTSIZE = 0;
  std::int32_t MYFONTSTYLE = 0;
  double WIDE2NARROWRATIO = 2.0;
  std::int16_t XWIDTH = 0;  // fixed module width; 0 derives it from the control
  std::int16_t FORCEPIXELS = 0;
  std::int16_t CLEARAREALEFT = 0;
  std::int16_t CLEARAREATOP = 0;
  std::int16_t CLEARAREARIGHT = 0;
  std::int16_t CLEARAREABOTTOM = 0;
  std::int16_t CLEARAREAMIDDLE = 0;
  std::uint8_t DRAWSPACES = 0;
  std::uint8_t ADDCHECKDIGIT = 0;
  std::uint8_t PRINTSTARTSTOP = 0;
  std::int32_t THOUSPERPIXEL = 0;
  std::int32_t LOGPIXELSX = 0;
  std::int32_t LOGPIXELSY = 0;
  std::uint8_t INITIALUNIT = 0;
  std::uint8_t ISREPORT = 1;

 private:
  Font TextFont() const;

  errors::ErrorManager& errors_;
  Box control_;  // the control's place and size after the last layout
};

}  // namespace paltrix::barcode
