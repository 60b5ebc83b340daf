#pragma once

#include <chrono>
#include <string_view>

#include "output/bounded_wait.h"

namespace paltrix::cli {

// Shows on standard error that a printer route is waiting: on a terminal one
// line that counts the seconds against the limit, elsewhere one line per
// wait once it has lasted a second.
class WaitNotice {
 public:
  WaitNotice();

  // The callback for RawPrinter::SetTimeouts. REQUIRES: the notice outlives
  // every use of it.
  output::WaitProgress Callback();
  // The wait is over: a terminal line is cleared.
  void Clear();

 private:
  void Show(std::string_view what, std::chrono::seconds waited, std::chrono::seconds limit);

  bool terminal_;
  bool shown_ = false;
};

}  // namespace paltrix::cli
