#include "tools/paltrix-cli/progress_line.h"

#include <fmt/format.h>
#include <unistd.h>

#include <cstdio>
#include <utility>

namespace paltrix::cli {
namespace {

constexpr std::size_t kLargeWork = 5000;
constexpr auto kRefresh = std::chrono::milliseconds(100);

}  // namespace

ProgressLine::ProgressLine(std::string what, std::size_t total)
    : what_(std::move(what)), total_(total), shown_(total >= kLargeWork && ::isatty(2) == 1) {}

ProgressLine::~ProgressLine() {
  if (!shown_) return;
  if (finished_) fmt::print(stderr, "\r{}: {} of {}", what_, total_, total_);
  fmt::print(stderr, "\n");
}

void ProgressLine::Update(std::size_t done) {
  if (!shown_) return;
  const auto now = std::chrono::steady_clock::now();
  if (now - lastShown_ < kRefresh) return;
  lastShown_ = now;
  fmt::print(stderr, "\r{}: {} of {}", what_, done, total_);
  std::fflush(stderr);
}

}  // namespace paltrix::cli
