// The terminal's screen model processing received ANSI text: a coloured bulletin-board listing
// that scrolls the buffer, as it would arrive from the line.

#include <benchmark/benchmark.h>

#include <string>

#include "terminal/screen_model.h"

namespace {

std::string ColouredListing() {
  std::string text;
  for (int line = 0; text.size() < (1 << 20); ++line) {
    text += "\x1b[1;3" + std::to_string(1 + line % 7) + "m" + std::to_string(100000 + line) +
            "\x1b[0m  \x1b[36mFILE" + std::to_string(line % 1000) +
            ".ZIP\x1b[0m\t 123456  Release notes and sources of the week\r\n";
  }
  return text;
}

void BM_ScreenReceivesAnsiText(benchmark::State& state) {
  const std::string text = ColouredListing();
  const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(text.data()),
                                            text.size());
  tavix::terminal::ScreenModel screen(0x07);
  for (auto _ : state) {
    // The window reads at most 176 bytes per read; the model sees blocks of that size.
    for (std::size_t offset = 0; offset < bytes.size(); offset += 176) {
      screen.Receive(bytes.subspan(offset, std::min<std::size_t>(176, bytes.size() - offset)));
    }
    benchmark::DoNotOptimize(screen.At(0, 0));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_ScreenReceivesAnsiText)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
