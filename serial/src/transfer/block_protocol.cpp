#include "block_protocol.h"

#include <array>

namespace tavix {

std::optional<BlockProtocol> DescribeBlockProtocol(int number) {
  switch (number) {
    case kProtocolAscii:
      return BlockProtocol{number, 1024, false, false};
    case kProtocolXmodem:
      return BlockProtocol{number, 128, false, false};
    case kProtocolXmodem1K:
      return BlockProtocol{number, 1024, false, false};
    case kProtocolXmodem1KG:
      return BlockProtocol{number, 1024, false, true};
    case kProtocolYmodem:
      return BlockProtocol{number, 1024, true, false};
    case kProtocolYmodemG:
      return BlockProtocol{number, 1024, true, true};
    default:
      return std::nullopt;
  }
}

std::string_view ProtocolName(int number) {
  static constexpr std::array<std::string_view, 7> kNames = {
      "ASCII", "Xmodem", "Xmodem 1K", "Xmodem 1K-G", "Ymodem", "Ymodem-G", "Zmodem"};
  return number >= 0 && number < 7 ? kNames[static_cast<std::size_t>(number)] : "";
}

}  // namespace tavix
