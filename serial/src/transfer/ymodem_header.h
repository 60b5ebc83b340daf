#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

#include "xymodem_block.h"

namespace tavix {

// Data of a Ymodem header block (block 0, always 128 bytes): the file name, a zero byte, then
// "%lu %lo" (size in decimal, modification time in octal); the rest is zero. An empty name
// (all 128 bytes zero) ends the batch. A name too long for the block is cut.
std::array<std::uint8_t, kShortBlock> MakeYmodemHeader(std::string_view name, std::uint64_t size,
                                                       std::time_t modified);
std::array<std::uint8_t, kShortBlock> MakeYmodemBatchEnd();

struct YmodemFileInfo {
  std::string name;                   // as sent, at most 256 characters
  std::optional<std::uint64_t> size;  // empty when the sender gave none
};

// Reads the header data; empty for the end of the batch.
std::optional<YmodemFileInfo> ParseYmodemHeader(std::span<const std::uint8_t> data);

// Reads the decimal number at the start of `text` (after blanks); empty when there is none.
std::optional<std::uint64_t> ParseLeadingDecimal(std::string_view text);

}  // namespace tavix
