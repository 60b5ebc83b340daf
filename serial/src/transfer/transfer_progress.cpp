#include "transfer_progress.h"

#include <thread>

#include "transfer_session.h"

namespace tavix {

void SilentProgress::ShowStatus(TransferStatus status) {
  last_ = status;
  if (IsProblemStatus(status)) ++errors_;
}

void SilentProgress::Pause(int ticks, bool forced) {
  if (forced) std::this_thread::sleep_for(ticks * kTick);
}

}  // namespace tavix
