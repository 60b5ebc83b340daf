#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "framework/result.h"
#include "output/spooler.h"

namespace paltrix::output {

// The raw port that network label printers listen on.
inline constexpr std::uint16_t kDefaultRawPort = 9100;

struct SocketAddress {
  std::string host;  // a name, an IPv4 address, or an IPv6 address without brackets
  std::uint16_t port = kDefaultRawPort;
  friend bool operator==(const SocketAddress&, const SocketAddress&) = default;
};

// True for printer names that start with socket:// (in any letter case).
bool IsSocketPrinterName(std::string_view printerName);

// The host and port of socket://host[:port][/]; IPv6 addresses in brackets.
// nullopt when the name is not of that form.
std::optional<SocketAddress> ParseSocketPrinterName(std::string_view printerName);

// Connects to the printer's raw port. Each document is one connection: the
// bytes are written as they come, and finishing closes the sending side and
// waits briefly for the printer to close its side. Fails when the name is
// malformed, the host is unknown, or the printer refuses or does not answer.
Result<std::unique_ptr<PrinterHandle>> OpenSocketPrinter(std::string_view printerName);

}  // namespace paltrix::output
