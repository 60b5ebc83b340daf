#include "barcode/barcode.h"

#include <algorithm>
#include <limits>
#include <string>

#include "barcode/encoder_factory.h"
#include "framework/errors/error_manager.h"
#include "framework/text/windows1252.h"

namespace paltrix::barcode {
namespace {

constexpr std::size_t kTypefaceLength = 35;

std::int16_t ClampToInt16(std::int32_t value) {
  return static_cast<std::int16_t>(std::clamp<std::int32_t>(
      value, std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()));
}

std::int16_t NormalisedAngle(std::int16_t angle) {
  switch (angle) {
    case 900:
    case 1800:
    case 2700:
      return angle;
    default:
      return 0;
  }
}

std::uint8_t TextAlignOf(Justification justification) {
  switch (justification) {
    case Justification::kLeft:
      return 1;
    case Justification::kRight:
      return 2;
    case Justification::kCentre:
      break;
  }
  return 0;
}

}  // namespace

Barcode::Barcode() : Barcode(errors::GlobalErrorManager()) {}

Barcode::Barcode(errors::ErrorManager& errors) : errors_(errors) {}

Barcode::~Barcode() {
  if (BCHANDLER) BCHANDLER->Kill();
}

void Barcode::ShowMessage(std::string_view text, std::string_view title) {
  errors_.ShowMessage(text, title, errors::MessageIcon::kInformation, errors::kButtonOk,
                      errors::kButtonOk);
}

void Barcode::Init(BarcodeTarget* target, ControlId control, BandId band, int code) {
  if (target != nullptr && target->IsReport() && band == 0) {
    ShowMessage(kMissingBandText, kBindingErrorTitle);
    return;
  }
  if (target == nullptr) {
    ShowMessage(kInvalidTargetText, kBindingErrorTitle);
    return;
  }
  MYWINDOW = target;
  DRAWTEXT = 1;
  DRAWSPACES = 0;
  BARALIGN = 1;
  WIDE2NARROWRATIO = 2.0;
  ORIGINALWIDTH = 0;
  ORIGINALHEIGHT = 0;
  if (SetSymbology(code) != 0) {
    ShowMessage("The Barcode Symbology you have specified: " + std::to_string(code) +
                    " is invalid!\nPlease verify your program data.",
                kInvalidSymbologyTitle);
    return;
  }
  AttachControl(control, band);
}

int Barcode::SetSymbology(int code) {
  if (code == BCTYPE && BCHANDLER) return 0;
  if (BCHANDLER) {
    BCHANDLER->Kill();
    BCHANDLER.reset();
  }
  if (code <= 0 || code > kHighestSymbologyCode) {
    BCTYPE = 0;
    return 1;
  }
  BCHANDLER = CreateEncoder(static_cast<std::uint8_t>(code));
  BCHANDLER->Init(*this);
  BCTYPE = static_cast<std::uint8_t>(code);
  return 0;
}

int Barcode::Print(int code, bool keepCurrent, std::string_view data) {
  if (MYWINDOW == nullptr) return kPrintNotBound;
  if (keepCurrent ? BCTYPE == 0 : (code == 0 || SetSymbology(code) != 0)) {
    return kPrintNoSymbology;
  }
  if (THOUSPERPIXEL == 0) THOUSPERPIXEL = MYWINDOW->ComputeThousPerPixel(*this);
  return BCHANDLER->Draw(data);
}

void Barcode::AttachControl(ControlId control, BandId band) {
  BarcodeTarget& target = *MYWINDOW;
  target.SelectBand(band);
  const DrawingUnit unit = target.Unit();
  if (target.IsReport() && unit != DrawingUnit::kPixels) {
    ISREPORT = 1;  // also when an earlier binding was to a window
    INITIALUNIT = static_cast<std::uint8_t>(unit);
    target.SetUnit(DrawingUnit::kThousandths);
  } else {
    INITIALUNIT = static_cast<std::uint8_t>(DrawingUnit::kPixels);
    target.SetUnit(DrawingUnit::kPixels);
    ISREPORT = 0;
  }

  OBJ = control;
  if (ORIGINALWIDTH == 0) {
    const Box box = target.ControlBox(control).value_or(Box{});
    ORIGINALWIDTH = ClampToInt16(box.width);
    ORIGINALHEIGHT = ClampToInt16(box.height);
    WIDTH = ORIGINALWIDTH;
    HEIGHT = ORIGINALHEIGHT;
  }
  MYBAND = band;

  const ControlStyle style = target.Style(control);
  MYFONT = style.font.typeface.substr(0, kTypefaceLength);
  MYFONTSIZE = style.font.size;
  MYFONTSTYLE = style.font.style;
  BARCOLOR = style.fontColour;
  BACKCOLOR = style.backgroundColour;
  BARANGLE = NormalisedAngle(style.angle);
  target.HideControl(control);
  if (BARCOLOR == kNoColour && BACKCOLOR == kNoColour) BARCOLOR = kBlack;
  TEXTALIGN = TextAlignOf(style.justification);
  THOUSPERPIXEL = target.ComputeThousPerPixel(*this);
  SetDrawingUnits(DrawingStep::kEnd);
}

void Barcode::SetDrawingUnits(DrawingStep step) {
  BarcodeTarget& target = *MYWINDOW;
  if (ISREPORT == 0) {
    target.SetUnit(DrawingUnit::kPixels);
  } else if (step == DrawingStep::kStart) {
    target.SetUnit(DrawingUnit::kThousandths);
  } else {
    target.SetUnit(static_cast<DrawingUnit>(INITIALUNIT));
  }
}

void Barcode::LayoutBars(std::string_view text, std::int32_t moduleCount) {
  BarcodeEncoder& encoder = *BCHANDLER;
  BarcodeTarget& target = *MYWINDOW;
  encoder.BARCOUNT = moduleCount;
  target.SetControlSize(OBJ, ORIGINALWIDTH, ORIGINALHEIGHT);
  control_ = target.ControlBox(OBJ).value_or(Box{});

  const bool vertical = BARANGLE == 900 || BARANGLE == 2700;
  const std::int32_t across = vertical ? control_.width : control_.height;
  const std::int32_t along = vertical ? control_.height : control_.width;
  const std::int32_t derived = moduleCount > 0 ? along / moduleCount : along;
  if (ISREPORT != 0) {
    const std::int32_t candidate = XWIDTH != 0 ? XWIDTH : derived;
    // With no measured device the candidate stands as it is.
    encoder.BARWIDTH = THOUSPERPIXEL > 0 ? std::max(candidate, THOUSPERPIXEL) : candidate;
  } else {
    std::int32_t width = derived;
    if (XWIDTH != 0) {
      // XWIDTH is in thousandths unless FORCEPIXELS says it is already pixels.
      width = FORCEPIXELS == 0 && THOUSPERPIXEL > 0 ? ToPixels(Thou(XWIDTH), THOUSPERPIXEL).value
                                                    : XWIDTH;
    }
    encoder.BARWIDTH = std::max(width, 1);
  }

  const std::int32_t symbolLength = moduleCount * encoder.BARWIDTH;
  if (vertical) {
    target.SetControlSize(OBJ, control_.width, symbolLength);
  } else {
    target.SetControlSize(OBJ, symbolLength, control_.height);
  }
  control_ = target.ControlBox(OBJ).value_or(Box{});
  if (vertical) {
    HEIGHT = ClampToInt16(control_.height);
  } else {
    WIDTH = ClampToInt16(control_.width);
  }

  if (DRAWTEXT == 1) MeasureText(text);
  switch (BARANGLE) {
    case 900:
      encoder.YPOS = control_.x;
      break;
    case 1800:
      encoder.YPOS = control_.y + control_.height;
      break;
    case 2700:
      encoder.YPOS = control_.x + control_.width;
      break;
    default:
      encoder.YPOS = control_.y;
      break;
  }
  if (vertical) {
    encoder.BARHEIGHT = DRAWTEXT == 1 ? across - encoder.TW : across;
  } else {
    encoder.BARHEIGHT = DRAWTEXT == 1 ? across - encoder.TH : across - 1;
  }
  encoder.ISDRAWSTARTED = false;
}

void Barcode::DrawElement(Colour colour, double factor) {
  BarcodeEncoder& encoder = *BCHANDLER;
  const std::int32_t length = static_cast<std::int32_t>(encoder.BARWIDTH * factor);
  const std::int32_t quietZone = CLEARAREALEFT * encoder.BARWIDTH;
  Box element;
  switch (BARANGLE) {
    case 900:
      if (!encoder.ISDRAWSTARTED) {
        encoder.XPOS = control_.y + control_.height - quietZone - encoder.BARWIDTH;
      }
      element = {encoder.YPOS, encoder.XPOS, encoder.BARHEIGHT, length};
      encoder.XPOS -= length;
      break;
    case 1800:
      if (!encoder.ISDRAWSTARTED) encoder.XPOS = control_.x + control_.width - quietZone;
      element = {encoder.XPOS, encoder.YPOS, -length, -encoder.BARHEIGHT};
      encoder.XPOS -= length;
      break;
    case 2700:
      if (!encoder.ISDRAWSTARTED) encoder.XPOS = control_.y + quietZone;
      element = {encoder.YPOS, encoder.XPOS, -encoder.BARHEIGHT, length};
      encoder.XPOS += length;
      break;
    default:
      if (!encoder.ISDRAWSTARTED) encoder.XPOS = control_.x + quietZone;
      element = {encoder.XPOS, encoder.YPOS, length, encoder.BARHEIGHT};
      encoder.XPOS += length;
      break;
  }
  if (colour != kNoColour && (colour != BACKCOLOR || DRAWSPACES == 1)) {
    MYWINDOW->Surface().FillRect(element, colour);
  }
  encoder.ISDRAWSTARTED = true;
}

Font Barcode::TextFont() const {
  return Font{.typeface = MYFONT, .size = MYFONTSIZE, .style = MYFONTSTYLE};
}

void Barcode::MeasureText(std::string_view text) {
  const TextSize size = MYWINDOW->Surface().MeasureText(text::TrimRight(text), TextFont());
  BCHANDLER->TH = size.height;
  BCHANDLER->TW = size.width;
}

void Barcode::DrawTextAt(std::string_view text, std::int32_t textWidth, std::int32_t textHeight) {
  if (BARCOLOR == kNoColour) return;
  std::int32_t x = control_.x;
  if (TEXTALIGN == 0) x += (control_.width - textWidth) / 2;
  if (TEXTALIGN == 2) x += control_.width - textWidth;
  const std::int32_t y = control_.y + control_.height - textHeight + 1;
  MYWINDOW->Surface().DrawText(x, y, text, TextFont(), BARCOLOR);
}

}  // namespace paltrix::barcode
