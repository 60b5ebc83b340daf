// Printer routes that never take the label: the run ends within its limits
// and the label counts as not printed (exit 4), for a FIFO without a reader,
// a raw port that accepts and never reads, and a spooler that never answers.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "tests/cli/cli_fixture.h"

namespace paltrix::cli::testing {
namespace {

using ::testing::HasSubstr;

// A loopback port that completes every connection (the kernel's backlog)
// but never accepts, reads or answers.
class SilentPort {
 public:
  SilentPort() {
    socket_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(socket_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(socket_, 16) != 0 ||
        ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
      ADD_FAILURE() << "cannot listen on the loopback";
    }
    port_ = ntohs(address.sin_port);
  }
  SilentPort(const SilentPort&) = delete;
  SilentPort& operator=(const SilentPort&) = delete;
  ~SilentPort() { ::close(socket_); }

  std::string address() const { return "127.0.0.1:" + std::to_string(port_); }

 private:
  int socket_ = -1;
  std::uint16_t port_ = 0;
};

// The limits are the shortest the settings allow, so each case takes a few
// seconds.
class PrinterTimeoutTest : public CliTest {
 protected:
  void SetUp() override {
    CliTest::SetUp();
    Expect({"printer", "set", "--connect-timeout", "1", "--write-timeout", "1"});
  }

  void ExpectNotPrinted(const std::string& printer, const char* reason) {
    const CliResult result =
        Run({"print", "--product", "100", "--pallets", "2", "--printer", printer});
    EXPECT_EQ(result.exitStatus, 4) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_THAT(result.err, HasSubstr("SSCC 057900010000000424 did not reach the printer"));
    EXPECT_THAT(result.err, HasSubstr(reason));
    EXPECT_THAT(result.err, HasSubstr("waiting for")) << "the wait is shown";
    EXPECT_THAT(paltrix::testing::ReadFileText(folder_ / "errprt.log"), HasSubstr(printer));
  }
};

TEST_F(PrinterTimeoutTest, AFifoWithoutAReader) {
  const std::filesystem::path fifo = folder_ / "printer.fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  ExpectNotPrinted("file://" + fifo.string(), "nothing reads the printer file");
}

TEST_F(PrinterTimeoutTest, ARawPortThatAcceptsAndNeverReads) {
  const SilentPort printer;
  ExpectNotPrinted("socket://" + printer.address(), "did not confirm the label");
}

TEST_F(PrinterTimeoutTest, ASpoolerThatNeverAnswers) {
  const SilentPort spooler;
  ::setenv("CUPS_SERVER", spooler.address().c_str(), 1);
  ExpectNotPrinted("dock-1", "cannot open the printer \"dock-1\"");
  const CliResult list = Run({"printer", "list"});
  ::unsetenv("CUPS_SERVER");
  EXPECT_THAT(list.err, HasSubstr("no printers were found: cannot list the printers"));
  EXPECT_EQ(list.exitStatus, 1);
}

}  // namespace
}  // namespace paltrix::cli::testing
