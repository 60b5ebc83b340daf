#pragma once

#include <chrono>
#include <cstddef>
#include <string>

namespace paltrix::cli {

// "what: done of total" rewritten in place on standard error, for work on
// many rows. Silent unless standard error is a terminal and the work is
// large, so scripts and logs see nothing of it.
class ProgressLine {
 public:
  ProgressLine(std::string what, std::size_t total);
  ~ProgressLine();  // ends the line, with the total when Finish() was called
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  void Update(std::size_t done);
  void Finish() { finished_ = true; }

 private:
  std::string what_;
  std::size_t total_;
  bool shown_;
  bool finished_ = false;
  std::chrono::steady_clock::time_point lastShown_{};
};

}  // namespace paltrix::cli
