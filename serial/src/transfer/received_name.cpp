#include "received_name.h"

#include <cctype>
#include <vector>

namespace tavix {

std::optional<ConfinedName> ConfineReceivedName(std::string_view sent) {
  if (sent.size() >= 2 && std::isalpha(static_cast<unsigned char>(sent[0])) && sent[1] == ':') {
    sent.remove_prefix(2);
  }
  std::vector<std::string_view> parts;
  while (!sent.empty()) {
    const auto cut = sent.find_first_of("/\\");
    const std::string_view part = sent.substr(0, cut);
    for (char c : part) {
      if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return std::nullopt;
    }
    if (!part.empty() && part != "." && part != "..") parts.push_back(part);
    if (cut == std::string_view::npos) break;
    sent.remove_prefix(cut + 1);
  }
  if (parts.empty()) return std::nullopt;
  ConfinedName confined;
  confined.name = parts.back();
  parts.pop_back();
  for (std::string_view part : parts) {
    if (!confined.directory.empty()) confined.directory += '/';
    confined.directory += part;
  }
  return confined;
}

std::string JoinPath(std::string_view directory, std::string_view name) {
  std::string path(directory);
  if (!path.empty() && path.back() != '/') path += '/';
  path += name;
  return path;
}

}  // namespace tavix
