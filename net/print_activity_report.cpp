#include "net/print_activity_report.h"

#include <fmt/format.h>

#include <algorithm>

#include "framework/ini/ini_file.h"

namespace paltrix::net {
namespace {

constexpr std::string_view kPrintActivityPath = "printactivity/";
constexpr int kDefaultTimeoutSeconds = 10;
constexpr int kMaxTimeoutSeconds = 60;
constexpr std::chrono::milliseconds kMaxConnectTimeout{5000};

bool IsLowerCaseGuid(std::string_view text) {
  if (text.size() != 36) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const bool hyphenPlace = i == 8 || i == 13 || i == 18 || i == 23;
    if (hyphenPlace ? c != '-' : !((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) {
      return false;
    }
  }
  return true;
}

}  // namespace

Result<PrintActivitySettings> ReadPrintActivitySettings(const std::filesystem::path& path) {
  Result<ini::IniFile> file = ini::IniFile::Load(path);
  if (!file.ok()) return file.status();
  PrintActivitySettings settings;
  settings.serviceBase = file->GetString(kPrintActivitySection, "ServiceBase", "");
  settings.installationId = file->GetString(kPrintActivitySection, "InstallationId", "");
  if (!settings.installationId.empty() && !IsLowerCaseGuid(settings.installationId)) {
    return Status(ErrorCode::kInvalidValue,
                  fmt::format("InstallationId \"{}\" in section [{}] is not a GUID in lower-case "
                              "hexadecimal with hyphens.",
                              settings.installationId, kPrintActivitySection));
  }
  int seconds = file->GetInteger(kPrintActivitySection, "TimeoutSeconds", kDefaultTimeoutSeconds);
  if (seconds < 1 || seconds > kMaxTimeoutSeconds) seconds = kDefaultTimeoutSeconds;
  settings.timeouts.total = std::chrono::seconds(seconds);
  settings.timeouts.connect = std::min(settings.timeouts.total, kMaxConnectTimeout);
  return settings;
}

std::string PrintActivityUrl(const PrintActivitySettings& settings, const PrintActivity& activity) {
  std::string url = fmt::format("{}{}{}/{}-{}-{}-{}", settings.serviceBase, kPrintActivityPath,
                                settings.installationId, activity.formatName, activity.gtin,
                                activity.labelsPerPallet, activity.pallets);
  if (url.size() > kMaxReportUrlLength) url.resize(kMaxReportUrlLength);
  return url;
}

Status SendPrintActivityReport(const PrintActivitySettings& settings,
                               const PrintActivity& activity) {
  if (!settings.configured()) {
    return Status(ErrorCode::kInvalidValue, "No label service is configured; no report is sent.");
  }
  Result<HttpGetRequest> request = MakeHttpGetRequest(PrintActivityUrl(settings, activity));
  if (!request.ok()) return request.status();
  return SendHttpGet(*request, settings.timeouts);
}

}  // namespace paltrix::net
