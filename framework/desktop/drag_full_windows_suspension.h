#pragma once

#include "framework/desktop/desktop_settings.h"

namespace paltrix::desktop {

// Switches drag-full-windows off for the lifetime of the object and switches it
// on again at the end, so the setting is the same after the program as before.
// A setting that was off (or could not be read) is left untouched at both ends.
//
// The restore also happens when the process ends through std::exit while the
// object is alive (a fatal error ends the program that way), so the setting is
// never left switched off by the program.
//
// REQUIRES: settings outlives this object.
class DragFullWindowsSuspension {
 public:
  explicit DragFullWindowsSuspension(DesktopSettings& settings);
  DragFullWindowsSuspension(const DragFullWindowsSuspension&) = delete;
  DragFullWindowsSuspension& operator=(const DragFullWindowsSuspension&) = delete;
  ~DragFullWindowsSuspension();

  // Ok, or why the setting could not be read or switched off; the program runs
  // on either way.
  const Status& suspendStatus() const { return suspendStatus_; }

  // True while the setting is switched off by this object.
  bool suspended() const { return suspended_; }

  // Switches the setting on again if this object switched it off. Returns Ok,
  // or why it could not be stored. Later calls do nothing and return Ok.
  Status Restore();

 private:
  DesktopSettings& settings_;
  Status suspendStatus_;
  bool suspended_ = false;
};

}  // namespace paltrix::desktop
