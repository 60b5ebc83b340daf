#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/gs1/sscc.h"
#include "app/gs1/sscc_allocator.h"
#include "app/labels/label_output.h"

// Stand-ins for what the label procedures use around them: SSCCs of
// consecutive serials, and recorders of streams, clipboard copies and pauses.
namespace paltrix::labels::testing {

// Hands out the SSCCs of consecutive serials; fails from a given call on.
class FakeSsccAllocator final : public gs1::SsccAllocator {
 public:
  explicit FakeSsccAllocator(std::int32_t lastSerial) : serial_(lastSerial) {}
  void FailFromCall(int call) { failFrom_ = call; }
  int calls() const { return calls_; }

  Result<std::string> Allocate() override {
    if (++calls_ >= failFrom_) return Status(ErrorCode::kRecordHeld, "Firma is held");
    return gs1::SsccFromParts(5790001, ++serial_);
  }

 private:
  std::int32_t serial_;
  int calls_ = 0;
  int failFrom_ = 1 << 30;
};

struct SentStream {
  std::string printer;
  std::string stream;
};

class RecordingOutput final : public LabelOutput {
 public:
  void FailCall(int call) { failing_.push_back(call); }
  const std::vector<SentStream>& sent() const { return sent_; }

  std::uint8_t PrintRaw(std::string_view printerName, std::string_view stream) override {
    sent_.push_back({std::string(printerName), std::string(stream)});
    const int call = static_cast<int>(sent_.size());
    for (int failing : failing_) {
      if (failing == call) return kPrintFailed;
    }
    return kPrintSent;
  }

 private:
  std::vector<int> failing_;
  std::vector<SentStream> sent_;
};

class RecordingClipboard final : public ClipboardSink {
 public:
  std::vector<std::string> copies;
  void CopyText(std::string_view stream) override { copies.emplace_back(stream); }
};

class RecordingSleeper final : public Sleeper {
 public:
  std::vector<std::chrono::seconds> pauses;
  void Sleep(std::chrono::seconds duration) override { pauses.push_back(duration); }
};

}  // namespace paltrix::labels::testing
