#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "framework/result.h"
#include "framework/status.h"
#include "net/http_client.h"

// The print-activity report: after a print from the print dialog, one HTTP
// GET tells the label service what was printed. Nothing is read from the
// answer, and nothing about printing depends on it.
namespace paltrix::net {

// Section "PrintActivity" of the settings INI file:
//   ServiceBase     the label service's endpoint, e.g. http://host/labels/service.svc/
//   InstallationId  this installation's identifier: 36 characters, a GUID in
//                   lower-case hexadecimal with hyphens
//   TimeoutSeconds  the longest a report may take, 1..60 (default 10)
// A fresh installation has neither key: no report is sent.
inline constexpr std::string_view kPrintActivitySection = "PrintActivity";

struct PrintActivitySettings {
  std::string serviceBase;
  std::string installationId;
  HttpTimeouts timeouts;

  // True when both the service and the identifier are set.
  bool configured() const { return !serviceBase.empty() && !installationId.empty(); }
};

// Reads the section from the settings INI file at `path` (missing file or
// keys: not configured; a timeout outside 1..60 is the default). Fails when
// the file exists but cannot be read, or when InstallationId is set but is
// not a lower-case GUID (kInvalidValue; such a report could never be told
// apart from another installation's).
Result<PrintActivitySettings> ReadPrintActivitySettings(const std::filesystem::path& path);

// What one report tells.
struct PrintActivity {
  std::string formatName;  // the reported format name ("ZPL 4", "ZPL 6", "Standard", ...)
  std::string gtin;        // PRO:EANNR as stored; may be empty
  std::int32_t labelsPerPallet = 0;
  std::int32_t pallets = 0;
};

// The URL is built in a buffer of this size; a longer one is cut.
inline constexpr std::size_t kMaxReportUrlLength = 1000;

// serviceBase + "printactivity/" + installationId + "/" + format name + "-" +
// GTIN + "-" + labels per pallet + "-" + pallets, the counters in plain
// decimal; cut to kMaxReportUrlLength characters. Not normalised or escaped
// (the request does that).
std::string PrintActivityUrl(const PrintActivitySettings& settings, const PrintActivity& activity);

// Sends the report and waits for it (at most settings.timeouts.total).
// Fails without sending anything when the report is not configured
// (kInvalidValue) or its URL names no server; otherwise as SendHttpGet.
Status SendPrintActivityReport(const PrintActivitySettings& settings,
                               const PrintActivity& activity);

}  // namespace paltrix::net
