#pragma once

// What one run of `tavix` is asked to do, and how its words map onto the library's numbers.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavix::cli {

enum class Direction { kSend, kReceive };

// Protocol numbers of the library; Zmodem has its own exports.
inline constexpr int kProtocolAscii = 0;
inline constexpr int kProtocolYmodem = 4;
inline constexpr int kProtocolYmodemG = 5;
inline constexpr int kProtocolZmodem = 6;

struct TransferRequest {
  Direction direction = Direction::kSend;
  std::string port;  // COMn or a device path
  int protocol = kProtocolZmodem;
  std::int32_t baud = 115200;
  std::string directory;  // receive: the download folder; send: unused
  std::vector<std::string> files;
  bool quiet = false;
};

// The protocol names `tavix` accepts, in the library's order (index = protocol number).
const std::vector<std::string_view>& ProtocolNames();

// The protocol number of a name (case-insensitive), or nothing.
std::optional<int> ProtocolNumber(std::string_view name);

// Batch protocols carry file names themselves: Ymodem, Ymodem-G and Zmodem.
bool IsBatchProtocol(int protocol);

// The port index for "COM1".."COM20" (any letter case), or nothing for anything else.
std::optional<int> ComPortIndex(std::string_view port);

}  // namespace tavix::cli
