// The parts of `tavix` that decide what to run and what to show.

#include <gtest/gtest.h>

#include <chrono>

#include "progress_line.h"
#include "transfer_request.h"

namespace tavix::cli {
namespace {

TEST(TavixRequestTest, ProtocolNamesMapToTheLibrarysNumbers) {
  EXPECT_EQ(ProtocolNumber("ascii"), 0);
  EXPECT_EQ(ProtocolNumber("Xmodem-1K-G"), 3);
  EXPECT_EQ(ProtocolNumber("ZMODEM"), 6);
  EXPECT_EQ(ProtocolNumber("kermit"), std::nullopt);
  EXPECT_TRUE(IsBatchProtocol(*ProtocolNumber("ymodem-g")));
  EXPECT_FALSE(IsBatchProtocol(*ProtocolNumber("xmodem-1k")));
}

TEST(TavixRequestTest, ComNamesAreTheTwentyPortsAndAnythingElseIsADevice) {
  EXPECT_EQ(ComPortIndex("COM1"), 0);
  EXPECT_EQ(ComPortIndex("com20"), 19);
  EXPECT_EQ(ComPortIndex("COM21"), std::nullopt);
  EXPECT_EQ(ComPortIndex("COM0"), std::nullopt);
  EXPECT_EQ(ComPortIndex("COM1x"), std::nullopt);
  EXPECT_EQ(ComPortIndex("/dev/ttyUSB0"), std::nullopt);
}

TEST(TavixProgressTest, LineShowsBytesRatePercentageAndStatus) {
  const TavixTransferProgress halfway{"data.bin", 200000, 100000, 0, "Receiving Data"};
  EXPECT_EQ(FormatProgress(halfway, std::chrono::seconds(10)),
            "data.bin  97.7 KiB of 195.3 KiB  10000 B/s  50%  Receiving Data");
  const TavixTransferProgress unknownSize{"log.txt", -1, 512, 2, ""};
  EXPECT_EQ(FormatProgress(unknownSize, std::chrono::seconds(0)),
            "log.txt  512 B  0 B/s  2 errors");
  const TavixTransferProgress waiting{"", -1, 0, 0, "Waiting For Receiver"};
  EXPECT_EQ(FormatProgress(waiting, std::chrono::seconds(0)), "0 B  0 B/s  Waiting For Receiver");
  const TavixTransferProgress empty{"empty", 0, 0, 0, "Transfer Completed"};
  EXPECT_EQ(FormatProgress(empty, std::chrono::seconds(1)),
            "empty  0 B of 0 B  0 B/s  100%  Transfer Completed");
}

}  // namespace
}  // namespace tavix::cli
