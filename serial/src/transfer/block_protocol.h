#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace tavix {

// Protocol numbers of Upload and Download.
enum BlockProtocolNumber : int {
  kProtocolAscii = 0,
  kProtocolXmodem = 1,
  kProtocolXmodem1K = 2,
  kProtocolXmodem1KG = 3,
  kProtocolYmodem = 4,
  kProtocolYmodemG = 5,
  kProtocolZmodem = 6,
};

struct BlockProtocol {
  int number = kProtocolXmodem;
  std::size_t blockSize = 128;  // 1024 protocols drop to 128 near the end of a file
  bool batch = false;
  bool streaming = false;
};

// The protocols 0 to 5; empty for any other number.
std::optional<BlockProtocol> DescribeBlockProtocol(int number);

// "ASCII", "Xmodem", "Xmodem 1K", "Xmodem 1K-G", "Ymodem", "Ymodem-G", "Zmodem".
std::string_view ProtocolName(int number);

}  // namespace tavix
