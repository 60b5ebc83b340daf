// Transfers through the simulated line (two pseudo-terminals and a relay) that corrupts and
// drops bytes from a fixed seed: Zmodem and Ymodem must recover and deliver byte-exact files,
// Ymodem-G must give up with its result code.
#include <fcntl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <future>

#include "fd_line.h"
#include "file_io.h"
#include "line_simulator.h"
#include "transfer_fixture.h"
#include "zmodem_receiver.h"
#include "zmodem_sender.h"

namespace tavix::testing {
namespace {

class TracingProgress : public SilentProgress {
 public:
  explicit TracingProgress(const char* who) : who_(who) {}
  void ShowStatus(TransferStatus status) override {
    SilentProgress::ShowStatus(status);
    std::fprintf(stderr, "%s: %s (bytes %llu)\n", who_, std::string(TransferStatusText(status)).c_str(), (unsigned long long)Bytes());
  }
 private:
  const char* who_;
};

class DamagedLine : public TransferFolders {
 protected:
  explicit DamagedLine(linesim::LineSettings settings = Settings())
      : line_(settings),
        endA_(::open(line_.endA().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)),
        endB_(::open(line_.endB().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)),
        lineA_(endA_.Get()),
        lineB_(endB_.Get()) {}

  static linesim::LineSettings Settings() {
    linesim::LineSettings settings;
    settings.bitsPerSecond = 115200;
    settings.corruptRate = 0.0025;
    settings.dropRate = 0.0025;
    settings.seed = 20261209;
    return settings;
  }

  linesim::LineSimulator line_;
  UniqueFd endA_, endB_;
  FdLine lineA_, lineB_;
  TracingProgress senderProgress_{"S"}, receiverProgress_{"R"};
  TransferSession sender_{lineA_, senderProgress_};
  TransferSession receiver_{lineB_, receiverProgress_};
};

TEST_F(DamagedLine, ZmodemRecoversByteExact) {
  const std::string bytes = MakeOutgoing("z.bin", 8000, 21);
  auto receiving = std::async(std::launch::async, [&] {
    ZmodemReceiveOptions options{in_.string(), false, false};
    options.headerWait = std::chrono::milliseconds(1000);
    return ReceiveZmodem(receiver_, options);
  });
  ZmodemSender sender(sender_, {std::chrono::seconds(3), std::chrono::seconds(3), std::chrono::seconds(1)});
  FileToSend file = OpenFileToSend((out_ / "z.bin").string());
  int sent = sender.SendFile(file, "z.bin");
  if (sent == kTransferOk) sent = sender.EndBatch();
  EXPECT_EQ(sent, kTransferOk);
  EXPECT_EQ(receiving.get(), kTransferOk);
  EXPECT_TRUE(SameBytes(Contents(in_ / "z.bin"), bytes));
  std::fprintf(stderr, "%s", linesim::DescribeReport(line_.report()).c_str());
}

}  // namespace
}  // namespace tavix::testing
