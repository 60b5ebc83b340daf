#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "framework/result.h"
#include "output/bounded_wait.h"
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

// Connects to the printer's raw port within timeouts.connect. Each document
// is one connection: the bytes are written as they come (a printer that takes
// nothing for timeouts.write fails the write), and finishing closes the
// sending side and waits, again within timeouts.write, for the printer to
// close its side, which raw-port printers do once they have read the job. Fails
// when the name is malformed, the host is unknown, or the printer refuses or
// does not answer in time. `progress` (may be null) hears of every wait.
Result<std::unique_ptr<PrinterHandle>> OpenSocketPrinter(std::string_view printerName,
                                                         const PrinterTimeouts& timeouts = {},
                                                         const WaitProgress* progress = nullptr);

}  // namespace paltrix::output
