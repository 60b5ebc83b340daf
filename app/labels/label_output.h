#pragma once

#include <chrono>
#include <cstdint>
#include <string_view>

// What the label procedures need from the world around them. The program
// adapts its raw printer, clipboard and event loop to these; tests record.
namespace paltrix::labels {

// Result codes of PrintRaw.
inline constexpr std::uint8_t kPrintSent = 0;
inline constexpr std::uint8_t kPrintFailed = 3;

// Sends one finished stream, unchanged, to a label printer.
class LabelOutput {
 public:
  virtual ~LabelOutput() = default;
  // Returns kPrintSent when the whole stream was handed to the printer's
  // queue, kPrintFailed otherwise (the implementation logs why).
  virtual std::uint8_t PrintRaw(std::string_view printerName, std::string_view stream) = 0;
};

// Receives a copy of each stream of the members that copy to the clipboard.
// The stream holds the printer's code page bytes; the receiver converts.
class ClipboardSink {
 public:
  virtual ~ClipboardSink() = default;
  virtual void CopyText(std::string_view stream) = 0;
};

// The pause between pallets of the 6-inch labels.
class Sleeper {
 public:
  virtual ~Sleeper() = default;
  virtual void Sleep(std::chrono::seconds duration) = 0;
};

// Blocks the calling thread.
class ThreadSleeper final : public Sleeper {
 public:
  void Sleep(std::chrono::seconds duration) override;
};

}  // namespace paltrix::labels
