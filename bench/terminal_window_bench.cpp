// The terminal window keeping up with a fast peer: a megabyte of ANSI colour text written into a
// pseudo-terminal as fast as it takes it, until the last line is on the screen (read, parsed,
// captured nowhere, drawn offscreen).

#include <benchmark/benchmark.h>
#include <poll.h>
#include <unistd.h>

#include <QApplication>
#include <cstdlib>
#include <string>
#include <thread>

#include "ansi_listing.h"
#include "pseudo_terminal.h"
#include "tavix32.h"
#include "terminal/terminal_commands.h"
#include "terminal/terminal_frame.h"

namespace {

constexpr int kPort = 7;

void WriteAll(int descriptor, const std::string& bytes) {
  for (std::size_t sent = 0; sent < bytes.size();) {
    const ssize_t written = ::write(descriptor, bytes.data() + sent, bytes.size() - sent);
    if (written > 0) {
      sent += static_cast<std::size_t>(written);
    } else {
      pollfd room{descriptor, POLLOUT, 0};
      ::poll(&room, 1, 100);
    }
  }
}

tavix::terminal::TerminalFrame* OpenFrame() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* frame = qobject_cast<tavix::terminal::TerminalFrame*>(widget);
    if (frame != nullptr && !frame->IsClosed()) return frame;
  }
  return nullptr;
}

void BM_WindowShowsAMegabyteOfAnsiText(benchmark::State& state) {
  tavix::linesim::PseudoTerminal line;
  ::setenv(("TAVIX_COM" + std::to_string(kPort + 1)).c_str(), line.devicePath().c_str(), 1);
  if (SetPort(kPort, 1) != TAVIX_PORT_OPENED || InitPort(kPort, 115200, 0, 8, 1) != 0 ||
      CreateTvxTerm(kPort, nullptr, 0x07, 0) != TAVIX_TERM_CREATED) {
    state.SkipWithError("no terminal on a pseudo-terminal");
    return;
  }
  tavix::terminal::TerminalFrame* frame = OpenFrame();
  const tavix::testing::AnsiListing listing = tavix::testing::MakeAnsiListing(1 << 20);
  const tavix::terminal::ScreenModel& screen = frame->Session().screen;
  for (auto _ : state) {
    frame->RunCommand(tavix::terminal::kCommandClearScreen);
    std::thread peer(WriteAll, line.master(), std::cref(listing.wire));
    while (!screen.RowText(tavix::terminal::kScrollRow - 2).starts_with(listing.lastLine)) {
      QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    peer.join();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * listing.wire.size()));
  delete frame;
  ResetPort(kPort, 1);
}
BENCHMARK(BM_WindowShowsAMegabyteOfAnsiText)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
