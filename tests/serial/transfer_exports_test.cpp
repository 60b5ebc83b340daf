// The transfer exports on an open port whose device is a pseudo-terminal: the refusals touch
// neither the line nor the disk, and the phased upload ends its batch exactly once.

#include <future>
#include <string>

#include "block_protocol.h"
#include "fd_line.h"
#include "port_fixture.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_directory.h"
#include "transfer_progress.h"
#include "transfer_session.h"
#include "xymodem_receiver.h"

namespace tavix::testing {
namespace {

using paltrix::testing::ReadFileText;
using paltrix::testing::WriteFileText;

class TransferExports : public PortTest {
 protected:
  std::string Folder() const { return folder_.path().string(); }

  paltrix::testing::TempDirectory folder_;
};

TEST_F(TransferExports, DownloadExRefusalsLeaveLineAndFolderAlone) {
  SendFromPeer("abc");
  // Xmodem carries no name, so the caller must give one.
  EXPECT_EQ(DownloadEx(kPort, nullptr, kProtocolXmodem, Folder().c_str(), nullptr),
            kDownloadNoFileName);
  EXPECT_EQ(DownloadEx(kPort, nullptr, kProtocolXmodem1K, Folder().c_str(), ""),
            kDownloadNoFileName);
  EXPECT_EQ(DownloadEx(kPort, nullptr, kProtocolAscii, nullptr, nullptr), kDownloadNoFileName);
  EXPECT_EQ(DownloadEx(kPort, nullptr, kProtocolZmodem, Folder().c_str(), "f.bin"),
            kDownloadBadProtocol);
  EXPECT_EQ(DownloadEx(kPort, nullptr, -1, Folder().c_str(), "f.bin"), kDownloadBadProtocol);

  EXPECT_EQ(ReceivedByPeer(), "");  // no start request, NAK or cancel went out
  EXPECT_EQ(RecvCount(kPort), 3);   // and nothing received was taken
  EXPECT_TRUE(std::filesystem::is_empty(folder_.path()));
  EXPECT_EQ(ComGetc(kPort), 'a');
}

TEST_F(TransferExports, UploadExFinishWithoutABeginDoesNothing) {
  for (const int port : {kPort, 7, 25, -1}) {
    EXPECT_EQ(UploadEx(port, nullptr, kProtocolYmodem, nullptr, nullptr, -1), kTransferOk) << port;
  }
  // A next file without a begun run is refused as well.
  EXPECT_EQ(UploadEx(kPort, nullptr, kProtocolYmodem, Folder().c_str(), "f.bin", 1),
            kTransferCannotOpenFile);
  EXPECT_EQ(ReceivedByPeer(), "");
}

// Two files in two phases reach a Ymodem receiver on the far end; the finish sends the
// end-of-batch header, and a second finish finds no run and sends nothing.
TEST_F(TransferExports, UploadExPhasesSendOneBatchAndFinishOnce) {
  const std::filesystem::path out = folder_ / "out";
  const std::filesystem::path in = folder_ / "in";
  std::filesystem::create_directories(out);
  std::filesystem::create_directories(in);
  const std::string first(1500, 'x');
  const std::string second = "1";
  WriteFileText(out / "first.bin", first);
  WriteFileText(out / "second.bin", second);

  auto receiving = std::async(std::launch::async, [&] {
    FdLine line(line_.master());
    SilentProgress progress;
    TransferSession session{line, progress};
    const int result =
        ReceiveXymodem(session, *DescribeBlockProtocol(kProtocolYmodem), in.string(), "");
    // A last word, which the sender waits for after the ACK of the batch end.
    session.WriteByte('C');
    return result;
  });
  EXPECT_EQ(UploadEx(kPort, nullptr, kProtocolYmodem, out.c_str(), "first.bin", 0), kTransferOk);
  EXPECT_EQ(UploadEx(kPort, nullptr, kProtocolYmodem, out.c_str(), "second.bin", 1), kTransferOk);
  EXPECT_EQ(UploadEx(kPort, nullptr, kProtocolYmodem, nullptr, nullptr, -1), kTransferOk);
  EXPECT_EQ(receiving.get(), kTransferOk);
  EXPECT_EQ(ReadFileText(in / "first.bin"), first);
  EXPECT_EQ(ReadFileText(in / "second.bin"), second);

  EXPECT_EQ(UploadEx(kPort, nullptr, kProtocolYmodem, nullptr, nullptr, -1), kTransferOk);
  EXPECT_EQ(ReceivedByPeer(), "");
}

}  // namespace
}  // namespace tavix::testing
