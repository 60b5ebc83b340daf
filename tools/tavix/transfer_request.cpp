#include "transfer_request.h"

#include <charconv>

namespace tavix::cli {
namespace {

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

}  // namespace

const std::vector<std::string_view>& ProtocolNames() {
  static const std::vector<std::string_view> names = {
      "ascii", "xmodem", "xmodem-1k", "xmodem-1k-g", "ymodem", "ymodem-g", "zmodem"};
  return names;
}

std::optional<int> ProtocolNumber(std::string_view name) {
  const auto& names = ProtocolNames();
  for (std::size_t i = 0; i < names.size(); ++i)
    if (EqualsIgnoringCase(names[i], name)) return static_cast<int>(i);
  return std::nullopt;
}

bool IsBatchProtocol(int protocol) {
  return protocol == kProtocolYmodem || protocol == kProtocolYmodemG || protocol == kProtocolZmodem;
}

std::optional<int> ComPortIndex(std::string_view port) {
  if (port.size() < 4 || !EqualsIgnoringCase(port.substr(0, 3), "com")) return std::nullopt;
  int number = 0;
  const char* first = port.data() + 3;
  const char* last = port.data() + port.size();
  const auto [end, error] = std::from_chars(first, last, number);
  if (error != std::errc() || end != last || number < 1 || number > 20) return std::nullopt;
  return number - 1;
}

}  // namespace tavix::cli
