// Transfers started from the terminal window against lrzsz on the far end of a simulated line:
// Upload and Download with each protocol the peer speaks, byte-exact, the file questions
// starting in the terminal's upload and download folders.

#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QPushButton>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "line_simulator.h"
#include "port_fixture.h"
#include "serial_peer.h"
#include "terminal/terminal_commands.h"
#include "terminal_test_helpers.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_directory.h"
#include "ui/file_questions.h"

namespace tavix::testing {
namespace {

namespace fs = std::filesystem;
using paltrix::testing::ReadFileText;
using paltrix::testing::WriteFileText;
using namespace tavix::terminal;

// Every byte value, the protocols' control bytes included.
std::string TestBytes(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& byte : bytes) byte = static_cast<char>(random());
  return bytes;
}

struct Case {
  const char* name;
  int protocol;
  std::vector<std::string> peer;
  // Xmodem has no file length: its files fill whole blocks to arrive unchanged.
  std::size_t size;
};

std::string NameOf(const ::testing::TestParamInfo<Case>& info) {
  return info.param.name;
}

class TerminalTransfer : public ::testing::TestWithParam<Case> {
 protected:
  static constexpr int kPort = 3;

  void SetUp() override {
    fs::create_directories(out_);
    fs::create_directories(in_);
    MapPort(kPort, line_.endA());
    ASSERT_EQ(CreateTvxTermEx(kPort, nullptr, 0x07, 0, 115200, 0, 8, 1), TAVIX_TERM_CREATED);
    frame_ = FrameOf();
    ASSERT_NE(frame_, nullptr);
    SetTermOptions(kPort, GetParam().protocol, out_.c_str(), in_.c_str());
  }

  void TearDown() override {
    SetFileQuestionAnswerer({});
    if (CheckIfTermActive(kPort) != 0) {
      AnswerMessageBox(QMessageBox::Yes);
      frame_->close();
      ProcessUntil([] { return CheckIfTermActive(kPort) == 0; });
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  // Runs the terminal's Upload or Download command with the protocol the options preselect. The
  // peer starts when the file question is asked, as an operator would start it on the far end
  // before answering; the question gets `answer`.
  void RunCommand(int command, const fs::path& peerFolder, const QString& answer) {
    SetFileQuestionAnswerer([&](const FileQuestion& question) {
      question_ = question;
      peer_ = std::make_unique<SerialPeer>(GetParam().peer, peerFolder, line_.endB(),
                                           root_.path() / "peer.log");
      AwaitPeerReady();
      return QStringList{answer};
    });
    WhenModalShows([](QWidget* modal) {
      EXPECT_EQ(modal->windowTitle(), "Select A Protocol");
      modal->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    frame_->RunCommand(command);
    ASSERT_NE(peer_, nullptr) << "no file question was asked";
    EXPECT_EQ(peer_->Finish(), 0) << Log();
  }

  // A peer sets its line up before it talks; what we send before that is lost, and the
  // protocols only recover from it after their long time-outs. A receiver is ready once it has
  // asked for the first block; a sender that waits to be asked gets a moment to settle.
  void AwaitPeerReady() {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
    while (line_.report().received[1] == 0 && std::chrono::steady_clock::now() < limit)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }

  std::string Log() const { return ReadFileText(root_.path() / "peer.log"); }

  paltrix::testing::TempDirectory root_;
  const fs::path out_ = root_.path() / "out";
  const fs::path in_ = root_.path() / "in";
  linesim::LineSimulator line_{{.latency = kLrzszLineLatency}};
  TerminalFrame* frame_ = nullptr;
  FileQuestion question_;
  std::unique_ptr<SerialPeer> peer_;
};

class TerminalUpload : public TerminalTransfer {};
class TerminalDownload : public TerminalTransfer {};

// lrzsz's rx flushes its terminal as it exits, at times before its ACK of the EOT has left, and
// the sender would wait out both EOT time-outs (2 × 60 s). Its answers therefore go through a
// pipe, which nothing flushes, onto the line.
TEST_P(TerminalUpload, ArrivesByteExactAndTheQuestionStartsInTheUploadFolder) {
  const std::string bytes = TestBytes(GetParam().size, 11);
  WriteFileText(out_ / "up.bin", bytes);
  RunCommand(kCommandUpload, in_, QString::fromStdString((out_ / "up.bin").string()));
  EXPECT_EQ(question_.folder.toStdString(), out_.string());
  EXPECT_NE(question_.kind, FileQuestion::Kind::kSave);
  EXPECT_TRUE(ReadFileText(in_ / "up.bin") == bytes) << Log();
  EXPECT_TRUE(frame_->ActionOf(kCommandUpload)->isEnabled()) << "enabled again afterwards";
}

INSTANTIATE_TEST_SUITE_P(
    ToLrzsz, TerminalUpload,
    ::testing::Values(Case{"Zmodem", 6, {"rz", "-q"}, 70001},
                      Case{"Ymodem", 4, {"rb", "-q"}, 70001},
                      Case{"Xmodem", 1, {"sh", "-c", "rx -q up.bin | cat"}, 20 * 128},
                      Case{"Xmodem1K", 2, {"sh", "-c", "rx -q -c up.bin | cat"}, 8 * 1024}),
    NameOf);

TEST_P(TerminalDownload, ArrivesByteExactAndTheQuestionStartsInTheDownloadFolder) {
  const std::string bytes = TestBytes(GetParam().size, 12);
  WriteFileText(out_ / "down.bin", bytes);
  const bool batch = GetParam().protocol >= 4;
  RunCommand(kCommandDownload, out_,
             QString::fromStdString(batch ? in_.string() : (in_ / "down.bin").string()));
  EXPECT_EQ(question_.folder.toStdString(), in_.string());
  EXPECT_EQ(question_.kind, batch ? FileQuestion::Kind::kFolder : FileQuestion::Kind::kSave);
  EXPECT_TRUE(ReadFileText(in_ / "down.bin") == bytes) << Log();
}

INSTANTIATE_TEST_SUITE_P(FromLrzsz, TerminalDownload,
                         ::testing::Values(Case{"Xmodem", 1, {"sx", "-q", "down.bin"}, 20 * 128},
                                           Case{"Ymodem", 4, {"sb", "-q", "down.bin"}, 70001},
                                           Case{"Zmodem", 6, {"sz", "-q", "down.bin"}, 70001}),
                         NameOf);

}  // namespace
}  // namespace tavix::testing
