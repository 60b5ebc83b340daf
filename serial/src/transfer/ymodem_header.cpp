#include "ymodem_header.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace tavix {

namespace {
constexpr std::size_t kMaxNameLength = 256;
}

std::array<std::uint8_t, kShortBlock> MakeYmodemHeader(std::string_view name, std::uint64_t size,
                                                       std::time_t modified) {
  std::array<std::uint8_t, kShortBlock> block{};
  char numbers[48];
  const int numbersLength =
      std::snprintf(numbers, sizeof numbers, "%llu %llo", static_cast<unsigned long long>(size),
                    static_cast<unsigned long long>(modified));
  // The name, its zero byte and the numbers must fit; a long name is cut to make room.
  const std::size_t nameLength =
      std::min(name.size(), kShortBlock - 2 - static_cast<std::size_t>(numbersLength));
  std::copy_n(name.begin(), nameLength, block.begin());
  std::copy_n(numbers, numbersLength, block.begin() + nameLength + 1);
  return block;
}

std::array<std::uint8_t, kShortBlock> MakeYmodemBatchEnd() {
  return {};
}

std::optional<std::uint64_t> ParseLeadingDecimal(std::string_view text) {
  const auto start = text.find_first_not_of(' ');
  if (start == std::string_view::npos) return std::nullopt;
  std::uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data() + start, text.data() + text.size(), value);
  if (error != std::errc{} || end == text.data() + start) return std::nullopt;
  return value;
}

std::optional<YmodemFileInfo> ParseYmodemHeader(std::span<const std::uint8_t> data) {
  if (data.empty() || data[0] == 0) return std::nullopt;
  const auto nameEnd = std::find(data.begin(), data.end(), 0);
  YmodemFileInfo info;
  info.name.assign(data.begin(), nameEnd);
  if (info.name.size() > kMaxNameLength) info.name.resize(kMaxNameLength);
  if (nameEnd != data.end()) {
    const auto numbersEnd = std::find(nameEnd + 1, data.end(), 0);
    info.size =
        ParseLeadingDecimal(std::string_view(reinterpret_cast<const char*>(&*nameEnd) + 1,
                                             static_cast<std::size_t>(numbersEnd - nameEnd - 1)));
  }
  return info;
}

}  // namespace tavix
