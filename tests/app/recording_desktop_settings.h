#pragma once

#include <string>
#include <vector>

#include "framework/desktop/desktop_settings.h"

namespace paltrix::testing {

// Desktop settings in memory that record every call as "get", "set 0 flags 3"...
// Failures can be injected for reads and writes.
class RecordingDesktopSettings final : public desktop::DesktopSettings {
 public:
  explicit RecordingDesktopSettings(bool dragFullWindows) : value_(dragFullWindows) {}

  Result<bool> DragFullWindows() override {
    Record("get");
    if (!readFailure_.ok()) return readFailure_;
    return value_;
  }

  Status SetDragFullWindows(bool on, unsigned flags) override {
    Record("set " + std::to_string(on ? 1 : 0) + " flags " + std::to_string(flags));
    if (!writeFailure_.ok()) return writeFailure_;
    value_ = on;
    return Status::Ok();
  }

  // Also appends every call to `events`, a log shared with other fakes.
  void AlsoRecordIn(std::vector<std::string>& events) { events_ = &events; }
  void FailReads(Status failure) { readFailure_ = std::move(failure); }
  void FailWrites(Status failure) { writeFailure_ = std::move(failure); }

  bool value() const { return value_; }
  const std::vector<std::string>& calls() const { return calls_; }

 private:
  void Record(const std::string& call) {
    calls_.push_back(call);
    if (events_ != nullptr) events_->push_back(call);
  }

  bool value_;
  std::vector<std::string>* events_ = nullptr;
  Status readFailure_;
  Status writeFailure_;
  std::vector<std::string> calls_;
};

}  // namespace paltrix::testing
