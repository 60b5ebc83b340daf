#pragma once

#include <cmath>
#include <compare>
#include <cstdint>

// Lengths that carry their unit in their type, so a distance in thousandths
// of an inch is never added to one in pixels by mistake. Conversions are
// explicit functions; the barcode object lays out in thousandths of an inch on
// reports and in pixels on windows.
namespace paltrix::barcode {

template <typename Unit, typename Rep>
struct Length {
  Rep value{};

  constexpr Length() = default;
  constexpr explicit Length(Rep v) : value(v) {}

  friend constexpr auto operator<=>(Length, Length) = default;
};

struct ThouUnit {};
struct MillimetreUnit {};
struct PointUnit {};
struct PixelUnit {};

using Thou = Length<ThouUnit, std::int32_t>;         // thousandths of an inch
using Millimetres = Length<MillimetreUnit, double>;  // millimetres
using Points = Length<PointUnit, double>;            // typographic points, 1/72 inch
using Pixels = Length<PixelUnit, std::int32_t>;      // device pixels

// The unit a report or window measures in. The numbers are those of the
// barcode's INITIALUNIT.
enum class DrawingUnit : std::uint8_t {
  kThousandths = 1,
  kMillimetres = 2,
  kPoints = 3,
  kPixels = 4,  // a window
};

inline Thou ToThou(Millimetres mm) {
  return Thou(static_cast<std::int32_t>(std::lround(mm.value * 1000.0 / 25.4)));
}
inline Thou ToThou(Points pt) {
  return Thou(static_cast<std::int32_t>(std::lround(pt.value * 1000.0 / 72.0)));
}
constexpr Millimetres ToMillimetres(Thou thou) {
  return Millimetres(thou.value * 25.4 / 1000.0);
}
constexpr Points ToPoints(Thou thou) {
  return Points(thou.value * 72.0 / 1000.0);
}

// Whole device pixels that `thou` covers on a device of `thouPerPixel`
// thousandths of an inch per pixel (truncated). REQUIRES: thouPerPixel > 0.
constexpr Pixels ToPixels(Thou thou, std::int32_t thouPerPixel) {
  return Pixels(thou.value / thouPerPixel);
}

}  // namespace paltrix::barcode
