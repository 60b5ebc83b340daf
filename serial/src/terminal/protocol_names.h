#pragma once

#include <array>
#include <string_view>

namespace tavix::terminal {

// The protocols in protocol-number order.
inline constexpr std::array<std::string_view, 7> kProtocolNames = {
    "ASCII", "Xmodem", "Xmodem 1K", "Xmodem 1K-G", "Ymodem", "Ymodem-G", "Zmodem"};
inline constexpr int kZmodemProtocol = 6;

}  // namespace tavix::terminal
