#include "output/bounded_wait.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <thread>
#include <utility>

namespace paltrix::output {
namespace {

using std::chrono::milliseconds;

constexpr milliseconds kTick = std::chrono::seconds(1);
constexpr milliseconds kRetryPause{50};

}  // namespace

BoundedWait::BoundedWait(std::string what, milliseconds limit, const WaitProgress* progress)
    : what_(std::move(what)), limit_(limit), progress_(progress) {
  Restart();
}

void BoundedWait::Restart() {
  start_ = std::chrono::steady_clock::now();
  told_ = std::chrono::seconds(0);
}

milliseconds BoundedWait::Left() const {
  const auto waited =
      std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now() - start_);
  return std::max(milliseconds(0), limit_ - waited);
}

bool BoundedWait::Over() {
  const auto waited =
      std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start_);
  if (progress_ != nullptr && *progress_ && waited > told_) {
    told_ = waited;
    (*progress_)(what_, waited, std::chrono::duration_cast<std::chrono::seconds>(limit_));
  }
  return Left().count() == 0;
}

int BoundedWait::UntilReady(int fd, short events) {
  while (!Over()) {
    pollfd waiting{fd, events, 0};
    const int ready = ::poll(&waiting, 1, static_cast<int>(std::min(Left(), kTick).count()));
    if (ready > 0) return 0;
    if (ready < 0 && errno != EINTR) return errno;
  }
  return ETIMEDOUT;
}

void BoundedWait::Pause() {
  std::this_thread::sleep_for(std::min(Left(), kRetryPause));
}

}  // namespace paltrix::output
