#include "barcode/barcode_encoder.h"

#include "barcode/barcode.h"

namespace paltrix::barcode {

int BarcodeEncoder::Draw(std::string_view data) {
  Barcode& owner = *MYBC;
  BarcodeTarget& target = *owner.MYWINDOW;
  target.SelectBand(owner.MYBAND);
  owner.SetDrawingUnits(DrawingStep::kStart);
  DrawingSurface& surface = target.Surface();
  if (const auto previous = target.ControlBox(owner.OBJ)) {
    surface.Erase(Box{previous->x, previous->y, owner.WIDTH, owner.HEIGHT});
  }

  const Symbol symbol = EncodeSymbol(data);
  owner.LayoutBars(HumanReadable(data), symbol.moduleCount);
  const Box area = target.ControlBox(owner.OBJ).value_or(Box{});
  surface.Erase(area);
  if (owner.BACKCOLOR != kNoColour) surface.FillRect(area, owner.BACKCOLOR);

  bool bar = true;
  for (const double modules : symbol.elements) {
    owner.DrawElement(bar ? owner.BARCOLOR : owner.BACKCOLOR,
                      modules * (bar ? kBarWidthFactor : kSpaceWidthFactor));
    bar = !bar;
  }
  if (owner.DRAWTEXT == 1) DrawText(data, TW, TH);
  owner.SetDrawingUnits(DrawingStep::kEnd);
  return 0;
}

void BarcodeEncoder::DrawText(std::string_view data, std::int32_t textWidth,
                              std::int32_t textHeight) {
  MYBC->DrawTextAt(HumanReadable(data), textWidth, textHeight);
}

}  // namespace paltrix::barcode
