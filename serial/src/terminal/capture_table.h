#pragma once

// The capture records of all ports (SetCaptureBuf, SetCaptureFile, CapPutc, CapPuts and the
// terminal's Capture command). Used on the caller's thread only.

#include <cstdint>
#include <string>

#include "terminal/capture_record.h"
#include "terminal/screen_model.h"

namespace tavix::terminal {

// Starts capture for a port (a record that exists is kept); false when out of memory or the
// index is outside 0..19.
bool StartCapture(int port);
// Writes what is collected and ends capture.
void EndCapture(int port);
bool IsCapturing(int port);
void SetCaptureFileName(int port, const char* name);
void CaptureByte(int port, std::uint8_t byte);
// The record, or nullptr when the port does not capture.
CaptureRecord* CaptureOf(int port);

// Where capture failures are told; by default a "Capture" message box.
void SetCaptureReporter(CaptureReporter reporter);

// A screen's capture sink that stores into the port's record while one exists.
class PortCapture final : public CaptureSink {
 public:
  explicit PortCapture(int port) : port_(port) {}
  void Store(std::uint8_t byte) override { CaptureByte(port_, byte); }

 private:
  int port_;
};

}  // namespace tavix::terminal
