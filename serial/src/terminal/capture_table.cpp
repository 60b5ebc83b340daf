#include "terminal/capture_table.h"

#include <array>
#include <memory>
#include <new>
#include <utility>

#include "tavix32.h"

namespace tavix::terminal {
namespace {

std::array<std::unique_ptr<CaptureRecord>, TAVIX_PORT_COUNT> captures;

void ShowCaptureMessage(const std::string& message) {
  DisplayMessage(nullptr, "Capture", TAVIX_MB_OK | TAVIX_MB_ICONEXCLAMATION, "%s", message.c_str());
}

CaptureReporter& Reporter() {
  static CaptureReporter reporter = ShowCaptureMessage;
  return reporter;
}

bool ValidPort(int port) {
  return port >= 0 && port < TAVIX_PORT_COUNT;
}

}  // namespace

bool StartCapture(int port) {
  if (!ValidPort(port)) return false;
  if (captures[port] != nullptr) return true;
  captures[port].reset(new (std::nothrow) CaptureRecord(
      port, [](const std::string& message) { Reporter()(message); }));
  return captures[port] != nullptr;
}

void EndCapture(int port) {
  if (!ValidPort(port) || captures[port] == nullptr) return;
  const std::unique_ptr<CaptureRecord> record = std::move(captures[port]);
  if (!record->Flush()) {
    Reporter()(std::to_string(record->Count()) + " captured bytes could not be written to \"" +
               record->FileName() + "\" and are lost.");
  }
}

bool IsCapturing(int port) {
  return CaptureOf(port) != nullptr;
}

CaptureRecord* CaptureOf(int port) {
  return ValidPort(port) ? captures[port].get() : nullptr;
}

void SetCaptureFileName(int port, const char* name) {
  if (CaptureRecord* record = CaptureOf(port); record != nullptr && name != nullptr) {
    record->SetFileName(name);
  }
}

void CaptureByte(int port, std::uint8_t byte) {
  if (CaptureRecord* record = CaptureOf(port); record != nullptr) record->Store(byte);
}

void SetCaptureReporter(CaptureReporter reporter) {
  Reporter() = reporter ? std::move(reporter) : CaptureReporter(ShowCaptureMessage);
}

}  // namespace tavix::terminal

extern "C" int32_t SetCaptureBuf(int32_t port, int32_t on) {
  if (on == 0) {
    tavix::terminal::EndCapture(port);
    return 0;
  }
  return tavix::terminal::StartCapture(port) ? 0 : 1;
}

extern "C" void SetCaptureFile(int32_t port, const char* fileName) {
  tavix::terminal::SetCaptureFileName(port, fileName);
}

extern "C" void CapPutc(int32_t port, int32_t byte) {
  tavix::terminal::CaptureByte(port, static_cast<std::uint8_t>(byte));
}

extern "C" void CapPuts(int32_t port, const char* text) {
  if (text == nullptr) return;
  for (; *text != '\0'; ++text)
    tavix::terminal::CaptureByte(port, static_cast<std::uint8_t>(*text));
}
