#include "framework/desktop/drag_full_windows_suspension.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>
#include <vector>

namespace paltrix::desktop {
namespace {

// The suspensions alive in this process, restored by an exit handler when the
// process ends through std::exit, which does not unwind the stack.
class ExitRestorer {
 public:
  static ExitRestorer& Instance() {
    static ExitRestorer* const instance = [] {
      static ExitRestorer restorer;
      std::atexit([] { Instance().RestoreAll(); });
      return &restorer;
    }();
    return *instance;
  }

  void Add(DragFullWindowsSuspension* suspension) {
    const std::lock_guard lock(mutex_);
    alive_.push_back(suspension);
  }

  void Remove(DragFullWindowsSuspension* suspension) {
    const std::lock_guard lock(mutex_);
    alive_.erase(std::remove(alive_.begin(), alive_.end(), suspension), alive_.end());
  }

 private:
  void RestoreAll() {
    std::vector<DragFullWindowsSuspension*> alive;
    {
      const std::lock_guard lock(mutex_);
      alive.swap(alive_);
    }
    for (auto it = alive.rbegin(); it != alive.rend(); ++it) (*it)->Restore();
  }

  std::mutex mutex_;
  std::vector<DragFullWindowsSuspension*> alive_;
};

}  // namespace

DragFullWindowsSuspension::DragFullWindowsSuspension(DesktopSettings& settings)
    : settings_(settings) {
  Result<bool> on = settings_.DragFullWindows();
  if (!on.ok()) {
    suspendStatus_ = on.status();
    return;
  }
  if (!*on) return;
  suspendStatus_ = settings_.SetDragFullWindows(false, kUpdateProfileAndBroadcast);
  suspended_ = suspendStatus_.ok();
  if (suspended_) ExitRestorer::Instance().Add(this);
}

DragFullWindowsSuspension::~DragFullWindowsSuspension() {
  Restore();
}

Status DragFullWindowsSuspension::Restore() {
  if (!suspended_) return Status::Ok();
  suspended_ = false;
  ExitRestorer::Instance().Remove(this);
  return settings_.SetDragFullWindows(true, kUpdateProfileAndBroadcast);
}

}  // namespace paltrix::desktop
