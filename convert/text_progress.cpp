#include "convert/text_progress.h"

#include <fmt/format.h>
#include <unistd.h>

namespace paltrix::convert {
namespace {

constexpr std::int64_t kLineEvery = 10'000;
constexpr auto kTerminalRefresh = std::chrono::milliseconds(100);

}  // namespace

TextProgress::TextProgress(std::FILE* stream)
    : stream_(stream), terminal_(::isatty(::fileno(stream)) == 1) {}

void TextProgress::Started() {
  fmt::print(stream_, "Converting File\n");
  ShowCount(0, !terminal_);
}

void TextProgress::RecordsConverted(std::int64_t count) {
  count_ = count;
  if (terminal_) {
    const auto now = std::chrono::steady_clock::now();
    if (now - lastShown_ < kTerminalRefresh) return;
    lastShown_ = now;
    ShowCount(count, false);
  } else if (count % kLineEvery == 0) {
    ShowCount(count, true);
  }
}

void TextProgress::BuildingKeys() {
  if (terminal_ || count_ % kLineEvery != 0) ShowCount(count_, true);
  fmt::print(stream_, "Building Keys\n");
  std::fflush(stream_);
}

void TextProgress::ShowCount(std::int64_t count, bool final) {
  fmt::print(stream_, "{}Converting Record #: {}{}", terminal_ ? "\r" : "", count,
             final ? "\n" : "");
  std::fflush(stream_);
}

}  // namespace paltrix::convert
