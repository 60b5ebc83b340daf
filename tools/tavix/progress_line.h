#pragma once

// The one-line progress display of `tavix` on standard error: file, bytes, rate, percentage
// and the transfer's status text, redrawn in place at most ten times a second.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

#include "tavix32.h"

namespace tavix::cli {

// The text of one progress line (without the carriage return). `elapsed` counts from the start
// of the current file.
std::string FormatProgress(const TavixTransferProgress& progress,
                           std::chrono::steady_clock::duration elapsed);

class ProgressLine {
 public:
  explicit ProgressLine(std::FILE* stream) : stream_(stream) {}

  void Update(const TavixTransferProgress& progress);
  // Draws the last state once more and ends the line.
  void Finish();

  // The callback to register with SetTransferProgressCallback; context is a ProgressLine.
  static void Callback(int32_t port, const TavixTransferProgress* progress, void* context);

 private:
  std::FILE* stream_;
  std::string file_;
  std::string lastText_;
  std::size_t drawnWidth_ = 0;
  std::chrono::steady_clock::time_point fileStart_{};
  std::chrono::steady_clock::time_point lastDraw_{};
  void Draw(const std::string& text);
};

}  // namespace tavix::cli
