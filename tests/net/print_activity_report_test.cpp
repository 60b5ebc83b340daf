#include "net/print_activity_report.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "tests/support/file_text.h"
#include "tests/support/loopback_http_listener.h"
#include "tests/support/temp_directory.h"

namespace paltrix::net {
namespace {

using testing::LoopbackHttpListener;

constexpr const char* kId = "0f1e2d3c-4b5a-6978-8796-a5b4c3d2e1f0";

PrintActivitySettings ServiceAt(int port) {
  PrintActivitySettings settings;
  settings.serviceBase = "http://127.0.0.1:" + std::to_string(port) + "/labels/service.svc/";
  settings.installationId = kId;
  settings.timeouts = {std::chrono::milliseconds(500), std::chrono::milliseconds(700)};
  return settings;
}

TEST(PrintActivityReportTest, SendsExactlyTheRequestBytes) {
  LoopbackHttpListener service;
  const PrintActivity activity{"ZPL 6", "", 2, 15};
  ASSERT_TRUE(SendPrintActivityReport(ServiceAt(service.port()), activity).ok());
  EXPECT_EQ(service.Request(),
            "GET /labels/service.svc/printactivity/0f1e2d3c-4b5a-6978-8796-a5b4c3d2e1f0/"
            "ZPL%206--2-15 HTTP/1.0\r\n"
            "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, */*\r\n"
            "Accept-Language: en\r\n"
            "User-Agent: Mozilla/5.0 (Windows; U; Windows NT 6.0; en-US; rv:1.9.2.16) "
            "Gecko/20110319 Firefox/3.6.16 ( .NET CLR 3.5.30729; .NET4.0C)\r\n"
            "Host: 127.0.0.1:" +
                std::to_string(service.port()) +
                "\r\n"
                "Connection: Keep-Alive\r\n\r\n");
}

TEST(PrintActivityReportTest, PathCarriesTheFormatGtinAndCountersAndIsCutAt1000) {
  PrintActivitySettings settings = ServiceAt(80);
  EXPECT_EQ(PrintActivityUrl(settings, {"Standard", "05701234567899", 1, 120}),
            "http://127.0.0.1:80/labels/service.svc/printactivity/" + std::string(kId) +
                "/Standard-05701234567899-1-120");
  settings.serviceBase = "http://h/" + std::string(2000, 'x') + "/";
  EXPECT_EQ(PrintActivityUrl(settings, {"ZPL 4", "1", 1, 1}).size(), kMaxReportUrlLength);
}

TEST(PrintActivityReportTest, FailsWithoutServiceWhenUnreachableOrSilent) {
  EXPECT_FALSE(SendPrintActivityReport(PrintActivitySettings{}, {"ZPL 4", "1", 1, 1}).ok());

  EXPECT_FALSE(
      SendPrintActivityReport(ServiceAt(LoopbackHttpListener::UnusedPort()), {"ZPL 4", "1", 1, 1})
          .ok());

  LoopbackHttpListener silent(LoopbackHttpListener::Mode::kSilent);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(SendPrintActivityReport(ServiceAt(silent.port()), {"ZPL 4", "1", 1, 1}).ok());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_EQ(silent.connections(), 1);
}

TEST(PrintActivityReportTest, SettingsFromTheIniSection) {
  testing::TempDirectory folder;
  Result<PrintActivitySettings> fresh = ReadPrintActivitySettings(folder / "missing.ini");
  ASSERT_TRUE(fresh.ok());
  EXPECT_FALSE(fresh->configured());

  testing::WriteFileText(folder / "s.ini",
                         std::string("[PrintActivity]\r\nServiceBase=http://h/service.svc/\r\n"
                                     "InstallationId=") +
                             kId + "\r\nTimeoutSeconds=3\r\n");
  Result<PrintActivitySettings> set = ReadPrintActivitySettings(folder / "s.ini");
  ASSERT_TRUE(set.ok());
  EXPECT_TRUE(set->configured());
  EXPECT_EQ(set->timeouts.total, std::chrono::seconds(3));
  EXPECT_EQ(set->timeouts.connect, std::chrono::seconds(3));

  testing::WriteFileText(folder / "bad.ini",
                         "[PrintActivity]\nInstallationId=0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0\n"
                         "TimeoutSeconds=600\n");
  EXPECT_EQ(ReadPrintActivitySettings(folder / "bad.ini").status().code(),
            ErrorCode::kInvalidValue);
}

}  // namespace
}  // namespace paltrix::net
