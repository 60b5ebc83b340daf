#include <QPushButton>
#include <QSpinBox>

#include "app/ui/print/print_data_dialog.h"
#include "tests/app/print/print_window_fixture.h"
#include "tests/support/loopback_http_listener.h"

namespace paltrix::app::print::testing {
namespace {

using paltrix::testing::LoopbackHttpListener;

constexpr const char* kInstallation = "9b2f4c1e-0d3a-4e5f-8a7b-6c5d4e3f2a1b";

class PrintReportTest : public PrintWindowTest {
 protected:
  void ConfigureService(int port) {
    AppendToSettingsIni("[PrintActivity]\r\nServiceBase=http://127.0.0.1:" + std::to_string(port) +
                        "/labels/service.svc/\r\nInstallationId=" + kInstallation +
                        "\r\nTimeoutSeconds=1\r\n");
  }

  // Prints product `id` from the dialog; true when the dialog closed itself.
  bool PrintAndWaitForClose(const std::string& id) {
    LoadProduct(id);
    PrintDataDialog dialog(*records_, 0, services());
    dialog.show();
    QPushButton* print = dialog.findChild<QPushButton*>(QStringLiteral("print"));
    QTest::keyClick(print, Qt::Key_Space);
    return WaitFor([&] { return !dialog.isVisible(); }) && dialog.result() == QDialog::Accepted;
  }
};

TEST_F(PrintReportTest, ReportsFormatGtinAndCountsAfterThePrint) {
  LoopbackHttpListener service;
  ConfigureService(service.port());
  Cli({"printer", "set", "--format", "zpl6"});
  // Product 0043 has no GTIN: two hyphens meet; "ZPL 6" is sent with %20.
  ASSERT_TRUE(PrintAndWaitForClose("0043"));
  const std::string request = service.Request();
  EXPECT_TRUE(request.starts_with(std::string("GET /labels/service.svc/printactivity/") +
                                  kInstallation + "/ZPL%206--2-3 HTTP/1.0\r\n"))
      << request;
  EXPECT_NE(request.find("\r\nHost: 127.0.0.1:" + std::to_string(service.port()) + "\r\n"),
            std::string::npos);
  // The 6-inch label needs a GTIN, so the run printed nothing and said so;
  // the print request is reported all the same.
  ASSERT_EQ(presenter_.boxes().size(), 1U);
  EXPECT_NE(presenter_.boxes().front().text.find("no GTIN"), std::string::npos);
  EXPECT_TRUE(Labels().empty());
}

TEST_F(PrintReportTest, UnreachableOrSilentServiceClosesTheDialogWithoutAMessage) {
  ConfigureService(LoopbackHttpListener::UnusedPort());
  ASSERT_TRUE(PrintAndWaitForClose("0042"));
  const std::string afterFirst = Labels();
  EXPECT_FALSE(afterFirst.empty());

  LoopbackHttpListener silent(LoopbackHttpListener::Mode::kSilent);
  AppendToSettingsIni("[PrintActivity]\r\nServiceBase=http://127.0.0.1:" +
                      std::to_string(silent.port()) + "/labels/service.svc/\r\n");
  ASSERT_TRUE(PrintAndWaitForClose("0042"));
  EXPECT_EQ(silent.connections(), 1);
  EXPECT_TRUE(presenter_.boxes().empty());
  // Both runs printed, and the failed reports neither undid nor repeated them.
  EXPECT_EQ(Labels().size(), 2 * afterFirst.size());
}

}  // namespace
}  // namespace paltrix::app::print::testing
