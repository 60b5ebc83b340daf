#pragma once

// The colours the terminal draws a PC text attribute with, as 0xRRGGBB. Bright backgrounds
// are drawn as their dark twins.

#include <array>
#include <cstdint>

namespace tavix::terminal {

inline constexpr std::array<std::uint32_t, 16> kForegroundColours = {
    0x000000, 0x003399, 0x009933, 0x6699FF, 0x990000, 0x993366, 0x996633, 0x7F7F7F,
    0x000000, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};

inline constexpr std::array<std::uint32_t, 16> kBackgroundColours = {
    0x000000, 0x003399, 0x009933, 0x6699FF, 0x990000, 0x993366, 0x996633, 0x7F7F7F,
    0x000000, 0x003399, 0x009933, 0x6699FF, 0x990000, 0x993366, 0x996633, 0x7F7F7F};

inline constexpr std::uint32_t ForegroundColour(std::uint8_t attribute) {
  return kForegroundColours[attribute & 0x0F];
}
inline constexpr std::uint32_t BackgroundColour(std::uint8_t attribute) {
  return kBackgroundColours[attribute >> 4];
}

}  // namespace tavix::terminal
