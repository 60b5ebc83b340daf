#include "tools/paltrix-cli/stop_signals.h"

#include <signal.h>

namespace paltrix::cli {
namespace {

volatile sig_atomic_t received = 0;
struct sigaction previousInterrupt;
struct sigaction previousTerminate;

void Remember(int signalNumber) {
  if (received == 0) received = signalNumber;
}

}  // namespace

StopSignals::StopSignals() {
  received = 0;
  struct sigaction action = {};
  action.sa_handler = Remember;
  sigemptyset(&action.sa_mask);
  // Restarted calls keep the pallet in hand going; the printer routes bound
  // their own waits. The disposition goes back to the default after the
  // first signal, so a second one ends the process.
  action.sa_flags = SA_RESTART | SA_RESETHAND;
  sigaction(SIGINT, &action, &previousInterrupt);
  sigaction(SIGTERM, &action, &previousTerminate);
}

StopSignals::~StopSignals() {
  sigaction(SIGINT, &previousInterrupt, nullptr);
  sigaction(SIGTERM, &previousTerminate, nullptr);
}

int StopSignals::Received() {
  return received;
}

}  // namespace paltrix::cli
