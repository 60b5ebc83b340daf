#pragma once

namespace paltrix::cli {

// While an object lives, SIGINT and SIGTERM do not end the process: they ask
// the label run to end after the pallet in hand (Received() tells which came).
// A second signal of either kind ends the process at once, as usual.
class StopSignals {
 public:
  StopSignals();
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;
  ~StopSignals();

  // 0, or the number of the first signal received.
  static int Received();
};

}  // namespace paltrix::cli
