#include "app/labels/label_output.h"

#include <thread>

namespace paltrix::labels {

void ThreadSleeper::Sleep(std::chrono::seconds duration) {
  std::this_thread::sleep_for(duration);
}

}  // namespace paltrix::labels
