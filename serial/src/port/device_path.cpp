#include "port/device_path.h"

#include <cstdlib>
#include <fstream>
#include <optional>
#include <string_view>
#include <vector>

namespace tavix {
namespace {

std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::vector<std::string> PortsFileCandidates() {
  if (const char* file = std::getenv("TAVIX_PORTS_FILE"); file != nullptr && *file != '\0')
    return {file};
  std::vector<std::string> candidates;
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && *config != '\0')
    candidates.push_back(std::string(config) + "/tavix32/ports.conf");
  else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
    candidates.push_back(std::string(home) + "/.config/tavix32/ports.conf");
  candidates.push_back("/etc/tavix32/ports.conf");
  return candidates;
}

std::optional<std::string> PathFromPortsFile(const std::string& file, std::string_view comName) {
  std::ifstream in(file);
  if (!in) return std::nullopt;
  std::string line;
  while (std::getline(in, line)) {
    const std::string_view text = Trimmed(line);
    if (text.empty() || text.front() == '#') continue;
    const auto equals = text.find('=');
    if (equals == std::string_view::npos) continue;
    if (EqualsIgnoringCase(Trimmed(text.substr(0, equals)), comName))
      return std::string(Trimmed(text.substr(equals + 1)));
  }
  return std::nullopt;
}

}  // namespace

std::string DevicePathForPort(int port) {
  const std::string comName = "COM" + std::to_string(port + 1);
  if (const char* path = std::getenv(("TAVIX_" + comName).c_str());
      path != nullptr && *path != '\0')
    return path;
  for (const std::string& file : PortsFileCandidates()) {
    if (std::optional<std::string> path = PathFromPortsFile(file, comName)) return *path;
    // The first ports file that exists decides, so a user file can hide the system one.
    if (std::ifstream(file)) break;
  }
  return "/dev/ttyS" + std::to_string(port);
}

}  // namespace tavix
