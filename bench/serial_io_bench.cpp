// Block I/O of the serial library over a pseudo-terminal pair: how fast whole blocks reach the
// far end (ComPutb) and come back in (ComGetBlock), and how per-byte writing compares.

#include <benchmark/benchmark.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>
#include <thread>
#include <vector>

#include "pseudo_terminal.h"
#include "tavix32.h"

namespace {

constexpr int kPort = 0;
constexpr std::uintptr_t kOwner = 1;

class OpenPort {
 public:
  OpenPort() {
    ::setenv("TAVIX_COM1", line_.devicePath().c_str(), 1);
    ok_ = SetPort(kPort, kOwner) == TAVIX_PORT_OPENED && InitPort(kPort, 115200, 0, 8, 1) == 0;
  }
  ~OpenPort() { ResetPort(kPort, kOwner); }
  bool ok() const { return ok_; }
  int master() const { return line_.master(); }

 private:
  tavix::linesim::PseudoTerminal line_;
  bool ok_ = false;
};

// Reads and drops `count` bytes at the far end.
void DrainFarEnd(int master, std::size_t count) {
  std::vector<char> buffer(65536);
  while (count > 0) {
    pollfd wait{master, POLLIN, 0};
    ::poll(&wait, 1, 1000);
    const ssize_t got = ::read(master, buffer.data(), std::min(buffer.size(), count));
    if (got > 0) count -= static_cast<std::size_t>(got);
  }
}

void BM_BlockWrite(benchmark::State& state) {
  OpenPort port;
  if (!port.ok()) return state.SkipWithError("cannot open a pseudo-terminal port");
  const auto blockSize = static_cast<std::size_t>(state.range(0));
  const std::vector<std::uint8_t> block(blockSize, 0x5A);
  constexpr int kBlocksPerRound = 64;
  for (auto _ : state) {
    std::thread farEnd(DrainFarEnd, port.master(), blockSize * kBlocksPerRound);
    for (int i = 0; i < kBlocksPerRound; ++i)
      ComPutb(kPort, block.data(), static_cast<int32_t>(blockSize));
    farEnd.join();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(blockSize) * kBlocksPerRound);
}
BENCHMARK(BM_BlockWrite)->Arg(128)->Arg(1024)->Arg(8192)->UseRealTime();

void BM_BytewiseWrite(benchmark::State& state) {
  OpenPort port;
  if (!port.ok()) return state.SkipWithError("cannot open a pseudo-terminal port");
  constexpr std::size_t kBytes = 8192;
  for (auto _ : state) {
    std::thread farEnd(DrainFarEnd, port.master(), kBytes);
    for (std::size_t i = 0; i < kBytes; ++i) ComPutc(kPort, 'b');
    farEnd.join();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kBytes));
}
BENCHMARK(BM_BytewiseWrite)->UseRealTime();

void BM_BlockRead(benchmark::State& state) {
  OpenPort port;
  if (!port.ok()) return state.SkipWithError("cannot open a pseudo-terminal port");
  const std::string chunk(4096, 'r');
  constexpr std::size_t kBytesPerRound = 256 * 1024;
  std::vector<std::uint8_t> buffer(8193);
  for (auto _ : state) {
    std::thread farEnd([&] {
      std::size_t sent = 0;
      while (sent < kBytesPerRound) {
        pollfd wait{port.master(), POLLOUT, 0};
        ::poll(&wait, 1, 1000);
        const ssize_t put = ::write(port.master(), chunk.data(), chunk.size());
        if (put > 0) sent += static_cast<std::size_t>(put);
      }
    });
    std::size_t received = 0;
    while (received < kBytesPerRound) {
      const int32_t got = ComGetBlock(kPort, buffer.data(), 8192);
      if (got > 0)
        received += static_cast<std::size_t>(got);
      else
        ComDelay(nullptr, 0);
    }
    farEnd.join();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kBytesPerRound));
}
BENCHMARK(BM_BlockRead)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
