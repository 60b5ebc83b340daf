// The terminal window inside a Qt application (offscreen) over a pseudo-terminal: keys reach
// the peer, the peer's ANSI text lands in the right cells and colours, the transfer commands
// follow carrier, the line-settings dialog applies a new rate, and the close question.

#include <gtest/gtest.h>
#include <poll.h>

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "ansi_listing.h"
#include "line_simulator.h"
#include "port_fixture.h"
#include "terminal/button_bar.h"
#include "terminal/screen_colours.h"
#include "terminal/terminal_commands.h"
#include "terminal/terminal_display.h"
#include "terminal/terminal_frame.h"
#include "terminal_test_helpers.h"
#include "tests/support/file_text.h"
#include "tests/support/temp_directory.h"

namespace tavix::testing {
namespace {

using namespace tavix::terminal;

void Press(QWidget* target, int key, const QString& text = {},
           Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
  QApplication::sendEvent(target, &press);
}

class TerminalWindow : public PortTest {
 protected:
  void SetUp() override {
    PortTest::SetUp();
    ASSERT_EQ(CreateTvxTerm(kPort, nullptr, 0x07, 0), TAVIX_TERM_CREATED);
    frame_ = FrameOf();
    ASSERT_NE(frame_, nullptr);
    display_ = frame_->Display();
  }
  void TearDown() override {
    if (CheckIfTermActive(kPort) != 0) {
      AnswerMessageBox(QMessageBox::Yes);
      frame_->close();
      ProcessUntil([] { return CheckIfTermActive(kPort) == 0; });
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    PortTest::TearDown();
  }

  void PeerWrites(const std::string& bytes) {
    ASSERT_EQ(::write(line_.master(), bytes.data(), bytes.size()),
              static_cast<ssize_t>(bytes.size()));
  }

  TerminalFrame* frame_ = nullptr;
  TerminalDisplay* display_ = nullptr;
};

TEST_F(TerminalWindow, KeysReachThePeerAndAnsiTextLandsInTheRightCellsAndColours) {
  EXPECT_EQ(frame_->windowTitle(), "Terminal");
  EXPECT_EQ(CheckIfTermActive(kPort), 1);
  EXPECT_EQ(CreateTvxTerm(kPort, nullptr, 0x07, 0), TAVIX_TERM_CREATED) << "raises the same one";
  EXPECT_EQ(FrameOf(), frame_);

  Press(display_, Qt::Key_H, "h");
  Press(display_, Qt::Key_I, "i");
  Press(display_, Qt::Key_Return, "\r");
  Press(display_, Qt::Key_F1);  // outside DoorWay mode: nothing
  EXPECT_EQ(ReceivedByPeer(3), "hi\r");

  PeerWrites(
      "\x1b[2J\x1b[1;37;44m MAIN MENU \x1b[0m\r\n\x1b[5;1H\x1b[1;37m\xDB\x1b[0m"
      "\x1b[3;5H\x1b[1;31mAlert\x1b[0m\x1b[6n"
      "\x1b[=255h");
  const ScreenModel& screen = frame_->Session().screen;
  ASSERT_TRUE(ProcessUntil([&] { return screen.At(2, 8).character == 't'; }));
  EXPECT_EQ(screen.RowText(0).substr(0, 12), " MAIN MENU  ");
  EXPECT_EQ(screen.At(0, 1).attribute, 0x1F);
  EXPECT_EQ(screen.At(2, 4).attribute, 0x0C);
  EXPECT_EQ(ReceivedByPeer(6), "\x1b[1;1R");
  EXPECT_TRUE(frame_->ActionOf(kCommandDoorway)->isChecked());
  Press(display_, Qt::Key_F1);
  Press(display_, Qt::Key_PageUp, {}, Qt::ControlModifier);
  EXPECT_EQ(ReceivedByPeer(4), std::string("\0\x3B\0\x84", 4));

  display_->clearFocus();  // no caret over the cells we look at
  QApplication::processEvents();
  const QImage image = display_->viewport()->grab().toImage();
  image.save(QStringLiteral(TAVIX_SCREENSHOT_DIR "/terminal-ansi.png"));
  const QRect menuCell = display_->CellRect(0, 0);
  EXPECT_EQ(image.pixelColor(menuCell.topLeft() + QPoint(1, 1)).rgb() & 0xFFFFFF,
            BackgroundColour(0x1F));
  const QRect alertCell = display_->CellRect(2, 4);  // "A" in bright red on black
  bool redInk = false;
  for (int y = alertCell.top(); y <= alertCell.bottom(); ++y) {
    for (int x = alertCell.left(); x <= alertCell.right(); ++x) {
      redInk = redInk || (image.pixelColor(x, y).rgb() & 0xFFFFFF) == ForegroundColour(0x0C);
    }
  }
  EXPECT_TRUE(redInk);
  // 0xDB is code page 437's full block: white ink over most of the cell.
  const QRect blockCell = display_->CellRect(4, 0);
  int white = 0;
  for (int y = blockCell.top(); y <= blockCell.bottom(); ++y) {
    for (int x = blockCell.left(); x <= blockCell.right(); ++x) {
      white += (image.pixelColor(x, y).rgb() & 0xFFFFFF) == ForegroundColour(0x0F) ? 1 : 0;
    }
  }
  EXPECT_GT(white, blockCell.width() * blockCell.height() * 6 / 10);
}

// A fast peer's megabyte of colour text: every shown byte reaches the screen and the capture
// file, in order, while the window stays responsive between reads.
TEST_F(TerminalWindow, KeepsUpWithAMegabyteOfAnsiTextWithoutDroppingAByte) {
  paltrix::testing::TempDirectory folder;
  const std::string capture = (folder.path() / "flood.cap").string();
  ASSERT_EQ(SetCaptureBuf(kPort, 1), 0);
  SetCaptureFile(kPort, capture.c_str());
  const AnsiListing listing = MakeAnsiListing(1 << 20);
  std::thread peer([&] {
    for (std::size_t sent = 0; sent < listing.wire.size();) {
      const ssize_t written =
          ::write(line_.master(), listing.wire.data() + sent, listing.wire.size() - sent);
      if (written > 0) {
        sent += static_cast<std::size_t>(written);
      } else {
        pollfd room{line_.master(), POLLOUT, 0};
        ::poll(&room, 1, 100);
      }
    }
  });
  const ScreenModel& screen = frame_->Session().screen;
  // The last line ends with CR LF, so it sits just above the cursor on the bottom row.
  const bool shown =
      ProcessUntil([&] { return screen.RowText(kScrollRow - 2).starts_with(listing.lastLine); },
                   std::chrono::seconds(60));
  peer.join();
  ASSERT_TRUE(shown);
  EXPECT_EQ(screen.Row(), kScrollRow - 1);
  EXPECT_NE(screen.At(kScrollRow - 2, 0).attribute & 0x08, 0) << "bright line number";
  EXPECT_EQ(screen.At(kScrollRow - 2, 8).attribute, 0x03) << "cyan file name";
  SetCaptureBuf(kPort, 0);
  const std::string captured = paltrix::testing::ReadFileText(capture);
  EXPECT_EQ(captured.size(), listing.shown.size());
  EXPECT_TRUE(captured == listing.shown) << "the capture differs from the text shown";
}

TEST_F(TerminalWindow, TransferCommandsFollowCarrierInMenuAndButtons) {
  // A pseudo-terminal reports carrier detect on.
  for (const int command : {kCommandUpload, kCommandDownload, kCommandHangUp}) {
    EXPECT_TRUE(frame_->ActionOf(command)->isEnabled()) << command;
    EXPECT_TRUE(frame_->Buttons()->IsCommandEnabled(command)) << command;
  }
  frame_->SetCarrierCommandsEnabled(false);
  for (const int command : {kCommandUpload, kCommandDownload, kCommandHangUp}) {
    EXPECT_FALSE(frame_->ActionOf(command)->isEnabled()) << command;
    EXPECT_FALSE(frame_->Buttons()->IsCommandEnabled(command)) << command;
  }
  EXPECT_TRUE(frame_->Buttons()->IsCommandEnabled(kCommandClearScreen));
  frame_->Buttons()->grab().save(QStringLiteral(TAVIX_SCREENSHOT_DIR "/terminal-buttons.png"));
  // The next notification reads carrier detect again and enables them.
  PeerWrites("x");
  ASSERT_TRUE(ProcessUntil([&] { return frame_->ActionOf(kCommandUpload)->isEnabled(); }));
  EXPECT_TRUE(frame_->Buttons()->IsCommandEnabled(kCommandDownload));
}

TEST_F(TerminalWindow, SessionParametersAppliesTheChosenRate) {
  WhenModalShows([](QWidget* modal) {
    EXPECT_EQ(modal->windowTitle(), "Session Parameters");
    auto* rates = modal->findChild<QListWidget*>("baudList");
    EXPECT_EQ(rates->currentItem()->text(), "115200") << "shows the current rate";
    rates->setCurrentRow(2);  // 2400
    modal->findChild<QRadioButton*>("choice7")->setChecked(true);
    modal->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
  });
  frame_->RunCommand(kCommandModemParameters);
  std::array<int32_t, 5> settings{};
  ASSERT_EQ(GetCommParams(kPort, settings.data()), 0);
  EXPECT_EQ(settings[0], 2400);
}

TEST_F(TerminalWindow, CloseWhileOnLineAsksFirst) {
  WhenModalShows([](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    EXPECT_EQ(box->windowTitle(), "Terminal");
    box->button(QMessageBox::No)->click();
  });
  frame_->RunCommand(kCommandExit);
  EXPECT_EQ(CheckIfTermActive(kPort), 1);
  AnswerMessageBox(QMessageBox::Yes);
  frame_->RunCommand(kCommandExit);
  ASSERT_TRUE(ProcessUntil([] { return CheckIfTermActive(kPort) == 0; }));
  EXPECT_EQ(ComPutc(kPort, 'z'), 1) << "the caller's port stays open";
}

TEST(TerminalOptions, RefuseOverlongFoldersAndUnknownTerminals) {
  EXPECT_EQ(CheckIfTermActive(-1), 0);
  EXPECT_EQ(CheckIfTermActive(TAVIX_PORT_COUNT), 0);
  SetTermOptions(5, 1, "/tmp", "/tmp");  // no terminal: nothing happens
  EXPECT_EQ(CreateTvxTerm(TAVIX_PORT_COUNT, nullptr, 0x07, 0), TAVIX_TERM_PORT_FAILED);
}

TEST_F(TerminalWindow, OverlongFolderIsRefusedAndThePreviousKept) {
  SetTermOptions(kPort, 6, "/up", "/down");
  AnswerMessageBox(QMessageBox::Ok);
  SetTermOptions(kPort, 6, nullptr, std::string(256, 'd').c_str());
  EXPECT_EQ(frame_->Session().downloadDirectory, "/down");
  EXPECT_EQ(frame_->Session().uploadDirectory, "/up");
  EXPECT_EQ(frame_->Session().defaultProtocol, 6);
}

// sz started on the far end while the terminal is open is received by itself into the
// download folder, byte-exact, and what the peer says right after it is shown.
TEST(TerminalZmodem, DownloadStartsByItselfIntoTheDownloadFolder) {
  paltrix::testing::TempDirectory folder;
  const std::filesystem::path outgoing = folder.path() / "out";
  const std::filesystem::path incoming = folder.path() / "in";
  std::filesystem::create_directories(outgoing);
  std::filesystem::create_directories(incoming);
  std::string content(70000, '\0');
  for (std::size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i * 131 + i / 7);
  std::ofstream(outgoing / "bbs.bin", std::ios::binary) << content;

  linesim::LineSimulator line{{}};
  constexpr int kPort = 2;
  MapPort(kPort, line.endA());
  ASSERT_EQ(CreateTvxTermEx(kPort, nullptr, 0x07, 0, 115200, 0, 8, 1), TAVIX_TERM_CREATED);
  SetTermOptions(kPort, -1, nullptr, incoming.c_str());
  TerminalFrame* frame = FrameOf();
  ASSERT_NE(frame, nullptr);

  const std::string peer = "cd '" + outgoing.string() +
                           "' && (printf 'Ready\\r\\n'; timeout 60 sz -q bbs.bin; printf 'Back at "
                           "the prompt\\r\\n') <'" +
                           line.endB() + "' >'" + line.endB() + "' 2>'" + folder.path().string() +
                           "/peer.log' &";
  ASSERT_EQ(std::system(peer.c_str()), 0);
  const ScreenModel& screen = frame->Session().screen;
  const auto received = [&] {
    std::ifstream in(incoming / "bbs.bin", std::ios::binary);
    return std::string{std::istreambuf_iterator<char>(in), {}};
  };
  ASSERT_TRUE(
      ProcessUntil([&] { return received().size() == content.size(); }, std::chrono::seconds(60)));
  EXPECT_TRUE(received() == content);
  EXPECT_NE(screen.RowText(0).find("Ready"), std::string::npos);
  const auto shows = [&](const std::string& text) {
    for (int row = 0; row < kRows; ++row) {
      if (screen.RowText(row).find(text) != std::string::npos) return true;
    }
    return false;
  };
  EXPECT_TRUE(ProcessUntil([&] { return shows("Back at the prompt"); }, std::chrono::seconds(10)));

  AnswerMessageBox(QMessageBox::Yes);
  frame->close();
  ASSERT_TRUE(ProcessUntil([] { return CheckIfTermActive(kPort) == 0; }));
  EXPECT_EQ(SetPort(kPort, 1), TAVIX_PORT_OPENED) << "the terminal closed the port it opened";
  ResetPort(kPort, 1);
}

}  // namespace
}  // namespace tavix::testing
