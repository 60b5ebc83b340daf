#pragma once

#include "framework/result.h"
#include "framework/status.h"

// The desktop's drag-full-windows setting: whether a window being moved is drawn
// with its contents or as an outline. The program switches it off while it runs
// and restores it afterwards.
namespace paltrix::desktop {

// How a change is applied, as the desktop's own settings call takes it.
enum ChangeFlag : unsigned {
  kUpdateUserProfile = 1,  // keep the value beyond this session
  kBroadcastChange = 2,    // tell running programs about it
};
inline constexpr unsigned kUpdateProfileAndBroadcast = kUpdateUserProfile | kBroadcastChange;

class DesktopSettings {
 public:
  virtual ~DesktopSettings() = default;

  // The current value; a failure when it cannot be read.
  virtual Result<bool> DragFullWindows() = 0;

  // Sets the value. Returns Ok, or why the value could not be stored.
  // REQUIRES: flags is a combination of ChangeFlag values.
  virtual Status SetDragFullWindows(bool on, unsigned flags) = 0;
};

}  // namespace paltrix::desktop
