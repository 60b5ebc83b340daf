#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// What the barcode object paints with: filled rectangles, erased areas and
// text. Coordinates are in the unit the target is drawing in at the time
// (thousandths of an inch on a report, pixels on a window); the surface maps
// them to its device.
namespace paltrix::barcode {

// A colour as 0x00RRGGBB; kNoColour stands for "none" (transparent).
using Colour = std::int32_t;
inline constexpr Colour kNoColour = -1;
inline constexpr Colour kBlack = 0x000000;
inline constexpr Colour kWhite = 0xFFFFFF;

struct Font {
  std::string typeface;      // at most 35 characters are kept
  std::int16_t size = 10;    // points
  std::int32_t style = 400;  // weight 100..900; the flags below added
  static constexpr std::int32_t kItalic = 0x1000;
  static constexpr std::int32_t kUnderline = 0x2000;
  static constexpr std::int32_t kStrikeOut = 0x4000;
  static constexpr std::int32_t kWeightMask = 0x0FFF;
  friend bool operator==(const Font&, const Font&) = default;
};

// A rectangle with its top-left corner at (x, y). A negative width extends
// leftwards from x, a negative height upwards from y.
struct Box {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  friend bool operator==(const Box&, const Box&) = default;
};

struct TextSize {
  std::int32_t width = 0;
  std::int32_t height = 0;
  friend bool operator==(const TextSize&, const TextSize&) = default;
};

class DrawingSurface {
 public:
  virtual ~DrawingSurface() = default;

  // Paints `box` (outline and inside) in `colour`. REQUIRES: colour != kNoColour.
  virtual void FillRect(const Box& box, Colour colour) = 0;
  // Removes what was drawn over `box`, leaving the page's own background.
  virtual void Erase(const Box& box) = 0;
  // Size the text takes when drawn in `font`.
  virtual TextSize MeasureText(std::string_view text, const Font& font) = 0;
  // Draws `text` with its top-left corner at (x, y). The text is
  // Windows-1252, as record text is.
  virtual void DrawText(std::int32_t x, std::int32_t y, std::string_view text, const Font& font,
                        Colour colour) = 0;
};

}  // namespace paltrix::barcode
